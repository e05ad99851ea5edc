// What a session writes: the drawing saved back into its file (as blocks on request, rescued
// beside it when the file cannot be written), the part files, and the general method's changes
// to the twins a caller names.
#include <algorithm>
#include <filesystem>

#include "common/utf.h"
#include "dxf/dxf_export.h"
#include "dxf/dxf_import.h"
#include "host/host.h"
#include "parts/block_plan.h"
#include "session/drawing_session.h"
#include "session/in_host.h"
#include "settings/settings.h"

namespace twinfind::session {
namespace {

// The highest number a rescue file takes before the save gives up looking for a free name.
constexpr int kMostRescueNames = 1000;

// Sets the layers' visibility to `hidden` for as long as it lives, and puts back what it was:
// a drawing is saved with each layer as the file had it, whatever was shown or hidden since (a
// setting of the view, not of the drawing).
class LayersShownAs {
 public:
  LayersShownAs(vexhost::Drawing& drawing, const std::set<int>& hidden)
      : drawing_(drawing), kept_(drawing.hiddenLayers()) {
    Show(hidden);
  }
  ~LayersShownAs() { Show(kept_); }
  LayersShownAs(const LayersShownAs&) = delete;
  LayersShownAs& operator=(const LayersShownAs&) = delete;

 private:
  void Show(const std::set<int>& hidden) {
    const std::set<int> now = drawing_.hiddenLayers();
    for (const int layer : now) {
      if (!hidden.count(layer)) drawing_.SetLayerVisible(layer, true);
    }
    for (const int layer : hidden) drawing_.SetLayerVisible(layer, false);
  }
  vexhost::Drawing& drawing_;
  std::set<int> kept_;
};

}  // namespace

int DrawingSession::Delete(const std::vector<const Twin*>& twins) {
  InHost in(*this);
  int deleted = 0;
  for (const int id : SegmentsOfTwins(twins)) deleted += VexSgmDeleteSegment(id) == 0 ? 1 : 0;
  return deleted;
}

int DrawingSession::Recolour(const std::vector<const Twin*>& twins, const std::string& colour,
                             const std::string& lineType) {
  const std::u16string colourName = ToUtf16(colour), lineTypeName = ToUtf16(lineType);
  if (!IsColorName(colourName)) {
    throw BadArgument("the colour " + colour + " is none of MAINCOLOR01 to MAINCOLOR16");
  }
  if (!IsLineTypeName(lineTypeName)) {
    throw BadArgument("the line type " + lineType + " is none of LINETYPE01 to LINETYPE10");
  }
  InHost in(*this);
  const std::vector<int> segments = SegmentsOfTwins(twins);
  for (const int segment : segments) {
    for (int e = VexSgmGetHeadElementId(segment); e != -1; e = VexElmGetNextElementId(e)) {
      VexLineTypeData data{};
      if (VexFigGetLineType(e, &data) == -1) continue;  // a text or balloon has none
      data.color = ColorIndexOfName(colourName);
      data.lineType = LineTypeIndexOfName(lineTypeName);
      VexFigSetLineType(e, &data);
    }
  }
  return static_cast<int>(segments.size());
}

bool DrawingSession::Write(const std::string& path, const std::vector<parts::PartFamily>* blocks,
                           SaveResult& saved, std::string& error) {
  vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  const LayersShownAs asRead(drawing, hiddenAtLoad_);
  saved.counts = {};
  saved.warnings.clear();
  if (!source_) {
    if (!dxf::ExportDxf(drawing, path, error, &saved.warnings, &saved.counts.added)) return false;
  } else if (blocks == nullptr) {
    if (!dxf::SaveDxf(drawing, *source_, path, saved.counts, error, &saved.warnings)) return false;
  } else {
    const parts::BlockPlanning planning = parts::PlanBlocks(drawing, *source_, *blocks);
    dxf::BlockSave blockSave;
    blockSave.plan = &planning.plan;
    if (!dxf::SaveDxf(drawing, *source_, path, saved.counts, error, &saved.warnings, &blockSave)) {
      return false;
    }
    saved.notes = planning.notes;
    saved.blocks = blockSave.outcomes;
  }
  saved.line = dxf::SaveLine(path, saved.counts);
  return true;
}

SaveResult DrawingSession::SaveInHost(const std::string& path, const std::string& owner,
                                      const std::vector<parts::PartFamily>* blocks, bool rescue) {
  std::string error;
  if (!Claim(path, owner, error)) throw Refused(error);
  SaveResult saved;
  if (Write(path, blocks, saved, error)) return saved;
  if (!rescue) throw Refused(error);
  SaveResult rescued = SaveBeside(path, owner, blocks, error);
  rescued.warnings = saved.warnings;  // the warnings were told with the failed write
  return rescued;
}

SaveResult DrawingSession::SaveBeside(const std::string& path, const std::string& owner,
                                      const std::vector<parts::PartFamily>* blocks,
                                      const std::string& failure) {
  // The drawing is kept beside the file: the first PATH.rescue-N at which nothing stands (not
  // even a link) and which is no other output.
  namespace fs = std::filesystem;
  std::string rescueError;
  // Beside a DWG drawing, the DXF name: DWG is never written.
  const std::string base =
      dxf::IsDwgName(path) ? fs::path(path).replace_extension(".dxf").string() : path;
  for (int n = 1; n <= kMostRescueNames; ++n) {
    const std::string name = base + ".rescue-" + std::to_string(n);
    std::error_code ec;  // set for a name not found too
    if (fs::symlink_status(name, ec).type() != fs::file_type::not_found) continue;
    std::string refused;
    if (!claims_.Claim(name, "the rescue of " + owner, refused)) continue;
    SaveResult rescued;
    if (Write(name, blocks, rescued, rescueError)) {
      rescued.rescue = name;
      rescued.failure = failure;
      return rescued;
    }
    // Something came to stand at the name in the meantime: the next number. Else the folder
    // takes no file at all now, and trying more names would fail the same way.
    if (fs::symlink_status(name, ec).type() == fs::file_type::not_found) break;
  }
  if (rescueError.empty()) {
    rescueError = "no free name " + base + ".rescue-N up to " + std::to_string(kMostRescueNames);
  }
  throw Refused((failure.empty() ? "" : failure + "; ") +
                "the drawing could not be saved beside it either: " + rescueError);
}

SaveResult DrawingSession::Save(const std::string& path, const std::string& owner,
                                const std::vector<parts::PartFamily>* blocks, bool rescue) {
  InHost in(*this);
  return SaveInHost(path, owner, blocks, rescue);
}

SaveResult DrawingSession::Rescue(const std::string& beside, const std::string& owner) {
  InHost in(*this);
  return SaveBeside(beside, owner, nullptr, "");
}

SaveResult DrawingSession::Save(const std::string& path, const std::string& owner,
                                const std::vector<TwinGroup>& blocks) {
  InHost in(*this);
  // Twins deleted since are left out by the planning, as the tool leaves out deleted ones.
  const std::vector<parts::PartFamily> families = PartFamilies(blocks, false);
  return SaveInHost(path, owner, &families, false);
}

parts::SplitResult DrawingSession::SplitInHost(const std::vector<parts::PartFamily>& families,
                                               const std::string& folder,
                                               parts::SplitOptions options) {
  std::string error;
  if (!source_) throw Refused("a drawing started empty has no file to split");
  if (!parts::CheckSplitFolder(folder, error)) throw Refused(error);
  options.drawing = *path_;
  parts::SplitResult result =
      parts::SplitParts(vexhost::TheHost().drawing, *source_, families, folder, options);
  if (!result.ok) throw Refused(result.error);
  return result;
}

parts::SplitResult DrawingSession::Split(const std::vector<parts::PartFamily>& families,
                                         const std::string& folder,
                                         const parts::SplitOptions& options) {
  InHost in(*this);
  return SplitInHost(families, folder, options);
}

parts::SplitResult DrawingSession::Split(const std::vector<TwinGroup>& families,
                                         const std::string& folder,
                                         const parts::SplitOptions& options) {
  InHost in(*this);
  return SplitInHost(PartFamilies(families, true), folder, options);
}

}  // namespace twinfind::session
