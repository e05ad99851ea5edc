#include "session/drawing_session.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <utility>

#include "common/atomic_file.h"
#include "common/utf.h"
#include "dxf/dxf_import.h"
#include "dxf/memory_limit.h"
#include "engine/twin_finder.h"
#include "host/host.h"
#include "session/in_host.h"
#include "survey/candidate_parts.h"
#include "survey/survey.h"
#include "vexlib/vexlib.h"

namespace twinfind::session {

std::mutex& HostMutex() {
  static std::mutex mutex;
  return mutex;
}

namespace {

std::atomic<uint64_t> nextSessionId{1};

// The host's application lists as they are now, put back when this goes.
class KeptLists {
 public:
  explicit KeptLists(vexhost::IdLists& lists) : lists_(lists) {
    for (int i = 0; i < vexhost::IdLists::kListCount; ++i) kept_[i] = lists_.Contents(i);
  }
  ~KeptLists() {
    for (int i = 0; i < vexhost::IdLists::kListCount; ++i) lists_.Replace(i, std::move(kept_[i]));
  }
  KeptLists(const KeptLists&) = delete;
  KeptLists& operator=(const KeptLists&) = delete;

 private:
  vexhost::IdLists& lists_;
  std::array<std::vector<VexIdRecord>, vexhost::IdLists::kListCount> kept_;
};

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", v == 0 ? 0.0 : v);
  return text;
}

std::string WindowText(const VexBox& box) {
  return Number(box.minX) + " " + Number(box.minY) + " " + Number(box.maxX) + " " +
         Number(box.maxY);
}

}  // namespace

InHost::InHost(DrawingSession& session) : session_(session) {
  if (session_.inHost_) return;
  lock_ = std::unique_lock<std::mutex>(HostMutex());
  Swap();
  vexhost::TheHost().transcript.Clear();
}

InHost::~InHost() {
  if (!lock_.owns_lock()) return;
  vexhost::TheHost().transcript.Clear();
  Swap();
}

std::vector<std::string> InHost::Messages() const {
  std::vector<std::string> texts;
  for (const vexhost::Message& m : vexhost::TheHost().transcript.messages()) {
    texts.push_back(ToUtf8(m.text));
  }
  return texts;
}

void InHost::Swap() {
  vexhost::Host& host = vexhost::TheHost();
  std::swap(host.drawing, session_.drawing_);
  std::swap(host.lists, session_.lists_);
}

DrawingSession::DrawingSession(std::optional<std::string> path)
    : path_(std::move(path)), id_(nextSessionId++) {
  claims_.SetInput(path_);
}

DrawingSession::~DrawingSession() = default;

void DrawingSession::Open(const OpenOptions& options, std::vector<std::string>& warnings) {
  opened_ = true;
  memoryLimit_ = options.memoryLimit;
  std::string error;
  if (!memoryLimit_ && !dxf::MemoryLimitOfVariable(memoryLimit_, error)) throw Refused(error);
  if (!path_) return;  // a drawing started empty
  dxf::ImportOptions import;
  import.memoryLimit = memoryLimit_;
  import.chordTolerance = options.chordTolerance;
  // The drawing is this session's alone until it is in the host: no lock is needed, and
  // drawings are read in parallel.
  const dxf::ImportResult imported = dxf::OpenDrawingFile(*path_, drawing_, import);
  if (!imported.ok) throw Refused(imported.error);
  for (const std::string& line : imported.WarningLines()) warnings.push_back(line);
  source_ = imported.source;
  hiddenAtLoad_ = drawing_.hiddenLayers();
}

void DrawingSession::StayInHost() {
  const std::lock_guard<std::mutex> lock(HostMutex());
  vexhost::Host& host = vexhost::TheHost();
  if (inHost_) return;
  if (opened_) {
    std::swap(host.drawing, drawing_);
    std::swap(host.lists, lists_);
  }
  inHost_ = true;
  // The states kept for undo may take a quarter of the memory limit.
  host.undo.SetByteLimit(memoryLimit_.value_or(dxf::DefaultMemoryLimit()) / 4);
}

namespace {

// DWG is read, never written: an output so named is refused.
bool NotDwg(const std::string& path, const std::string& owner, std::string& error) {
  if (!dxf::IsDwgName(path)) return true;
  error = owner + " " + path + ": DWG is never written; give a .dxf name (the DXF keeps " +
          "everything the drawing holds, with the changes)";
  return false;
}

}  // namespace

