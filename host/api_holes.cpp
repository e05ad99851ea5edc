// VexHol: the hole records of segments, handed out until the caller frees them.
#include <algorithm>

#include "host/api_util.h"
#include "host/hole_ledger.h"
#include "host/host.h"

namespace vexhost {

HoleItem* HoleLedger::HandOut(const std::vector<HoleItem>& items) {
  // Every hand-out is counted, also of a record without items, so a missing free shows.
  auto block = std::make_unique<HoleItem[]>(std::max<size_t>(items.size(), 1));
  std::copy(items.begin(), items.end(), block.get());
  HoleItem* raw = block.get();
  live_.emplace(raw, std::move(block));
  ++handedOut_;
  return raw;
}

bool HoleLedger::Free(HoleItem* items) {
  const auto it = live_.find(items);
  if (it == live_.end()) return false;
  live_.erase(it);
  ++freed_;
  return true;
}

}  // namespace vexhost

using vexhost::TheHost;

extern "C" {

VEXAPI int VexHolGetHoleId(const SegmentRef* segment) {
  VEXHOST_FAULT_POINT(return -1);
  if (segment == nullptr) return -1;
  const vexhost::Segment* s = TheHost().drawing.FindSegment(segment->segmentId);
  if (s == nullptr || s->auxId != segment->auxId || s->holeId == 0) return -1;
  return s->holeId;
}

VEXAPI int VexHolGetHoleData(int holeId, HoleData* data) {
  VEXHOST_FAULT_POINT(return -1);
  vexhost::Host& host = TheHost();
  const vexhost::HoleRecord* record = host.drawing.FindHole(holeId);
  if (record == nullptr || data == nullptr) return -1;
  *data = record->header;
  data->itemCount = static_cast<int32_t>(record->items.size());
  data->items = host.holes.HandOut(record->items);
  return 0;
}

// A release that cannot tell its caller of a failure: it is never made to fail.
VEXAPI void VexHoleFreeHoleData(HoleData* data) {
  if (data == nullptr) return;
  if (TheHost().holes.Free(data->items)) {
    data->items = nullptr;
    data->itemCount = 0;
  }
}

}  // extern "C"
