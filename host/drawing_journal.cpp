// The drawing's journal of a result action and the segments taken back from it, for undo and
// redo: what an action changed is kept, not the whole drawing.
#include <algorithm>
#include <map>

#include "host/drawing.h"
#include "host/segment_image.h"

namespace vexhost {

struct Drawing::Journal {
  std::map<int, SegmentImage> images;  // ascending id
};

// Here, where the journal is a whole type.
Drawing::Drawing() = default;
Drawing::~Drawing() = default;
Drawing::Drawing(Drawing&&) noexcept = default;
Drawing& Drawing::operator=(Drawing&&) noexcept = default;

uint64_t SegmentImage::Bytes() const {
  // Each element with what it points to; a text's characters and a balloon's rows count too.
  uint64_t bytes = sizeof(SegmentImage) + elements.capacity() * sizeof(Element);
  if (segment) bytes += segment->elements.capacity() * sizeof(int);
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
  if (hole) bytes += sizeof(*hole) + hole->second.items.capacity() * sizeof(HoleItem);
  return bytes;
}

bool SameContent(const SegmentImage& a, const SegmentImage& b) {
  if (a.segment.has_value() != b.segment.has_value()) return false;
  if (!a.segment) return true;
  if (a.hole.has_value() != b.hole.has_value() || (a.hole && a.hole->first != b.hole->first)) {
    return false;
  }
  const SegmentFingerprint& x = *a.print;
  const SegmentFingerprint& y = *b.print;
  return x.kind == y.kind && x.layer == y.layer && x.attributes == y.attributes &&
         x.shape == y.shape && x.look == y.look;
}

SegmentImage Drawing::ImageOf(int segmentId) const {
  SegmentImage image;
  image.id = segmentId;
  const Segment* s = segments_.Find(segmentId);
  if (s == nullptr) return image;
  image.segment = *s;
  image.elements.reserve(s->elements.size());
  for (const int e : s->elements) image.elements.push_back(elements_.at(e));
  if (const auto hole = holes_.find(s->holeId); hole != holes_.end()) image.hole = *hole;
  if (const auto origin = origins_.find(segmentId); origin != origins_.end()) {
    image.origin = origin->second;
  }
  image.print = FingerprintOf(segmentId);
  return image;
}

void Drawing::StartJournal() { journal_ = std::make_unique<Journal>(); }

std::vector<SegmentImage> Drawing::TakeJournal() {
  std::vector<SegmentImage> before;
  if (journal_ == nullptr) return before;
  before.reserve(journal_->images.size());
  for (auto& [id, image] : journal_->images) before.push_back(std::move(image));
  journal_.reset();
  return before;
}

// Notes a lasting segment (or one about to be made) in the journal, once.
void Drawing::WillChange(int segmentId) {
  if (journal_ == nullptr || journal_->images.count(segmentId) != 0) return;
  const Segment* s = segments_.Find(segmentId);
  if (s != nullptr && s->life != VEX_LIFE_LASTING) return;  // the temporary drawing is no content
  journal_->images.emplace(segmentId, ImageOf(segmentId));
}

void Drawing::RestoreImages(const std::vector<SegmentImage>& images) {
  // The temporary drawing and the blinking go, as after any undo; each segment is then put back
  // as its image holds it (or left out), and the index follows at once.
  EraseTemporary();
  blink_.clear();
  for (const SegmentImage& image : images) {
    if (segments_.Find(image.id) != nullptr) RemoveSegment(image.id);
    if (!image.segment) continue;
    const Segment& s = *image.segment;
    for (const Element& e : image.elements) {
      elements_[e.id] = e;
      nextElementId_ = std::max(nextElementId_, e.id + 1);
    }
    if (image.hole) {
      holes_[image.hole->first] = image.hole->second;
      nextHoleId_ = std::max(nextHoleId_, image.hole->first + 1);
    }
    if (image.origin) origins_[s.id] = *image.origin;
    segments_[s.id] = s;
    nextSegmentId_ = std::max(nextSegmentId_, s.id + 1);
    Reindex(s.id);
  }
}

}  // namespace vexhost
