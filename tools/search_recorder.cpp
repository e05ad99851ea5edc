#include "tools/search_recorder.h"

#include <algorithm>
#include <cstdint>
#include <regex>
#include <variant>

#include "common/utf.h"
#include "host/geometry.h"
#include "host/host.h"
#include "host/step_kind.h"
#include "session/drawing_session.h"
#include "settings/settings.h"

namespace twinfind::tool {
namespace {

// The settings that shape a search and what is done with its twins.
constexpr const char16_t* kSearchSettings[] = {
    u"mMethod",    u"mIsRotate", u"mIsSymmetry", u"mIsLayer",    u"mIsColor",
    u"mTolerance", u"mFigure",   u"mIsArrange",  u"m_ColorMain", u"mLTypeName"};
constexpr const char16_t* kBalloonSettings[] = {u"mIsBalloonAutoArrange",
                                                u"mIsBalloonAssy",
                                                u"mIsBalloonArray",
                                                u"mIsMaterial",
                                                u"mMaterial",
                                                u"mIsDepth",
                                                u"mIsCount"};

std::u16string Stored(std::u16string_view name) { return StoredSettingText(name); }

VexBox BoxOf(const vexhost::Drawing& drawing, const std::vector<int>& segments) {
  VexBox box = vexhost::EmptyBox();
  for (const int id : segments) {
    if (const auto b = drawing.SegmentBounds(id)) vexhost::Include(box, *b);
  }
  return box;
}

std::vector<LineAttr> LookOf(const vexhost::Drawing& drawing, int segmentId) {
  std::vector<LineAttr> look;
  if (const vexhost::Segment* s = drawing.FindSegment(segmentId)) {
    for (const int id : s->elements) {
      const vexhost::Element* e = drawing.FindElement(id);
      if (e != nullptr && e->lineAttr) look.push_back(*e->lineAttr);
    }
  }
  return look;
}

bool SameLook(const std::vector<LineAttr>& a, const std::vector<LineAttr>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].color != b[i].color || a[i].lineType != b[i].lineType) return false;
  }
  return true;
}

bool Inside(const VexBox& box, double x, double y, double margin) {
  return x >= box.minX - margin && x <= box.maxX + margin && y >= box.minY - margin &&
         y <= box.maxY + margin;
}

TwfFoundPartsFunc foundPartsSource = nullptr;

// The module's last search; nothing found when no module tells it.
const TwfFoundParts& FoundParts() {
  static const TwfFoundParts none{};
  const TwfFoundParts* found = foundPartsSource ? foundPartsSource() : nullptr;
  return found ? *found : none;
}

}  // namespace

void SetFoundPartsSource(TwfFoundPartsFunc source) { foundPartsSource = source; }

ScriptRunner::Observer SearchRecorder::Observer() {
  return {[this](const UserAction& a) { Before(a); }, [this](const UserAction& a) { After(a); }};
}

void SearchRecorder::CommandStarted() {
  awaitingSearchRange_ = true;
  searchRange_.reset();
  answers_.clear();
  depth_.clear();  // the depth typed last is forgotten at every start
}

void SearchRecorder::UndoOrRedo(bool undo) {
  std::vector<size_t>& from = undo ? done_ : undone_;
  std::vector<size_t>& to = undo ? undone_ : done_;
  if (from.empty()) return;
  const size_t search = from.back();
  from.pop_back();
  to.push_back(search);
  if (search >= dropped_ && search - dropped_ < searches_.size()) {
    searches_[search - dropped_].undone = undo;
  }
}

void SearchRecorder::Before(const UserAction& action) {
  const vexhost::Host& host = vexhost::TheHost();
  keptBefore_ = host.undo.kept();
  searchesBefore_ = FoundParts().searches;
  if (action.kind == UserAction::Kind::kUndo) {
    CloseSearch();  // what the action did is read while it is still in the drawing
    return;
  }
  if (action.kind == UserAction::Kind::kRedo) return;
  blinkBefore_ = host.drawing.blinking();
  wasActive_ = host.driver.active();
  keyinStep_ = wasActive_ && (host.driver.mask() & VEX_MASK_KEYIN) != 0;
  promptsBefore_ = host.transcript.count(vexhost::MessageKind::kPrompt);
  if (action.kind == UserAction::Kind::kStart) CommandStarted();
}

