// Manual balloon placement's geometry: lining the pointer up with the balloons already in the
// drawing, and the side of the part a balloon placed there hangs on.
#ifndef BALLOON_BALLOON_SNAP_H
#define BALLOON_BALLOON_SNAP_H

#include "balloon/extreme_point.h"
#include "vexlib/vexlib.h"

namespace twinfind {

// Lines P up with the nearest balloon it can line up with, and marks that balloon with a
// temporary circle. P unchanged when there is none.
VexPoint SnapToBalloons(VexPoint p, double diameter);

// The anchor on the side of the indicated part (foundParts) nearest to P; ties keep the order
// top, left, bottom, right.
BalloonAnchor NearestSide(VexPoint p);

}  // namespace twinfind

#endif  // BALLOON_BALLOON_SNAP_H