bool DrawingSession::Claim(const std::string& path, const std::string& owner, std::string& error) {
  return NotDwg(path, owner, error) && claims_.Claim(path, owner, error);
}

bool DrawingSession::CheckOutput(const std::string& path, const std::string& owner,
                                 std::string& error) {
  return NotDwg(path, owner, error) && claims_.Claim(path, owner, error) &&
         CheckWriteTarget(path, error);
}

std::vector<std::string> DrawingSession::Handles(const std::vector<int>& segments) const {
  return source_ ? source_->SourceHandles(segments) : std::vector<std::string>{};
}

size_t DrawingSession::SegmentCount() {
  InHost in(*this);
  return vexhost::TheHost().drawing.SegmentCount();
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
  twin.handles = Handles(segments);
  twin.box = survey::BoxOf(drawing, segments);
  twin.isPart = IsThePart(segments, sortedPart);
  return twin;
}

bool IsThePart(std::vector<int> twinSegments, const std::vector<int>& sortedPart) {
  std::sort(twinSegments.begin(), twinSegments.end());
  return !sortedPart.empty() && std::includes(twinSegments.begin(), twinSegments.end(),
                                              sortedPart.begin(), sortedPart.end());
}

std::vector<Twin> DrawingSession::Find(const PartSpec& part, const Area& area,
                                       const SearchOptions& options,
                                       std::vector<std::string>& notes,
                                       const std::function<bool()>& goOn) {
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
  request.goOn = goOn;
  const TwinResult result = FindTwins(request);
  switch (result.failure) {
    case TwinFailure::kNone:
      break;
    case TwinFailure::kStopped:
      throw Stopped();
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
  std::vector<int> sortedPart;
  for (const SegmentRef& ref : result.part) sortedPart.push_back(ref.segmentId);
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

survey::SurveyResult DrawingSession::Survey(const Area& area, const SearchOptions& options,
                                            bool all, const survey::SurveyProgress& progress,
                                            std::vector<Family>* families) {
  InHost in(*this);
  vexhost::Host& host = vexhost::TheHost();
  const std::vector<int> rangeIds =
      survey::RangeSegments(host.drawing, area.range ? &*area.range : nullptr, area.hiddenLayers);
  // The survey's searches use the engine's lists, which a command under way may hold.
  KeptLists kept(host.lists);
  // The block references of the file the drawing came from.
  const auto drawnAsBlock = [source = source_](int id) {
    const std::optional<size_t> entity = source ? source->EntityOf(id) : std::nullopt;
    return entity && source->entities()[*entity].reference;
  };
  survey::SurveyResult result =
      survey::Survey(host.drawing, rangeIds, options, progress, all, drawnAsBlock);
  if (families == nullptr || result.cancelled) return result;
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
    families->push_back(std::move(family));
  }
  return result;
}

parts::SheetParts DrawingSession::SheetParts(const Area& area, const SearchOptions& options,
                                             const survey::SurveyResult& survey) {
  InHost in(*this);
  vexhost::Host& host = vexhost::TheHost();
  const std::vector<int> rangeIds =
      survey::RangeSegments(host.drawing, area.range ? &*area.range : nullptr, area.hiddenLayers);
  KeptLists kept(host.lists);  // the searches use the engine's lists
  return parts::FindSheetParts(host.drawing, rangeIds, survey, options);
}

std::vector<Family> DrawingSession::Parts(const Area& area, const SearchOptions& options,
                                          const survey::SurveyProgress& progress, bool* stopped) {
  const survey::SurveyResult result = Survey(area, options, false, progress);
  if (stopped != nullptr) *stopped = result.cancelled;
  if (result.cancelled) return {};
  const parts::SheetParts sheet = SheetParts(area, options, result);
  InHost in(*this);
  const vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  std::vector<Family> families;
  for (const parts::PartFamily& found : sheet.families) {
    Family family;
    const std::vector<int>& lead = found.members.front().segments;
    family.figures = static_cast<int>(survey::FiguresOf(drawing, lead).size());
    family.box = survey::BoxOf(drawing, lead);
    family.found = static_cast<int>(found.members.size());
    std::vector<int> sortedLead = lead;
    std::sort(sortedLead.begin(), sortedLead.end());
    for (const parts::PartMember& member : found.members) {
      family.members.push_back(
          MakeTwin(member.segments, member.motion, member.mirrored(), sortedLead));
      family.mirrored += member.mirrored() ? 1 : 0;
    }
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

}  // namespace twinfind::session