void SearchRecorder::After(const UserAction& action) {
  const vexhost::Host& host = vexhost::TheHost();
  if (action.kind == UserAction::Kind::kUndo || action.kind == UserAction::Kind::kRedo) {
    UndoOrRedo(action.kind == UserAction::Kind::kUndo);
    return;
  }
  if (host.undo.kept() != keptBefore_) {
    // A result action was kept for undo: it belongs to the last search.
    done_.push_back(searches_.empty() ? SIZE_MAX : dropped_ + searches_.size() - 1);
    undone_.clear();
    while (done_.size() > host.undo.undoSteps()) done_.erase(done_.begin());
  }
  const TwfFoundParts& found = FoundParts();
  if (open_ && found.searches == openSearch_) TakeCopies(found);
  // A result action kept for undo changed the drawing; an end button that stopped the blinking
  // twins without a change was one too, which changed nothing.
  const bool acted =
      host.undo.kept() != keptBefore_ ||
      (action.kind == UserAction::Kind::kEnd && !blinkBefore_.empty() &&
       host.drawing.blinking().empty() && vexhost::AtRest(vexhost::StepKindOf(host.driver)));
  if (acted && open_ && tell_) tell_(WhatItDid());
  if (!wasActive_ && action.kind != UserAction::Kind::kStart) return;
  if (keyinStep_ &&
      (action.kind == UserAction::Kind::kKeyin || action.kind == UserAction::Kind::kEnd)) {
    const size_t prompts = host.transcript.count(vexhost::MessageKind::kPrompt);
    // Only an answer that the step took and went on from counts (a refused end button at the
    // material step keeps the step and its prompt).
    if (prompts != promptsBefore_) {
      answers_.push_back(action.kind == UserAction::Kind::kKeyin
                             ? std::optional<std::u16string>(action.text)
                             : std::nullopt);
    }
  }
  if (action.kind == UserAction::Kind::kRange) {
    const auto& blinking = host.drawing.blinking();
    const bool searched = found.searches != searchesBefore_;
    if (searched && ((!blinking.empty() && blinking != blinkBefore_) || host.driver.active())) {
      OpenSearch(action, found, blinking);  // its twins blink, or it found none
    } else if (awaitingSearchRange_ && !searched) {
      if (host.driver.active()) {
        searchRange_ = action.window;
        awaitingSearchRange_ = false;
        answers_.clear();
      }
    }
  }
  if (!host.driver.active()) CommandStarted();
}

