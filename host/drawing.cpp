#include "host/drawing.h"

#include "host/segment_image.h"

#include <algorithm>
#include <cstring>

#include "host/geometry.h"

namespace vexhost {

int ElementTypeOfFigure(int figureKind) {
  switch (figureKind) {
    case VEX_FIG_LINE:
      return VEX_ELEMENT_LINE;
    case VEX_FIG_CIRCLE:
      return VEX_ELEMENT_CIRCLE;
    case VEX_FIG_ARC:
      return VEX_ELEMENT_ARC;
    case VEX_FIG_KIND4:
      return VEX_ELEMENT_KIND4;
    case VEX_FIG_KIND5:
      return VEX_ELEMENT_KIND5;
    case VEX_FIG_POINT:
      return VEX_ELEMENT_POINT;
    default:
      return -1;
  }
}

std::optional<VexBox> ElementBounds(const Element& element) {
  if (element.comment) return CommentBounds(*element.comment);
  return FigureBounds(element.figure);
}

int Drawing::CreateSegment(int kind, int life) {
  if (kind != VEX_SEGMENT_FIGURES && kind != VEX_SEGMENT_COMMENTS) return -1;
  if (life != VEX_LIFE_LASTING && life != VEX_LIFE_TEMPORARY) return -1;
  if (life == VEX_LIFE_LASTING) WillChange(nextSegmentId_);
  const int id = nextSegmentId_++;
  Segment& s = segments_[id];
  s.id = id;
  s.auxId = kDrawingId;
  s.kind = kind;
  s.life = life;
  s.layer = currentLayer_;
  if (life == VEX_LIFE_TEMPORARY) temporaries_.insert(id);
  return id;
}

bool Drawing::DeleteSegment(int segmentId) {
  if (segments_.Find(segmentId) == nullptr) return false;
  WillChange(segmentId);
  RemoveSegment(segmentId);
  return true;
}

void Drawing::RemoveSegment(int segmentId) {
  const Segment* s = segments_.Find(segmentId);
  if (s == nullptr) return;
  for (const int e : s->elements) elements_.erase(e);
  blink_.erase({s->auxId, segmentId});
  holes_.erase(s->holeId);
  segments_.erase(segmentId);
  temporaries_.erase(segmentId);
  ForgetOrigin(segmentId);
  index_.Remove(segmentId);
}

void Drawing::EraseTemporary() {
  const std::vector<int> doomed(temporaries_.begin(), temporaries_.end());
  for (const int id : doomed) DeleteSegment(id);
}

Segment* Drawing::FindSegment(int segmentId) { return segments_.Find(segmentId); }

const Segment* Drawing::FindSegment(int segmentId) const { return segments_.Find(segmentId); }

Element* Drawing::FindElement(int elementId) { return elements_.Find(elementId); }

const Element* Drawing::FindElement(int elementId) const { return elements_.Find(elementId); }

int Drawing::AddFigure(int segmentId, const FigureRecord& figure, int afterElementId) {
  Segment* s = FindSegment(segmentId);
  const int type = ElementTypeOfFigure(figure.kind);
  if (s == nullptr || s->kind != VEX_SEGMENT_FIGURES || type < 0) return -1;
  if (!FigureWithinLimit(figure)) return -1;
  WillChange(segmentId);
  auto position = s->elements.end();
  if (afterElementId != 0) {
    position = std::find(s->elements.begin(), s->elements.end(), afterElementId);
    if (position == s->elements.end()) return -1;
    ++position;
  }
  const int id = nextElementId_++;
  Element& e = elements_[id];
  e.id = id;
  e.segmentId = segmentId;
  e.type = type;
  e.figure = figure;
  e.lineAttr = currentLineAttr_;
  s->elements.insert(position, id);
  ForgetOrigin(segmentId);
  GrowBounds(segmentId, FigureBounds(figure));
  return id;
}

void Drawing::GrowBounds(int segmentId, const std::optional<VexBox>& added) {
  // The extent grows by the new element alone: a polyline of many figures, or a block's
  // thousands of texts in one segment, is not measured afresh for each one.
  if (!added) return;
  VexBox box = index_.BoxOf(segmentId).value_or(*added);
  Include(box, *added);
  index_.Put(segmentId, box);
}

bool Drawing::UpdateFigures(int segmentId,
                            const std::function<FigureRecord(const FigureRecord&)>& change) {
  const Segment* s = segments_.Find(segmentId);
  if (s == nullptr) return false;
  WillChange(segmentId);
  for (const int id : s->elements) {
    Element& e = elements_.at(id);
    if (ElementTypeOfFigure(e.figure.kind) != e.type) continue;  // not a figure
    const FigureRecord changed = change(e.figure);
    if (ElementTypeOfFigure(changed.kind) == e.type) e.figure = changed;
  }
  ForgetOrigin(segmentId);
  Reindex(segmentId);
  return true;
}

bool Drawing::ReverseElementOrder(int segmentId) {
  Segment* s = FindSegment(segmentId);
  if (s == nullptr) return false;
  WillChange(segmentId);
  std::reverse(s->elements.begin(), s->elements.end());
  ForgetOrigin(segmentId);
  return true;
}

int Drawing::AddComment(int segmentId, Comment comment) {
  Segment* s = FindSegment(segmentId);
  if (s == nullptr || s->kind != VEX_SEGMENT_COMMENTS || !CommentWithinLimit(comment)) return -1;
  WillChange(segmentId);
  const int id = nextElementId_++;
  Element& e = elements_[id];
  e.id = id;
  e.segmentId = segmentId;
  e.type = std::holds_alternative<TextComment>(comment) ? VEX_ELEMENT_TEXT : VEX_ELEMENT_BALLOON;
  e.comment = std::move(comment);
  s->elements.push_back(id);
  ForgetOrigin(segmentId);
  GrowBounds(segmentId, ElementBounds(e));
  return id;
}

bool Drawing::ReplaceComment(int elementId, Comment comment) {
  Element* e = FindElement(elementId);
  if (e == nullptr || !e->comment || e->comment->index() != comment.index() ||
      !CommentWithinLimit(comment)) {
    return false;
  }
  WillChange(e->segmentId);
  e->comment = std::move(comment);
  ForgetOrigin(e->segmentId);
  Reindex(e->segmentId);
  return true;
}

bool Drawing::PlaceSegment(int segmentId, const PlaneMap& placement) {
  if (!CanPlace(segmentId, placement)) return false;
  WillChange(segmentId);
  const Segment* s = segments_.Find(segmentId);
  for (const int id : s->elements) {
    Element& e = elements_.at(id);
    if (e.comment) {
      e.comment = TransformComment(*e.comment, placement);
    } else if (ElementTypeOfFigure(e.figure.kind) == e.type) {
      e.figure = PlaceFigure(e.figure, placement);
    }
  }
  NotePlacement(segmentId, placement);
  Reindex(segmentId);
  return true;
}

bool Drawing::CanPlace(int segmentId, const PlaneMap& placement) const {
  const Segment* s = FindSegment(segmentId);
  if (s == nullptr) return false;
  for (const int id : s->elements) {
    const Element& e = elements_.at(id);
    if (e.comment) {
      if (!CommentWithinLimit(TransformComment(*e.comment, placement))) return false;
    } else if (ElementTypeOfFigure(e.figure.kind) == e.type) {
      if (!FigureWithinLimit(PlaceFigure(e.figure, placement))) return false;
    }
  }
  return true;
}

int Drawing::CopySegment(int segmentId) {
  if (segments_.Find(segmentId) == nullptr) return -1;
  WillChange(nextSegmentId_);
  const Segment* source = segments_.Find(segmentId);
  const int id = nextSegmentId_++;
  Segment& copy = segments_[id];
  copy.id = id;
  copy.auxId = source->auxId;
  copy.kind = source->kind;
  copy.life = VEX_LIFE_LASTING;
  copy.layer = source->layer;
  copy.attributes = source->attributes;
  copy.elements.reserve(source->elements.size());
  for (const int e : source->elements) {
    const int elementId = nextElementId_++;
    Element& element = elements_[elementId];
    element = elements_.at(e);
    element.id = elementId;
    element.segmentId = id;
    copy.elements.push_back(elementId);
  }
  if (const HoleRecord* hole = FindHole(source->holeId)) {
    const int holeId = nextHoleId_++;
    holes_[holeId] = *hole;
    holes_[holeId].header.holeId = holeId;
    copy.holeId = holeId;
  }
  NoteCopy(segmentId, id);
  Reindex(id);
  return id;
}

int Drawing::AttachHole(int segmentId, const HoleData& header, std::vector<HoleItem> items) {
  Segment* s = FindSegment(segmentId);
  if (s == nullptr) return -1;
  WillChange(segmentId);
  holes_.erase(s->holeId);
  const int holeId = nextHoleId_++;
  HoleRecord& record = holes_[holeId];
  record.header = header;
  record.header.holeId = holeId;
  record.header.items = nullptr;
  record.header.itemCount = 0;
  record.items = std::move(items);
  s->holeId = holeId;
  return holeId;
}

const HoleRecord* Drawing::FindHole(int holeId) const {
  const auto it = holes_.find(holeId);
  return it == holes_.end() ? nullptr : &it->second;
}

void Drawing::DeferIndex() { index_.Defer(); }

void Drawing::BuildIndex() { index_.Resume(); }

void Drawing::Reindex(int segmentId) {
  const auto box = ComputeBounds(segmentId);
  const auto known = index_.BoxOf(segmentId);
  if (box && known && std::memcmp(&*known, &*box, sizeof(VexBox)) == 0) {
    return;  // the extent did not change (a reversal, say)
  }
  if (box) {
    index_.Put(segmentId, *box);
  } else {
    index_.Remove(segmentId);
  }
}

std::vector<int> Drawing::SegmentIds() const {
  std::vector<int> ids;
  ids.reserve(segments_.size());
  for (const auto& entry : segments_) ids.push_back(entry.first);
  return ids;
}

std::optional<VexBox> Drawing::SegmentBounds(int segmentId) const {
  return index_.BoxOf(segmentId);
}

std::optional<VexBox> Drawing::ComputeBounds(int segmentId) const {
  const Segment* s = FindSegment(segmentId);
  if (s == nullptr) return std::nullopt;
  VexBox box = EmptyBox();
  for (const int e : s->elements) {
    if (const auto b = ElementBounds(elements_.at(e))) Include(box, *b);
  }
  if (IsEmpty(box)) return std::nullopt;
  return box;
}

void Drawing::SetLayerVisible(int layer, bool visible) {
  if (visible) {
    hiddenLayers_.erase(layer);
  } else {
    hiddenLayers_.insert(layer);
  }
}

bool Drawing::Blink(const SegmentRef& ref) {
  const Segment* s = FindSegment(ref.segmentId);
  if (s == nullptr || s->auxId != ref.auxId) return false;
  blink_.insert({ref.auxId, ref.segmentId});
  return true;
}

}  // namespace vexhost
