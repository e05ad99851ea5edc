#include "host/step_driver.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

#include "common/utf.h"
#include "host/drawing.h"
#include "host/geometry.h"
#include "host/id_lists.h"
#include "host/search.h"

namespace vexhost {
namespace {

constexpr char kBeyondReach[] =
    "a point more than 1e15 from the origin is beyond the drawing's reach";

// Reads "x y" or "x,y"; nothing when the text is not two finite numbers.
std::optional<VexPoint> ParseCoordinates(std::u16string_view text) {
  std::string s = twinfind::ToUtf8(text);
  std::replace(s.begin(), s.end(), ',', ' ');
  const char* p = s.c_str();
  char* end = nullptr;
  double v[2];
  for (double& value : v) {
    errno = 0;
    value = std::strtod(p, &end);
    if (end == p || errno == ERANGE || !std::isfinite(value)) return std::nullopt;
    p = end;
  }
  while (*p == ' ' || *p == '\t') ++p;
  if (*p != '\0') return std::nullopt;
  return VexPoint{v[0], v[1]};
}

}  // namespace

int StepDriver::Register(VexCommandFunc start, VexCommandFunc query, VexCommandFunc end) {
  const int result = forcedResult_.value_or(1);
  if (result > 0 && start != nullptr) {
    start_ = start;
    query_ = query;
    end_ = end;
  }
  return result;
}

void StepDriver::SetExecute(VexExecuteFunc fn, std::u16string defaultInput) {
  execute_ = fn;
  defaultInput_ = std::move(defaultInput);
}

void StepDriver::SetReady(VexReadyFunc fn, std::u16string text) {
  ready_ = fn;
  readyText_ = std::move(text);
}

void StepDriver::ResetStep() {
  execute_ = nullptr;
  ready_ = nullptr;
  readyText_.clear();
  defaultInput_.clear();
  mask_ = 0;
  compare_ = nullptr;
  object_ = {};
  echo_.reset();
}

bool StepDriver::Start() {
  if (start_ == nullptr) return false;
  if (active_) {
    // The running command decides whether it gives way to the new start.
    if (query_ != nullptr && query_() != 0) return false;
    Finish();
  }
  ResetStep();
  active_ = true;
  stepsTaken_ = 0;
  start_();
  if (active_ && execute_ == nullptr) Finish();  // nothing to wait for
  return true;
}

void StepDriver::Finish() {
  active_ = false;
  ResetStep();
  drawing_.EraseTemporary();
  drawing_.ClearBlink();
  ++endCallbacks_;
  if (end_ != nullptr) end_();
}

void StepDriver::Abandon() {
  if (active_) Finish();
}

Delivery StepDriver::Deliver(VexEvent& event) {
  drawing_.EraseTemporary();
  if (event.hasPoint) pointer_ = event.point;
  const VexExecuteFunc execute = execute_;
  if (execute == nullptr) {
    Finish();
    return {false, "the command has no step waiting for input"};
  }
  const int result = execute(event.code, &event);
  if (!active_) return {true, {}};
  if (result == VEX_STEP_STAY) return {true, {}};
  if (result == VEX_STEP_NEXT && ready_ != nullptr) {
    const VexReadyFunc ready = ready_;
    const std::u16string text = readyText_;
    ++stepsTaken_;
    // The temporary drawing belongs to the step that drew it (a row's preview, drawn once more
    // at the click that placed the row): the next step starts without it.
    drawing_.EraseTemporary();
    ready(text.c_str(), pointer_.x, pointer_.y);
    return {true, {}};
  }
  Finish();
  return {true, {}};
}

Delivery StepDriver::Range(const VexBox& area) { return Range(std::vector<VexBox>{area}); }

Delivery StepDriver::Range(const std::vector<VexBox>& windows) {
  if (!active_) return {false, "no command is running"};
  if ((mask_ & VEX_MASK_RANGE) == 0) return {false, "this step does not take a range"};
  if (windows.empty()) return {false, "a range needs a window"};
  drawing_.EraseTemporary();
  std::vector<int> ids;
  for (const VexBox& area : windows) {
    const VexBox window{std::min(area.minX, area.maxX), std::min(area.minY, area.maxY),
                        std::max(area.minX, area.maxX), std::max(area.minY, area.maxY)};
    const std::vector<int> taken = SelectSegments(drawing_, &window, compare_);
    ids.insert(ids.end(), taken.begin(), taken.end());
  }
  if (windows.size() > 1) {
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  }
  pointer_ = {windows.back().maxX, windows.back().maxY};
  return DeliverSelection(ids);
}

Delivery StepDriver::Select(const std::vector<int>& segments) {
  if (!active_) return {false, "no command is running"};
  if ((mask_ & VEX_MASK_RANGE) == 0) return {false, "this step does not take a range"};
  drawing_.EraseTemporary();
  std::vector<int> wanted = segments;
  std::sort(wanted.begin(), wanted.end());
  std::vector<int> ids;
  for (const int id : SelectSegments(drawing_, nullptr, compare_)) {
    if (std::binary_search(wanted.begin(), wanted.end(), id)) ids.push_back(id);
  }
  return DeliverSelection(ids);
}

Delivery StepDriver::DeliverSelection(const std::vector<int>& ids) {
  std::vector<VexIdRecord> selected;
  for (const int id : ids) selected.push_back({id, drawing_.FindSegment(id)->auxId});
  lists_.SetSelection(std::move(selected));
  VexEvent event;
  event.code = VEX_EVENT_INPUT;
  event.hasPoint = false;
  return Deliver(event);
}

Delivery StepDriver::Point(VexPoint point) {
  if (!active_) return {false, "no command is running"};
  if ((mask_ & kPointBit) == 0) return {false, "this step does not take a point"};
  if (!WithinLimit(point.x, point.y)) return {false, kBeyondReach};
  VexEvent event;
  event.code = VEX_EVENT_INPUT;
  event.hasPoint = true;
  event.point = point;
  return Deliver(event);
}

Delivery StepDriver::Motion(VexPoint point) {
  if (!active_) return {false, "no command is running"};
  if (!WithinLimit(point.x, point.y)) return {false, kBeyondReach};
  if ((mask_ & kPointBit) == 0) {
    pointer_ = point;  // the pointer moves all the same; the step does not follow it
    return {false, "this step does not follow the pointer"};
  }
  VexEvent event;
  event.code = VEX_EVENT_INPUT;
  event.hasPoint = true;
  event.motion = true;
  event.point = point;
  return Deliver(event);
}

Delivery StepDriver::Keyin(std::u16string_view text) {
  if (!active_) return {false, "no command is running"};
  const std::u16string typed(text.empty() ? std::u16string_view(defaultInput_) : text);
  if ((mask_ & VEX_MASK_KEYIN) != 0) {
    VexEvent event;
    event.code = VEX_EVENT_KEYIN;
    event.keyin = typed;
    return Deliver(event);
  }
  if ((mask_ & kPointBit) != 0) {
    const auto point = ParseCoordinates(typed);
    if (!point) return {false, "this step takes a point: type two numbers, x and y"};
    return Point(*point);
  }
  return {false, "this step does not take typed input"};
}

Delivery StepDriver::End() {
  if (!active_) return {false, "no command is running"};
  VexEvent event;
  event.code = VEX_EVENT_END;
  return Deliver(event);
}

}  // namespace vexhost
