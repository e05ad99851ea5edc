// A lasting segment as it was or is, kept apart from the drawing for undo and redo: the segment
// with its elements, its hole record and what the drawing knows of it as a copy; or nothing,
// for a segment that did not exist. The drawing's journal keeps one image of each segment a
// result action changes, taken before its first change.
#ifndef HOST_SEGMENT_IMAGE_H
#define HOST_SEGMENT_IMAGE_H

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "host/drawing.h"

namespace vexhost {

struct SegmentImage {
  int id = 0;
  std::optional<Segment> segment;  // nothing: no such segment
  std::vector<Element> elements;   // in the segment's order
  std::optional<std::pair<int, HoleRecord>> hole;
  std::optional<CopyOrigin> origin;
  std::optional<SegmentFingerprint> print;  // what the segment held, to tell a change

  // About how many bytes the image holds.
  uint64_t Bytes() const;
};

// Whether two images of one segment hold the same: both absent, or the same kind, layer,
// attributes, elements, colours and hole record.
bool SameContent(const SegmentImage& a, const SegmentImage& b);

}  // namespace vexhost

#endif  // HOST_SEGMENT_IMAGE_H
