// One part of a drawing as a DXF file of its own: the input file with its ENTITIES section
// holding only the part's entities, moved along the drawing plane, their own text (types,
// layers, colours, line types, curves, attributes, extended data) kept, and its paper-space
// layouts empty. Everything else of the file stays: its version, units and other header
// variables, its tables and block definitions, so that the part reads as the input did. What the
// left-out entities owned leaves with them (owned_objects.h); $EXTMIN and $EXTMAX become the part's
// extent.
#ifndef DXF_PART_FILE_H
#define DXF_PART_FILE_H

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dxf/dxf_source.h"
#include "dxf/entity_pieces.h"
#include "dxf/file_map.h"
#include "dxf/group_reader.h"
#include "dxf/owned_objects.h"
#include "vexlib/vexlib.h"

namespace twinfind::dxf {

class PartFileWriter {
 public:
  // Reads the source's groups once, for any number of parts: a part's file costs its own
  // entities and what lies outside the ENTITIES section, not the whole file. Throws
  // (std::exception) when the groups cannot be read.
  explicit PartFileWriter(const DxfSource& source);

  // The text of the file holding the pieces moved by (dx, dy); `extent` is the part's extent
  // after the move.
  std::string Text(const std::vector<EntityPiece>& pieces, double dx, double dy,
                   const VexBox& extent) const;

 private:
  const DxfSource& source_;
  GroupList file_;
  FileMap map_;
  // Per source entity, its groups [first, second) and the entries with handles among them: read
  // once, for every part that leaves the entity out.
  std::vector<std::pair<size_t, size_t>> groups_;
  std::vector<std::vector<size_t>> entries_;
  std::vector<size_t> inFileOrder_;  // the source entities by their place in the file
  // What leaves with the left-out entities, its index of the file read once and reset per part.
  mutable std::optional<OwnedObjects> owned_;
};

}  // namespace twinfind::dxf

#endif  // DXF_PART_FILE_H
