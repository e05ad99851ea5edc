// A drawing's lasting content kept apart and taken back whole, for undo and redo.
#include <algorithm>

#include "host/drawing.h"
#include "host/drawing_state.h"

namespace vexhost {

uint64_t DrawingState::Bytes() const {
  // Each entry with what it points to; a text's characters and a balloon's rows count too.
  uint64_t bytes = sizeof(DrawingState) + segments.capacity() * sizeof(Segment) +
                   elements.capacity() * sizeof(Element) +
                   holes.capacity() * sizeof(holes.front()) +
                   origins.capacity() * sizeof(origins.front());
  for (const Segment& s : segments) bytes += s.elements.capacity() * sizeof(int);
  for (const Element& e : elements) {
    if (!e.comment) continue;
    if (const auto* text = std::get_if<TextComment>(&*e.comment)) {
      bytes += text->text.capacity() * sizeof(char16_t);
    } else if (const auto* balloon = std::get_if<BalloonComment>(&*e.comment)) {
      for (const std::u16string& row : balloon->rows) {
        bytes += sizeof(row) + row.capacity() * sizeof(char16_t);
      }
    }
  }
  for (const auto& hole : holes) bytes += hole.second.items.capacity() * sizeof(HoleItem);
  return bytes;
}

DrawingState Drawing::SaveState() const {
  DrawingState state;
  state.segments.reserve(segments_.size());
  state.elements.reserve(elements_.size());
  for (const auto& [id, segment] : segments_) {
    if (segment.life != VEX_LIFE_LASTING) continue;
    state.segments.push_back(segment);
    for (const int e : segment.elements) state.elements.push_back(elements_.at(e));
    if (const auto hole = holes_.find(segment.holeId); hole != holes_.end()) {
      state.holes.emplace_back(hole->first, hole->second);
    }
    if (const auto origin = origins_.find(id); origin != origins_.end()) {
      state.origins.emplace_back(id, origin->second);
    }
  }
  std::sort(state.elements.begin(), state.elements.end(),
            [](const Element& a, const Element& b) { return a.id < b.id; });
  state.segments.shrink_to_fit();
  state.elements.shrink_to_fit();
  return state;
}

void Drawing::RestoreState(const DrawingState& state) {
  // Everything there now goes, the temporary drawing and the blinking with it; the index is
  // built again at once from the state's extents.
  index_.Defer();
  for (const int id : SegmentIds()) DeleteSegment(id);
  blink_.clear();
  for (const Element& e : state.elements) {
    elements_[e.id] = e;
    nextElementId_ = std::max(nextElementId_, e.id + 1);
  }
  for (const auto& [id, hole] : state.holes) {
    holes_[id] = hole;
    nextHoleId_ = std::max(nextHoleId_, id + 1);
  }
  for (const auto& [id, origin] : state.origins) origins_[id] = origin;
  for (const Segment& s : state.segments) {
    segments_[s.id] = s;
    nextSegmentId_ = std::max(nextSegmentId_, s.id + 1);
    if (const auto box = ComputeBounds(s.id)) {
      bounds_[s.id] = *box;
      index_.Put(s.id, *box);
    }
  }
  index_.Resume();
}

}  // namespace vexhost
