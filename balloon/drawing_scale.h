// The factor that the sizes of what the command draws of its own are multiplied by: balloons,
// their leaders and texts, the frame's margin and the gaps of the rows (the optional setting
// mDrawingScale). 1 when the setting is absent, so that those sizes are exactly as they were.
#ifndef BALLOON_DRAWING_SCALE_H
#define BALLOON_DRAWING_SCALE_H

namespace twinfind {

// Set when a search range is taken (plugin/range_input.cpp), for the results over that range.
extern double drawingScale;

// A size in drawing units at the current factor.
inline double Scaled(double size) { return size * drawingScale; }

}  // namespace twinfind

#endif  // BALLOON_DRAWING_SCALE_H