void SearchRecorder::OpenSearch(const UserAction& range, const TwfFoundParts& found,
                                const std::set<std::pair<int, int>>& blinking) {
  CloseSearch();
  const vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  SearchRecord record;
  const TwinfindSettings settings = ReadSettings();  // as the command read them at its start
  const bool balloon = settings.mMethod != 0;
  record.method = balloon ? "balloon" : "general";
  record.range = searchRange_;
  record.part = range.selected;
  record.partExtent = BoxOf(drawing, record.part);
  SettingTexts texts;
  for (const char16_t* name : kSearchSettings)
    texts.push_back({ToUtf8(name), ToUtf8(Stored(name))});
  if (balloon) {
    for (const char16_t* name : kBalloonSettings) {
      texts.push_back({ToUtf8(name), ToUtf8(Stored(name))});
    }
  }
  record.settings =
      !searches_.empty() && searches_.back().settings && *searches_.back().settings == texts
          ? searches_.back().settings
          : std::make_shared<const SettingTexts>(std::move(texts));
  std::vector<int> part;
  for (int i = 0; i < found.partCount; ++i) part.push_back(found.part[i].segmentId);
  std::sort(part.begin(), part.end());
  looks_.clear();
  std::set<int> inTwins;
  for (int t = 0; t < found.twinCount; ++t) {
    const TwfTwin& f = found.twins[t];
    // The twin's segments in the order of the part's segments they paired with.
    std::vector<std::pair<int32_t, int>> paired;
    for (int i = 0; i < f.segmentCount; ++i) {
      paired.push_back({f.segments[i].partSegment, f.segments[i].ref.segmentId});
    }
    std::stable_sort(paired.begin(), paired.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    TwinRecord twin;
    for (const auto& [partSegment, id] : paired) twin.segments.push_back(id);
    twin.box = BoxOf(drawing, twin.segments);
    twin.motion = PlaneMap{f.a, f.b, f.c, f.d, f.tx, f.ty};
    twin.angleDegrees = TurnDegrees(twin.motion);
    twin.mirrored = f.mirrored != 0;
    twin.isPart = session::IsThePart(twin.segments, part);
    for (const int id : twin.segments) {
      looks_[id] = LookOf(drawing, id);
      inTwins.insert(id);
    }
    record.twins.push_back(std::move(twin));
  }
  for (const auto& [aux, id] : blinking) {
    if (inTwins.count(id) == 0) record.unmatched.push_back(id);
  }
  std::sort(record.unmatched.begin(), record.unmatched.end());
  openSearch_ = found.searches;
  if (balloon) {
    // The answers at the typed-input steps, in the order the balloon method asks: material
    // (when asked for), part number, depth (when asked for). The end button keeps the
    // material and depth given before, and the stored part number.
    PartsListEntry entry;
    size_t next = 0;
    const auto answer = [&]() -> std::optional<std::u16string> {
      return next < answers_.size() ? answers_[next++] : std::nullopt;
    };
    if (settings.mIsMaterial != 0) {
      if (const auto typed = answer()) material_ = ToUtf8(*typed);
      entry.material = material_;
    }
    const auto number = answer();
    entry.partNumber = ToUtf8(number ? *number : Stored(u"mBalloonStr"));
    if (settings.mIsDepth != 0) {
      if (const auto typed = answer()) depth_ = ToUtf8(*typed);
      entry.depth = depth_;
    }
    entry.count = static_cast<int>(record.twins.size());
    for (const TwinRecord& t : record.twins) entry.mirroredCount += t.mirrored;
    record.partsList = entry;
  }
  answers_.clear();
  int last = 0;
  for (const int id : drawing.SegmentIds()) last = std::max(last, id);
  lastIdAtOpen_ = last;
  if (keepLastOnly_ && !searches_.empty()) {
    dropped_ += searches_.size();
    searches_.clear();
  }
  searches_.push_back(std::move(record));
  open_ = true;
}

void SearchRecorder::CloseSearch() {
  if (!open_) return;
  open_ = false;
  const vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  SearchRecord& record = searches_.back();
  std::vector<int> made;
  for (const int id : drawing.SegmentIds()) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (id > lastIdAtOpen_ && s != nullptr && s->life == VEX_LIFE_LASTING) made.push_back(id);
  }
  ReadActions(record);
  // Balloons made since: on a twin (anchored on one of its elements, or lying on its box) or on
  // its copy.
  for (const int id : made) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    for (const int elementId : s->elements) {
      const vexhost::Element* e = drawing.FindElement(elementId);
      if (e == nullptr || !e->comment) continue;
      const auto* balloon = std::get_if<vexhost::BalloonComment>(&*e->comment);
      if (balloon == nullptr) continue;
      const vexhost::Element* anchor = drawing.FindElement(balloon->record.anchorElementId);
      std::vector<std::string> rows;
      for (const auto& row : balloon->rows) rows.push_back(ToUtf8(row));
      for (TwinRecord& twin : record.twins) {
        const auto on = [&](const std::vector<int>& segments) {
          if (anchor != nullptr) {
            return std::find(segments.begin(), segments.end(), anchor->segmentId) != segments.end();
          }
          return !segments.empty() && Inside(BoxOf(drawing, segments), balloon->record.anchorX,
                                             balloon->record.anchorY, 1e-6);
        };
        if (on(twin.segments) || on(twin.copy)) {
          twin.balloons.push_back(rows);
          break;
        }
      }
    }
  }
}

