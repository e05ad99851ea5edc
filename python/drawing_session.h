// The C++ side of the Python module: one drawing read from a DXF file, with its own host drawing
// and id lists, searched, surveyed, changed and saved through the same pieces the tool uses (the
// DXF import and save, the engine's FindTwins, the survey). Nothing here knows Python; the
// binding (twinfind_module.cpp) converts arguments and results and releases the interpreter
// lock around every call.
//
// The host is one process-wide object and the engine keeps module-level tables, so a call that
// searches puts this drawing into the host for its duration: under one process-wide mutex it
// swaps the drawing and the id lists into the host, runs, and swaps them back. Calls of any
// number of threads on any number of drawings therefore run one at a time, each on its own
// drawing.
#ifndef PYTHON_DRAWING_SESSION_H
#define PYTHON_DRAWING_SESSION_H

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "common/output_claims.h"
#include "common/plane_map.h"
#include "dxf/block_request.h"
#include "dxf/curve_flattening.h"
#include "dxf/dxf_save.h"
#include "dxf/dxf_source.h"
#include "host/drawing.h"
#include "host/id_lists.h"
#include "parts/part_split.h"
#include "settings/search_options.h"

namespace twinfind::python {

// An argument that makes no sense (a window of no finite numbers, an unknown handle, a twin of
// another drawing): a ValueError in Python.
class BadArgument : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// What the tool refuses, with the tool's message (an unreadable drawing, a part the part step
// refuses, an output that is the input): twinfind.Error in Python.
class Refused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A survey stopped because its caller asked it to (an interrupt in Python).
class Stopped : public std::runtime_error {
 public:
  Stopped() : std::runtime_error("the survey was stopped") {}
};

// One twin, as the report tells it.
struct Twin {
  uint64_t drawing = 0;              // the session it belongs to
  std::vector<int> segments;         // in the order of the part's segments they match
  std::vector<std::string> handles;  // of the DXF entities they came from, in file order
  VexBox box{};                      // the extent of its figures
  PlaneMap motion;                   // takes the part onto it, as the search laid it
  double angleDegrees = 0;           // the motion's turn, 0 <= a < 360
  bool mirrored = false;             // a mirror image of the part
  bool isPart = false;               // the part itself
};

struct Family {
  std::vector<Twin> members;  // the member searched from first
  int mirrored = 0;           // members that are mirror images of the first
  int figures = 0;            // figures of one member
  VexBox box{};               // the extent of the member searched from
  int found = 0;  // twins the search finds from that member, those in other families too
};

// What a call looks at: the segments lying wholly inside the range (nothing: the whole
// drawing), as the command's range step selects them, on the layers the file shows unless
// `hiddenLayers` (layers that are off or frozen taken in too).
struct Area {
  std::optional<VexBox> range;
  bool hiddenLayers = false;
};

// The part of a search: a window (segments lying wholly inside it, as the part step's window
// selects them, on the layers the area looks at) or DXF handles.
using PartSpec = std::variant<VexBox, std::vector<std::string>>;

struct SaveResult {
  dxf::SaveCounts counts;
  std::vector<std::string> warnings;      // without their "warning: "
  std::vector<dxf::BlockOutcome> blocks;  // saved as blocks: what each family became
};

// A family as a caller names it: its twins (the part, when among them, is taken first).
using TwinGroup = std::vector<const Twin*>;

class DrawingSession {
 public:
  // Reads the drawing as `twinfind run` reads it, within the memory limit (nothing: as run
  // takes it, TWINFIND_MEMORY_LIMIT_MB or the import's default). Throws Refused with the tool's
  // message; `warnings` gets the import's warnings, without their "warning: ". Splines and
  // ellipses become lines within `chordTolerance` of them, as with the tool's --chord-tolerance.
  DrawingSession(const std::string& path, std::optional<uint64_t> memoryLimit,
                 std::vector<std::string>& warnings,
                 double chordTolerance = dxf::kDefaultChordTolerance);
  DrawingSession(const DrawingSession&) = delete;
  DrawingSession& operator=(const DrawingSession&) = delete;

