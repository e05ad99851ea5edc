#include "python/drawing_session.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <utility>

#include "common/utf.h"
#include "dxf/dxf_import.h"
#include "dxf/memory_limit.h"
#include "engine/twin_finder.h"
#include "host/host.h"
#include "parts/block_plan.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "settings/store_memory.h"
#include "survey/survey.h"
#include "vexlib/vexlib.h"

namespace twinfind::python {
namespace {

// Held by every call that reads or changes a drawing: the host and the engine's tables serve one
// call at a time, and a drawing swapped into the host is not where its session keeps it.
std::mutex& HostMutex() {
  static std::mutex mutex;
  return mutex;
}

std::atomic<uint64_t> nextSessionId{1};

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", v == 0 ? 0.0 : v);
  return text;
}

std::string WindowText(const VexBox& box) {
  return Number(box.minX) + " " + Number(box.minY) + " " + Number(box.maxX) + " " +
         Number(box.maxY);
}

std::string WithoutWarningWord(const std::string& line) {
  constexpr std::string_view kWord = "warning: ";
  return line.starts_with(kWord) ? line.substr(kWord.size()) : line;
}

}  // namespace

// The session's drawing and id lists in the host for one call, under the host mutex; whatever
// the host held is kept in the session meanwhile and put back at the end, on every path. The
// host's messages of the call are the call's own.
class InHost {
 public:
  explicit InHost(DrawingSession& session) : lock_(HostMutex()), session_(session) {
    Swap();
    vexhost::TheHost().transcript.Clear();
  }
  ~InHost() {
    vexhost::TheHost().transcript.Clear();
    Swap();
  }
  InHost(const InHost&) = delete;
  InHost& operator=(const InHost&) = delete;

  // The messages the host was given since the call began, in UTF-8.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const vexhost::Message& m : vexhost::TheHost().transcript.messages()) {
      texts.push_back(ToUtf8(m.text));
    }
    return texts;
  }

 private:
  void Swap() {
    vexhost::Host& host = vexhost::TheHost();
    std::swap(host.drawing, session_.drawing_);
    std::swap(host.lists, session_.lists_);
  }

  std::lock_guard<std::mutex> lock_;
  DrawingSession& session_;
};

const char* Version() { return TWINFIND_VERSION; }

void KeepSettingsInMemory() {
  static MemorySettingsStore* const store =
      new MemorySettingsStore;  // never freed: in use to the end
  InstallSettingsStore(store);
}

DrawingSession::DrawingSession(const std::string& path, std::optional<uint64_t> memoryLimit,
                               std::vector<std::string>& warnings, double chordTolerance)
    : path_(path), id_(nextSessionId++) {
  std::string error;
  if (!memoryLimit && !dxf::MemoryLimitOfVariable(memoryLimit, error)) throw Refused(error);
  dxf::ImportOptions options;
  options.memoryLimit = memoryLimit;
  options.chordTolerance = chordTolerance;
  // The drawing is this session's alone until the constructor returns: no lock is needed, and
  // drawings are read in parallel.
  const dxf::ImportResult imported = dxf::OpenDrawingFile(path, drawing_, options);
  if (!imported.ok) throw Refused(imported.error);
  for (const std::string& line : imported.WarningLines()) {
    warnings.push_back(WithoutWarningWord(line));
  }
  source_ = imported.source;
  claims_.SetInput(path);
}

size_t DrawingSession::SegmentCount() {
  const std::lock_guard<std::mutex> lock(HostMutex());
  return drawing_.SegmentCount();
}

std::vector<int> DrawingSession::PartSegments(const PartSpec& part, bool hiddenLayers) const {
  const vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  if (const VexBox* window = std::get_if<VexBox>(&part)) {
    return survey::RangeSegments(drawing, window, hiddenLayers);
  }
  const auto& handles = std::get<std::vector<std::string>>(part);
  const std::vector<std::vector<int>> given = source_->SegmentsOfHandles(handles);
  std::vector<int> segments;
  for (size_t h = 0; h < handles.size(); ++h) {
    if (given[h].empty()) {
      throw BadArgument("no entity with the handle " + handles[h] +
                        " gave the drawing a segment (it is not in the file's ENTITIES section, "
                        "or is of a kind the import leaves out)");
    }
    for (const int id : given[h]) {
      const vexhost::Segment* segment = drawing.FindSegment(id);
      if (!segment) {
        throw BadArgument("the entity with the handle " + handles[h] + " was deleted");
      }
      if (!hiddenLayers && !drawing.LayerVisible(segment->layer)) {
        throw BadArgument("the entity with the handle " + handles[h] +
                          " lies on a layer that is off or frozen in the file; hidden_layers=True "
                          "takes such layers in");
      }
      // A window over the segment alone selects it when the part step can take it.
      const std::optional<VexBox> bounds = drawing.SegmentBounds(id);
      const std::vector<int> selected =
          bounds ? survey::RangeSegments(drawing, &*bounds, true) : std::vector<int>{};
      if (!std::binary_search(selected.begin(), selected.end(), id)) {
        throw BadArgument("the entity with the handle " + handles[h] +
                          " holds no figure a part may hold (lines, circles, arcs, points)");
      }
      segments.push_back(id);
    }
  }
  std::sort(segments.begin(), segments.end());
  segments.erase(std::unique(segments.begin(), segments.end()), segments.end());
  return segments;
}

