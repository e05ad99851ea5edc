// One drawing as the tool, the view and the Python module hold it: read from its DXF file (or
// started empty) under the memory limit and the chord tolerance, the files its outputs may be
// claimed against it, searched, surveyed, changed, picked from by window, handle or point, and
// saved back into its file with only its changes (with twins as block references on request, and
// beside the file when the file cannot be written), or split into part files. The tool, the view
// and the module hold one each and have no drawing handling of their own.
//
// The host is one process-wide object and the engine keeps module-level tables. A session that
// stays in the host (the tool's and the view's: the command works on its drawing there) keeps
// its drawing there for good. The others (the module's) put their drawing into the host for the
// duration of a call: under one process-wide mutex the drawing and the id lists are swapped into
// the host, the call runs, and they are swapped back; calls of any number of threads on any
// number of drawings run one at a time, each on its own drawing.
#ifndef SESSION_DRAWING_SESSION_H
#define SESSION_DRAWING_SESSION_H

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
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
#include "parts/part_family.h"
#include "parts/part_split.h"
#include "parts/sheet_parts.h"
#include "settings/search_options.h"
#include "survey/survey.h"

namespace twinfind::session {

// An argument that makes no sense (a window of no finite numbers, an unknown handle, a twin of
// another drawing).
class BadArgument : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// What the tool refuses, with the tool's message (an unreadable drawing, a part the part step
// refuses, an output that is the input).
class Refused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A search or survey its caller's goOn stopped; the drawing is as it was before the call.
class Stopped : public std::runtime_error {
 public:
  Stopped() : std::runtime_error("stopped") {}
};

// How a drawing is read.
struct OpenOptions {
  // The bytes the import may bring the process to; nothing: TWINFIND_MEMORY_LIMIT_MB, else the
  // import's default.
  std::optional<uint64_t> memoryLimit;
  double chordTolerance = dxf::kDefaultChordTolerance;  // splines and ellipses as lines
};

// One twin, as the search found it.
struct Twin {
  uint64_t drawing = 0;              // the session it belongs to
  std::vector<int> segments;         // in the order of the part's segments they paired with
  std::vector<std::string> handles;  // of the DXF entities they came from, in file order
  VexBox box{};                      // the extent of its figures
  PlaneMap motion;                   // takes the part onto it, as the search laid it
  double angleDegrees = 0;           // the motion's turn, 0 <= a < 360
  bool mirrored = false;             // a mirror image of the part
  bool isPart = false;               // the part itself
};

// Whether a twin of these segments is the part itself: it holds every segment of the part (its
// lines drawn twice taken once, `sortedPart`), with those drawn twice over them.
bool IsThePart(std::vector<int> twinSegments, const std::vector<int>& sortedPart);

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

// A family as a caller names it: its twins (the part, when among them, is taken first).
using TwinGroup = std::vector<const Twin*>;

// What a save wrote.
struct SaveResult {
  dxf::SaveCounts counts;
  std::vector<std::string> warnings;      // the save's own ("warning: ..."), as the tool prints
  std::vector<std::string> notes;         // saved as blocks: the families' twins left as they are
  std::vector<dxf::BlockOutcome> blocks;  // saved as blocks: what each family became
  std::string line;                       // "wrote OUT.dxf: ..."
  // When the file itself could not be written: the file written beside it instead, and why.
  std::optional<std::string> rescue;
  std::string failure;
};

class DrawingSession {
 public:
  // The session of the drawing at `path` (nothing: a drawing started empty), not read yet: the
  // outputs can be claimed against it already.
  explicit DrawingSession(std::optional<std::string> path);
  DrawingSession(const DrawingSession&) = delete;
  DrawingSession& operator=(const DrawingSession&) = delete;
  ~DrawingSession();

  // Reads the drawing, as `twinfind run` reads it, within the memory limit; `warnings` gets the
  // import's warning lines ("warning: ..."). Throws Refused with the reason. Drawings of several
  // sessions are read in parallel.
  void Open(const OpenOptions& options, std::vector<std::string>& warnings);

  // The drawing goes into the host for the rest of the session (the command works on it there);
  // a session never opened takes the drawing the host holds. The undo history of the host may
  // keep a quarter of the memory limit. From then on calls take no lock and leave the host's
  // messages alone. Once in the host, it stays: a second call does nothing.
  void StayInHost();

  // Claims a file for the output `owner` ("--out", "snapshot", "save"): refused (false, with
  // the reason) when it is the drawing's own file or another output's.
  bool Claim(const std::string& path, const std::string& owner, std::string& error);
  // Claims it and checks that it could be written now (common/atomic_file.h CheckWriteTarget).
  bool CheckOutput(const std::string& path, const std::string& owner, std::string& error);

  // The twins of the part in the area, found as the general method finds them: one search,
  // overlapping twins thinned. `notes` gets what the search told the user on the way (twins
  // left out beyond the 499 one search keeps). `goOn`, asked now and then, may stop it: Stopped
  // is thrown.
  std::vector<Twin> Find(const PartSpec& part, const Area& area, const SearchOptions& options,
                         std::vector<std::string>& notes, const std::function<bool()>& goOn = {});

  // Every family of twins in the area, as the tool's survey lists them (`all`: strokes too);
  // `progress` may stop it (the result then says cancelled). With `families`, its families as
  // twins of this drawing go there too, and are kept for FoundGroups.
  survey::SurveyResult Survey(const Area& area, const SearchOptions& options, bool all,
                              const survey::SurveyProgress& progress,
                              std::vector<Family>* families = nullptr);