  // The twins of the part in the area, found as the general method finds them: one search,
  // overlapping twins thinned. `notes` gets what the search told the user on the way (twins
  // left out beyond the 499 one search keeps).
  std::vector<Twin> Find(const PartSpec& part, const Area& area, const SearchOptions& options,
                         std::vector<std::string>& notes);

  // Every family of twins in the area, as the tool's survey lists them (`all`: strokes too).
  // `goOn` is asked now and then whether to go on; when it says no, Stopped is thrown.
  std::vector<Family> Survey(const Area& area, const SearchOptions& options, bool all,
                             const std::function<bool()>& goOn);

  // Deletes the segments of the twins, as the general method's delete action does; the number
  // of segments deleted. Nothing is deleted when any twin is of another drawing or already gone.
  int Delete(const std::vector<const Twin*>& twins);

  // Gives every figure of the twins the colour and line type, named as the settings name them
  // (MAINCOLOR01 to MAINCOLOR16, LINETYPE01 to LINETYPE10), as the general method's recolour
  // action does; the number of segments recoloured.
  int Recolour(const std::vector<const Twin*>& twins, const std::string& colour,
               const std::string& lineType);

  // Saves the drawing into the file it was read from, with only its changes, as the tool's
  // --out does; never over the input drawing. With `blocks`, the twins of each family are saved
  // as references of one block, as --out --blocks does (the notes on twins left as they are
  // go to the warnings); with `found`, the families of FoundGroups. Throws Refused with the
  // reason.
  SaveResult Save(const std::string& path, const std::vector<TwinGroup>* blocks = nullptr,
                  bool found = false);

  // Writes one DXF file per family and the lists parts.csv and parts.json into `folder` (a new
  // or empty one), as `twinfind survey --split` does; the rows written. Families are numbered
  // from 1 in the order given. Throws Refused with the reason, BadArgument for a twin of
  // another drawing or one deleted before.
  std::vector<parts::SplitRow> Split(const std::vector<TwinGroup>& families,
                                     const std::string& folder, bool hands);

  // Every family the survey returned and every search's twins (two or more), in the order they
  // were returned: what save(blocks=True) makes blocks of. Read under the host's lock.
  std::vector<TwinGroup> FoundGroups() const;

  const std::string& path() const { return path_; }
  uint64_t id() const { return id_; }
  size_t SegmentCount();

 private:
  // The segments the twins name, each once, in drawing order, after checking that every twin
  // is of this drawing and every segment is still in it (the drawing is in the host).
  std::vector<int> SegmentsOfTwins(const std::vector<const Twin*>& twins) const;
  std::vector<int> PartSegments(const PartSpec& part, bool hiddenLayers) const;
  // A twin of the segments, its handles, box and whether it is the part (in drawing order).
  Twin MakeTwin(const std::vector<int>& segments, const PlaneMap& motion, bool mirrored,
                const std::vector<int>& sortedPart) const;
  // The families for the parts outputs, checked as SegmentsOfTwins checks (`present`: every
  // segment still in the drawing).
  std::vector<parts::PartFamily> PartFamilies(const std::vector<TwinGroup>& groups,
                                              bool present) const;

  std::string path_;
  uint64_t id_;
  vexhost::Drawing drawing_;
  vexhost::IdLists lists_;
  std::shared_ptr<const dxf::DxfSource> source_;
  OutputClaims claims_;  // the files saved, never the input
  // Copies of the twins the calls returned, family by family, for FoundGroups.
  std::vector<std::vector<Twin>> found_;

  friend class InHost;
};

// The version of the project the module was built from.
const char* Version();

// Has the settings live in memory from now on, for the life of the process: nothing the module
// runs reads or writes the user's settings file or registry. Its calls take their settings as
// arguments.
void KeepSettingsInMemory();

}  // namespace twinfind::python

#endif  // PYTHON_DRAWING_SESSION_H
