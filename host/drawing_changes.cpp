// What became of a drawing since its baseline (the drawing as an importer read it): which
// segments are as they were, which were recoloured, changed otherwise, deleted or made since,
// and which new segments are placed copies of baseline segments. A writer that saves the file
// back uses it to touch only what changed.
#include <algorithm>
#include <cstring>

#include "host/drawing.h"
#include "host/word_hash.h"

namespace vexhost {
namespace {

// The fingerprint hash, with text taken with its length.
class Hasher : public WordHash {
 public:
  void Text(const std::u16string& text) {
    Value(text.size());
    Bytes(text.data(), text.size() * sizeof(char16_t));
  }
};

void HashComment(Hasher& h, const Comment& comment) {
  if (const auto* text = std::get_if<TextComment>(&comment)) {
    const NormalTextData& r = text->record;
    h.Value(r.x);
    h.Value(r.y);
    h.Value(r.size1);
    h.Value(r.size2);
    h.Text(text->text);
    return;
  }
  const auto& balloon = std::get<BalloonComment>(comment);
  const BalloonData& b = balloon.record;
  h.Value(b.leader);
  h.Value(b.anchorX);
  h.Value(b.anchorY);
  h.Value(b.centerX);
  h.Value(b.centerY);
  h.Value(b.diameter);
  for (const std::u16string& row : balloon.rows) h.Text(row);
}

}  // namespace

std::optional<SegmentFingerprint> Drawing::FingerprintOf(int segmentId) const {
  const Segment* s = FindSegment(segmentId);
  if (s == nullptr) return std::nullopt;
  SegmentFingerprint f;
  f.kind = s->kind;
  f.layer = s->layer;
  f.attributes = s->attributes;
  Hasher shape, look;
  for (const int id : s->elements) {
    const Element& e = elements_.at(id);
    shape.Value(e.type);
    if (e.comment) {
      HashComment(shape, *e.comment);
    } else {
      // Every byte of a figure record is a field, so equal figures hash alike.
      shape.Value(e.figure);
    }
    if (e.lineAttr) {
      look.Value(e.lineAttr->color);
      look.Value(e.lineAttr->lineType);
    }
  }
  f.shape = shape.value();
  f.look = look.value();
  return f;
}

std::optional<SegmentFingerprint> Drawing::BaselineFingerprintOf(int segmentId) const {
  const auto it = std::lower_bound(baseline_.begin(), baseline_.end(), segmentId,
                                   [](const auto& entry, int id) { return entry.first < id; });
  if (it == baseline_.end() || it->first != segmentId) return std::nullopt;
  return it->second;
}

void Drawing::MarkBaseline() {
  baseline_.clear();
  origins_.clear();
  baseline_.reserve(segments_.size());
  for (const auto& [id, s] : segments_) {
    if (s.life == VEX_LIFE_LASTING) baseline_.emplace_back(id, *FingerprintOf(id));
  }
  hasBaseline_ = true;
}

BaselineChanges Drawing::ChangesSinceBaseline() const {
  BaselineChanges changes;
  for (const auto& [id, before] : baseline_) {
    const auto now = FingerprintOf(id);
    if (!now) {
      changes.deleted.push_back(id);
    } else if (now->kind != before.kind || now->layer != before.layer ||
               now->attributes != before.attributes || now->shape != before.shape) {
      changes.reshaped.push_back(id);
    } else if (now->look != before.look) {
      changes.restyled.push_back(id);
    } else {
      changes.kept.push_back(id);
    }
  }
  for (const auto& [id, s] : segments_) {
    if (s.life != VEX_LIFE_LASTING || s.elements.empty()) continue;
    if (!BaselineFingerprintOf(id)) changes.added.push_back(id);
  }
  return changes;
}

void Drawing::NoteCopy(int sourceId, int copyId) {
  if (!hasBaseline_) return;
  if (const auto it = origins_.find(sourceId); it != origins_.end()) {
    const CopyOrigin origin = it->second;
    origins_[copyId] = origin;
    return;
  }
  const auto before = BaselineFingerprintOf(sourceId);
  if (before && FingerprintOf(sourceId)->shape == before->shape) {
    origins_[copyId] = CopyOrigin{sourceId, PlaneMap{}, false};
  }
}

void Drawing::NotePlacement(int segmentId, const PlaneMap& placement) {
  const auto it = origins_.find(segmentId);
  if (it != origins_.end()) it->second.placement = placement.After(it->second.placement);
}

std::optional<CopyOrigin> Drawing::CopyOriginOf(int segmentId) const {
  const auto it = origins_.find(segmentId);
  const Segment* s = FindSegment(segmentId);
  if (it == origins_.end() || s == nullptr) return std::nullopt;
  const auto source = BaselineFingerprintOf(it->second.source);
  if (!source || source->kind != s->kind || source->layer != s->layer ||
      source->attributes != s->attributes) {
    return std::nullopt;
  }
  CopyOrigin origin = it->second;
  origin.restyled = FingerprintOf(segmentId)->look != source->look;
  return origin;
}

}  // namespace vexhost