  // Every part of the sheet in the area once (parts/sheet_parts.h), with the survey the caller
  // made of the same area and options.
  parts::SheetParts SheetParts(const Area& area, const SearchOptions& options,
                               const survey::SurveyResult& survey);
  // The same with the survey made here, as families of twins (those of one part too; they are
  // not kept for FoundGroups, which saving makes blocks of); empty when `progress` stopped the
  // survey.
  std::vector<Family> Parts(const Area& area, const SearchOptions& options,
                            const survey::SurveyProgress& progress, bool* stopped = nullptr);

  // Deletes the segments of the twins, as the general method's delete action does; the number
  // of segments deleted. Nothing is deleted when any twin is of another drawing or already gone.
  int Delete(const std::vector<const Twin*>& twins);

  // Gives every figure of the twins the colour and line type, named as the settings name them
  // (MAINCOLOR01 to MAINCOLOR16, LINETYPE01 to LINETYPE10), as the general method's recolour
  // action does; the number of segments recoloured.
  int Recolour(const std::vector<const Twin*>& twins, const std::string& colour,
               const std::string& lineType);

  // Saves the drawing into `path`, claimed for `owner`: a drawing read from a file back into
  // that file's text with only its changes, each layer shown or hidden as the file had it;
  // one started empty afresh. With `blocks`, the twins of each family are saved as references
  // of one block. With `rescue`, a drawing that cannot be written to `path` is saved beside it
  // as PATH.rescue-N, N the first number whose name is free, and the result says so. Throws
  // Refused with the reason when nothing could be written.
  SaveResult Save(const std::string& path, const std::string& owner,
                  const std::vector<parts::PartFamily>* blocks, bool rescue = false);
  // The same with the families of twins a caller names (numbered from 1, the part of each
  // first); twins deleted since are left out.
  SaveResult Save(const std::string& path, const std::string& owner,
                  const std::vector<TwinGroup>& blocks);
  // Saves the drawing, unasked, beside `beside` (its file, say) at the first free
  // BESIDE.rescue-N: the changes of a run that ended before it could save them. Throws Refused
  // when no such name takes it.
  SaveResult Rescue(const std::string& beside, const std::string& owner);

  // Writes one DXF file per family and the lists parts.csv and parts.json into `folder` (a new
  // or empty one), as `twinfind survey --split` does. Throws Refused with the reason.
  // `options` says how (its drawing is the session's).
  parts::SplitResult Split(const std::vector<parts::PartFamily>& families,
                           const std::string& folder, const parts::SplitOptions& options);
  // The same with the families of twins a caller names, which must all still be in the drawing.
  parts::SplitResult Split(const std::vector<TwinGroup>& families, const std::string& folder,
                           const parts::SplitOptions& options);

  // Every family the survey returned and every search's twins (two or more), in the order they
  // were returned: what saving with blocks makes blocks of when the caller names none.
  std::vector<TwinGroup> FoundGroups() const;

  // The DXF handles of the entities the segments came from, in file order; none for a drawing
  // started empty.
  std::vector<std::string> Handles(const std::vector<int>& segments) const;

  const std::optional<std::string>& path() const { return path_; }
  uint64_t id() const { return id_; }
  size_t SegmentCount();
  // The layers the file hid, which saving keeps hidden whatever was shown since.
  const std::set<int>& hiddenAtLoad() const { return hiddenAtLoad_; }
  const dxf::DxfSource* source() const { return source_.get(); }

 private:
  // The segments the twins name, each once, in drawing order, after checking that every twin
  // is of this drawing and every segment is still in it (the drawing is in the host).
  std::vector<int> SegmentsOfTwins(const std::vector<const Twin*>& twins) const;
  std::vector<int> PartSegments(const PartSpec& part, bool hiddenLayers) const;
  Twin MakeTwin(const std::vector<int>& segments, const PlaneMap& motion, bool mirrored,
                const std::vector<int>& sortedPart) const;
  // The families of twins given by the caller, numbered from 1, the part of each first, checked
  // to be of this drawing (`present`: every segment still in it). In the host.
  std::vector<parts::PartFamily> PartFamilies(const std::vector<TwinGroup>& groups,
                                              bool present) const;
  // Save and Split with the drawing in the host.
  SaveResult SaveInHost(const std::string& path, const std::string& owner,
                        const std::vector<parts::PartFamily>* blocks, bool rescue);
  // Saves at the first free PATH.rescue-N; `failure` is why (told in the result and in the
  // refusal when no name takes it).
  SaveResult SaveBeside(const std::string& path, const std::string& owner,
                        const std::vector<parts::PartFamily>* blocks, const std::string& failure);
  parts::SplitResult SplitInHost(const std::vector<parts::PartFamily>& families,
                                 const std::string& folder, parts::SplitOptions options);
  // One write of the drawing into `path`; false and the reason when it could not be written.
  bool Write(const std::string& path, const std::vector<parts::PartFamily>* blocks,
             SaveResult& saved, std::string& error);

  std::optional<std::string> path_;
  uint64_t id_;
  vexhost::Drawing drawing_;
  vexhost::IdLists lists_;
  bool opened_ = false;  // Open was called
  bool inHost_ = false;  // the drawing stays in the host
  std::optional<uint64_t> memoryLimit_;
  std::shared_ptr<const dxf::DxfSource> source_;
  std::set<int> hiddenAtLoad_;
  OutputClaims claims_;  // the files written, never the drawing's own
  // Copies of the twins the calls returned, family by family, for FoundGroups.
  std::vector<std::vector<Twin>> found_;

  friend class InHost;
};

}  // namespace twinfind::session

#endif  // SESSION_DRAWING_SESSION_H
