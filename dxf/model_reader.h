// The second step of reading a DXF file: its groups, in one pass, into the reader's model.
// Each entity is taken whole when the group that begins the next one arrives: this side keeps
// track of sections, blocks and paper space, decodes the entities the host can hold
// (dxf/entity_decoder.h) and counts every other entity by type.
#ifndef DXF_MODEL_READER_H
#define DXF_MODEL_READER_H

#include <functional>
#include <string>
#include <string_view>

#include "dxf/curve_flattening.h"
#include "dxf/dxf_model.h"
#include "dxf/group_reader.h"

namespace twinfind::dxf {

// The entity types whose data we read; every other type is counted as not held.
bool IsReadEntityType(std::string_view type);

// What the pass over the file found besides the model.
struct ReadOutcome {
  bool ok = false;
  std::string error;         // why the file could not be read (ok false)
  bool endMarker = false;    // the file ends with 0 EOF
  bool sawEntities = false;  // the file has an ENTITIES section
  std::string lastSection;   // the name of the last section that was closed
  int lines = 0;             // the lines read
};

// Reads the text (which must have passed CheckDxfText and must outlive the model, whose
// records point into it) into the model. `keepGoing`, asked now and then, stops the reading
// when it says false (memory running short); the outcome then is not ok, without an error.
// Splines and ellipses become lines within `chordTolerance` of them, `mostCurveLines` of them
// in the whole drawing at most.
ReadOutcome ReadModel(std::string_view text, Model& model,
                      const std::function<bool()>& keepGoing = nullptr,
                      double chordTolerance = kDefaultChordTolerance,
                      size_t mostCurveLines = kMostDrawingCurveLines);

}  // namespace twinfind::dxf

#endif  // DXF_MODEL_READER_H