void SearchRecorder::TakeCopies(const TwfFoundParts& found) {
  if (searches_.empty()) return;
  SearchRecord& record = searches_.back();
  const vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  for (int t = 0; t < found.twinCount && static_cast<size_t>(t) < record.twins.size(); ++t) {
    std::vector<int> copy;
    for (int i = 0; i < found.twins[t].copyCount; ++i) {
      const int id = found.twins[t].copies[i].segmentId;
      if (drawing.FindSegment(id) != nullptr) copy.push_back(id);  // not undone since
    }
    record.twins[static_cast<size_t>(t)].copy = std::move(copy);
  }
}

void SearchRecorder::ReadActions(SearchRecord& record) const {
  const vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  for (TwinRecord& twin : record.twins) {
    int gone = 0;
    bool restyled = false;
    for (const int id : twin.segments) {
      const auto look = looks_.find(id);
      if (drawing.FindSegment(id) == nullptr) {
        ++gone;
      } else if (look != looks_.end() && !SameLook(LookOf(drawing, id), look->second)) {
        restyled = true;
      }
    }
    twin.action = gone == static_cast<int>(twin.segments.size()) ? "deleted"
                  : restyled                                     ? "recoloured"
                                                                 : "kept";
  }
}

std::string SearchRecorder::WhatItDid() const {
  SearchRecord record = searches_.back();
  ReadActions(record);
  int copies = 0, deleted = 0, recoloured = 0;
  for (const TwinRecord& twin : record.twins) {
    copies += twin.copy.empty() ? 0 : 1;
    deleted += twin.action == "deleted" ? 1 : 0;
    recoloured += twin.action == "recoloured" ? 1 : 0;
  }
  // Balloons and texts made since the search.
  const vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  int balloons = 0;
  std::vector<std::string> texts;
  for (const int id : drawing.SegmentIds()) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (id <= lastIdAtOpen_ || s == nullptr || s->life != VEX_LIFE_LASTING) continue;
    for (const int elementId : s->elements) {
      const vexhost::Element* e = drawing.FindElement(elementId);
      if (e == nullptr || !e->comment) continue;
      if (std::holds_alternative<vexhost::BalloonComment>(*e->comment)) {
        ++balloons;
      } else if (const auto* text = std::get_if<vexhost::TextComment>(&*e->comment)) {
        texts.push_back(ToUtf8(text->text));
      }
    }
  }
  const auto count = [](int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
  };
  std::vector<std::string> parts;
  if (copies > 0) parts.push_back(count(copies, "copy", "copies") + " laid out in 1 row");
  if (deleted > 0) parts.push_back(count(deleted, "twin", "twins") + " deleted");
  if (recoloured > 0) parts.push_back(count(recoloured, "twin", "twins") + " recoloured");
  if (balloons > 0) parts.push_back(count(balloons, "balloon", "balloons"));
  // The count text the balloon method writes: "3EA", or "3/1EA" with mirror images.
  static const std::regex kCount(R"([0-9]+(/[0-9]+)?EA)");
  for (const std::string& text : texts) {
    if (std::regex_match(text, kCount)) parts.push_back("count text " + text);
  }
  if (parts.empty()) return "done: nothing changed";
  std::string line = "done: ";
  for (size_t i = 0; i < parts.size(); ++i) line += (i ? ", " : "") + parts[i];
  return line;
}

const SettingTexts& SearchRecord::settingTexts() const {
  static const SettingTexts kNone;
  return settings ? *settings : kNone;
}

void SearchRecorder::Finish() {
  if (open_ && FoundParts().searches == openSearch_) TakeCopies(FoundParts());
  CloseSearch();
}

}  // namespace twinfind::tool
