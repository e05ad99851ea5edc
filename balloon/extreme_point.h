// Where a balloon's leader meets a part: the element that reaches furthest to one side, and
// the diagonal the leader leaves it by.
#ifndef BALLOON_EXTREME_POINT_H
#define BALLOON_EXTREME_POINT_H

#include "vexlib/vexlib.h"

namespace twinfind {

// The extremes found so far by an anchor search; one per part.
struct ExtremeBox {
  double minX = 10000000.0;
  double minY = 10000000.0;
  double maxX = -10000000.0;
  double maxY = -10000000.0;
};

enum ExtremeSide { kSideTop = 1, kSideLeft = 2, kSideBottom = 3, kSideRight = 4 };

// What the search settled on; `found` stays false while no element has beaten the box.
struct BalloonAnchor {
  bool found = false;
  int32_t elementId = 0;
  int32_t auxId = 0;
  VexPoint point{};
  double leaderAngle = 0.0;  // one of the four diagonals, radians
};

// Walks the segment's elements; each one that goes beyond the box on the side takes the
// anchor (its element, point and leader angle) and moves the box's extreme. True.
bool FindExtremePoint(const SegmentRef& segment, ExtremeBox& box, ExtremeSide side,
                      BalloonAnchor& anchor);

}  // namespace twinfind

#endif  // BALLOON_EXTREME_POINT_H
