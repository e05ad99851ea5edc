// The part's extent and the two checks a part must pass before a search.
#ifndef ENGINE_PART_CHECKS_H
#define ENGINE_PART_CHECKS_H

#include "engine/door_check.h"

#include "engine/shape_model.h"

namespace twinfind {

// Grows the box by the figures of one segment of type 0 without attribute 5 (others leave it
// as it is): line ends, circle extremes, arc ends and the arc's quadrant points on it, points.
void ExtendBoxBySegment(const SegmentRef& ref, VexBox& box);

// True when every part segment without attribute 5 lies in (meets) the part's box enlarged by
// 1 percent on each side.
bool CheckPartInRange();

// Chooses the part's anchor: the first line of the first segment of type 0 that has figures;
// for a part without a line, its largest circle or arc. False when that first segment has no
// figure, or the part has no line, circle or arc.
bool FindAnchorLine();

}  // namespace twinfind

#endif  // ENGINE_PART_CHECKS_H
