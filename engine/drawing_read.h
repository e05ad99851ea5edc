// The drawing read once for many searches. A caller that searches many times and changes
// nothing in between (the survey) holds the drawing read: while the hold lasts, each segment's
// figures are asked of the host once and kept, and the trial screen reads the whole drawing
// once and indexes it once, instead of reading the drawing around each search's range again.
// Without a hold every read goes to the host, as in the command.
#ifndef ENGINE_DRAWING_READ_H
#define ENGINE_DRAWING_READ_H

#include "engine/door_check.h"

#include <memory>
#include <vector>

#include "engine/segment_compare.h"

namespace twinfind {

// Starts and ends a hold; holds nest, and what was read is let go when the last one ends.
void HoldDrawingRead();
void ReleaseDrawingRead();
bool DrawingReadHeld();

// The segment as read the first time it was asked for during the hold; nullptr without a hold,
// or when the segment was first asked for under another drawing id (auxId): it is then read
// from the host each time.
const SegmentFigures* HeldSegment(const SegmentRef& ref);

// Every segment a window search can find, each read once, through application list `list`
// (left empty); nullptr without a hold or when the host's search failed. Read at the first ask
// of the hold.
const std::vector<const SegmentFigures*>* HeldWholeDrawing(int list);

// What a user of the hold builds from it once (the screen's index of the whole drawing): kept
// with the hold and let go with it. Empty without a hold.
std::shared_ptr<void>& HeldBuilt();

}  // namespace twinfind

#endif  // ENGINE_DRAWING_READ_H