Twin DrawingSession::MakeTwin(const std::vector<int>& segments, const PlaneMap& motion,
                              bool mirrored, const std::vector<int>& sortedPart) const {
  const vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  Twin twin;
  twin.drawing = id_;
  twin.segments = segments;
  twin.motion = motion;
  twin.angleDegrees = TurnDegrees(motion);
  twin.mirrored = mirrored;
  twin.handles = source_->SourceHandles(segments);
  twin.box = survey::BoxOf(drawing, segments);
  std::vector<int> sorted = segments;
  std::sort(sorted.begin(), sorted.end());
  twin.isPart = sorted == sortedPart;
  return twin;
}

std::vector<Twin> DrawingSession::Find(const PartSpec& part, const Area& area,
                                       const SearchOptions& options,
                                       std::vector<std::string>& notes) {
  InHost in(*this);
  const vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  const std::vector<int> rangeIds =
      survey::RangeSegments(drawing, area.range ? &*area.range : nullptr, area.hiddenLayers);
  const std::vector<int> partIds = PartSegments(part, area.hiddenLayers);
  TwinRequest request;
  for (const int id : rangeIds) request.range.push_back({vexhost::Drawing::kDrawingId, id});
  for (const int id : partIds) request.part.push_back({vexhost::Drawing::kDrawingId, id});
  request.options = options;
  request.dropOverlaps = true;  // the general method's thinning
  const TwinResult result = FindTwins(request);
  switch (result.failure) {
    case TwinFailure::kNone:
      break;
    case TwinFailure::kRangeOverCapacity:
      throw Refused("the range holds " + std::to_string(rangeIds.size()) +
                    " segments, more than the " + std::to_string(options.rangeLimit) +
                    " one search takes; give a smaller range");
    case TwinFailure::kPartEmpty: {
      const VexBox* window = std::get_if<VexBox>(&part);
      throw Refused("the window " + (window ? WindowText(*window) : std::string("of the part")) +
                    " selects no part: no segment with a figure lies wholly inside it");
    }
    case TwinFailure::kPartOverCapacity:
      throw Refused("the part holds " + std::to_string(partIds.size()) +
                    " segments, more than the 1000 one search takes");
    case TwinFailure::kPartListRefused:
      throw Refused("the host refused a segment of the part");
    case TwinFailure::kPartNotInRange:
      throw Refused("a segment of the part lies outside the part's box");
    case TwinFailure::kNoAnchorLine:
      throw Refused("the part's first segment has no line, circle or arc to search from");
    case TwinFailure::kSearchFailed: {
      std::string told;
      for (const std::string& m : in.Messages()) told += (told.empty() ? "" : "; ") + m;
      throw Refused("the search stopped: " +
                    (told.empty() ? "a working table is full or a trial copy was refused" : told));
    }
  }
  notes = in.Messages();
  std::vector<int> sortedPart = partIds;
  std::sort(sortedPart.begin(), sortedPart.end());
  std::vector<Twin> twins;
  for (const MatchRecord& match : result.twins) {
    // In the order of the part's segments they paired with.
    std::vector<std::pair<int32_t, int>> paired;
    for (int i = 1; i <= match.segmentCount(); ++i) {
      paired.push_back({match.partOf[static_cast<size_t>(i - 1)], match.segment(i).segmentId});
    }
    std::stable_sort(paired.begin(), paired.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<int> segments;
    for (const auto& [partSegment, id] : paired) segments.push_back(id);
    twins.push_back(MakeTwin(segments, match.motion, match.mirrored != 0, sortedPart));
  }
  if (twins.size() >= 2) found_.push_back(twins);
  return twins;
}

std::vector<Family> DrawingSession::Survey(const Area& area, const SearchOptions& options, bool all,
                                           const std::function<bool()>& goOn) {
  InHost in(*this);
  const vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  const std::vector<int> rangeIds =
      survey::RangeSegments(drawing, area.range ? &*area.range : nullptr, area.hiddenLayers);
  const survey::SurveyResult result = survey::Survey(
      drawing, rangeIds, options, [&goOn](double) { return !goOn || goOn(); }, all);
  if (result.cancelled) throw Stopped();
  std::vector<Family> families;
  for (const survey::Family& found : result.families) {
    Family family;
    family.mirrored = found.mirrored;
    family.figures = found.figures;
    family.box = found.box;
    family.found = found.found;
    for (size_t m = 0; m < found.members.size(); ++m) {
      const survey::FoundTwin& member = found.members[m];
      Twin twin = MakeTwin(member.segments, member.motion, member.mirrored, {});
      twin.isPart = m == 0 && found.partFound;
      family.members.push_back(std::move(twin));
    }
    found_.push_back(family.members);
    families.push_back(std::move(family));
  }
  return families;
}

std::vector<TwinGroup> DrawingSession::FoundGroups() const {
  std::vector<TwinGroup> groups;
  for (const std::vector<Twin>& twins : found_) {
    TwinGroup group;
    for (const Twin& twin : twins) group.push_back(&twin);
    groups.push_back(std::move(group));
  }
  return groups;
}

std::vector<parts::PartFamily> DrawingSession::PartFamilies(const std::vector<TwinGroup>& groups,
                                                            bool present) const {
  const vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  std::vector<parts::PartFamily> families;
  for (size_t i = 0; i < groups.size(); ++i) {
    parts::PartFamily family;
    family.number = static_cast<int>(i) + 1;
    for (const Twin* twin : groups[i]) {
      if (twin->drawing != id_) throw BadArgument("a twin of another drawing was given");
      for (const int id : twin->segments) {
        if (present && !drawing.FindSegment(id)) {
          throw BadArgument("a twin was given whose segment " + std::to_string(id) +
                            " is no longer in the drawing (deleted before)");
        }
      }
      const parts::PartMember member{twin->segments, twin->motion};
      if (twin->isPart) {
        family.members.insert(family.members.begin(), member);
      } else {
        family.members.push_back(member);
      }
    }
    if (family.members.empty()) throw BadArgument("a family without twins was given");
    families.push_back(std::move(family));
  }
  return families;
}

std::vector<parts::SplitRow> DrawingSession::Split(const std::vector<TwinGroup>& families,
                                                   const std::string& folder, bool hands) {
  InHost in(*this);
  const std::vector<parts::PartFamily> parts = PartFamilies(families, true);
  std::string error;
  if (!parts::CheckSplitFolder(folder, error)) throw Refused(error);
  parts::SplitOptions options;
  options.hands = hands;
  options.drawing = path_;
  const parts::SplitResult result =
      parts::SplitParts(vexhost::TheHost().drawing, *source_, parts, folder, options);
  if (!result.ok) throw Refused(result.error);
  return result.rows;
}

std::vector<int> DrawingSession::SegmentsOfTwins(const std::vector<const Twin*>& twins) const {
  const vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  std::vector<int> segments;
  for (const Twin* twin : twins) {
    if (twin->drawing != id_) throw BadArgument("a twin of another drawing was given");
    for (const int id : twin->segments) {
      if (!drawing.FindSegment(id)) {
        throw BadArgument("a twin was given whose segment " + std::to_string(id) +
                          " is no longer in the drawing (deleted before)");
      }
      segments.push_back(id);
    }
  }
  std::sort(segments.begin(), segments.end());
  segments.erase(std::unique(segments.begin(), segments.end()), segments.end());
  return segments;
}

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

SaveResult DrawingSession::Save(const std::string& path, const std::vector<TwinGroup>* blocks,
                                bool found) {
  InHost in(*this);
  const std::vector<TwinGroup> foundGroups = found ? FoundGroups() : std::vector<TwinGroup>{};
  if (found) blocks = &foundGroups;
  // Twins deleted since are left out by the planning, as the tool leaves out deleted ones.
  const std::vector<parts::PartFamily> families =
      blocks ? PartFamilies(*blocks, false) : std::vector<parts::PartFamily>{};
  std::string error;
  if (!claims_.Claim(path, "save", error)) throw Refused(error);
  SaveResult saved;
  std::vector<std::string> warnings;
  const vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  parts::BlockPlanning planning;
  dxf::BlockSave blockSave;
  if (blocks) {
    planning = parts::PlanBlocks(drawing, *source_, families);
    blockSave.plan = &planning.plan;
    for (const std::string& note : planning.notes) warnings.push_back(note);
  }
  if (!dxf::SaveDxf(drawing, *source_, path, saved.counts, error, &warnings,
                    blocks ? &blockSave : nullptr)) {
    throw Refused(error);
  }
  saved.blocks = blockSave.outcomes;
  for (const std::string& line : warnings) saved.warnings.push_back(WithoutWarningWord(line));
  return saved;
}

}  // namespace twinfind::python
