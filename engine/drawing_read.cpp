#include "engine/drawing_read.h"

#include <cstdint>
#include <deque>
#include <optional>

#include "engine/host_lists.h"
#include "engine/shape_model.h"

namespace twinfind {
namespace {

// Segment ids above this are read from the host every time: the slot table stays small.
constexpr int kMostKeptId = 1 << 26;
constexpr uint32_t kNotRead = UINT32_MAX;

struct Held {
  int holds = 0;
  std::deque<SegmentFigures> read;  // in the order read; addresses stay
  std::vector<uint32_t> slotOf;     // by segment id: its place in `read`, or kNotRead
  bool wholeTried = false;
  std::optional<std::vector<const SegmentFigures*>> whole;
  std::shared_ptr<void> built;
};

Held& TheHeld() {
  static Held held;
  return held;
}

}  // namespace

void HoldDrawingRead() { ++TheHeld().holds; }

void ReleaseDrawingRead() {
  Held& held = TheHeld();
  if (held.holds == 0 || --held.holds > 0) return;
  held = Held{};
}

bool DrawingReadHeld() { return TheHeld().holds > 0; }

const SegmentFigures* HeldSegment(const SegmentRef& ref) {
  Held& held = TheHeld();
  if (held.holds == 0 || ref.segmentId < 0 || ref.segmentId > kMostKeptId) return nullptr;
  const size_t id = static_cast<size_t>(ref.segmentId);
  if (id >= held.slotOf.size()) held.slotOf.resize(id + 1, kNotRead);
  if (held.slotOf[id] == kNotRead) {
    held.read.emplace_back();
    ReadHostSegmentFigures(ref, held.read.back());
    held.slotOf[id] = static_cast<uint32_t>(held.read.size() - 1);
  }
  const SegmentFigures* read = &held.read[held.slotOf[id]];
  return read->ref == ref ? read : nullptr;  // kept by the segment id, read as first asked
}

const std::vector<const SegmentFigures*>* HeldWholeDrawing(int list) {
  Held& held = TheHeld();
  if (held.holds == 0) return nullptr;
  if (!held.wholeTried) {
    held.wholeTried = true;
    ResetList(list);
    if (VexSgmSearchSegment4(nullptr, CompareElementType, list) != 0) return nullptr;
    const std::vector<SegmentRef> refs = TakeListRefs(list);
    std::vector<const SegmentFigures*> whole;
    whole.reserve(refs.size());
    for (const SegmentRef& ref : refs) {
      const SegmentFigures* read = HeldSegment(ref);
      if (read == nullptr) return nullptr;  // asked for before under another drawing id
      whole.push_back(read);
    }
    held.whole = std::move(whole);
  }
  return held.whole ? &*held.whole : nullptr;
}

std::shared_ptr<void>& HeldBuilt() {
  Held& held = TheHeld();
  if (held.holds == 0) held.built.reset();
  return held.built;
}

}  // namespace twinfind
