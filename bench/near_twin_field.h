// A field of near twins: copies of a five-segment part of which only a few are true twins; the
// others differ from the part by one line 0.002 longer, so every one of them is a candidate
// whose trials all fail. Turned by varied angles, every other one mirrored.
#ifndef BENCH_NEAR_TWIN_FIELD_H
#define BENCH_NEAR_TWIN_FIELD_H

#include <vector>

#include "vexlib/vexlib.h"

namespace drawgen {

struct NearTwinField {
  std::vector<int> part;  // the part's segments: the copy at the origin, a true twin
  int segments = 0;       // segments in the drawing, all of them in the range
  int twins = 0;          // true twins, the part included
  int mirroredTwins = 0;  // of which mirror images
  VexBox partWindow{};    // a window that holds the part and nothing else
  VexBox rangeWindow{};   // a window that holds the whole field
};

// Fills the host's drawing (which the caller has reset) with segments / 5 copies of the part
// on a grid, `twins` of them true twins spread evenly (the first is the part, unturned), the
// rest near twins. `segments` is a multiple of 5 and at least 5 * twins.
// With `oneColumn`, the copies lie unturned and unmirrored one above the other.
NearTwinField BuildNearTwinField(int segments, int twins, bool oneColumn = false);

// The box that holds every given segment, widened by `margin` on each side.
VexBox BoxOfSegments(const std::vector<int>& segments, double margin);

}  // namespace drawgen

#endif  // BENCH_NEAR_TWIN_FIELD_H
