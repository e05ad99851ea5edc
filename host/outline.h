// Closed outlines made of lines and arcs: whether figures form one, and which side of it a
// point lies on.
#ifndef HOST_OUTLINE_H
#define HOST_OUTLINE_H

#include <vector>

#include "vexlib/vexlib.h"

namespace vexhost {

// Within this distance two figure ends are joined.
inline constexpr double kJointTolerance = 1e-6;
// Within this distance a point lies on the outline.
inline constexpr double kOnOutlineTolerance = 1e-9;

// True when the figures form one closed chain: a single circle, or lines and arcs that can be
// walked end to start in one cycle through all of them, each once, in either drawing
// direction: in their own order (a closed polyline's), or failing that in any order. The walk
// may pass a point more than once (an outline that touches itself, a notch cut in and out
// along the same line).
bool IsClosedChain(const std::vector<FigureRecord>& figures);

// True when the point lies strictly outside the closed outline the lines, arcs and circles
// form; a point on the outline is not outside.
bool IsOutside(const FigureRecord* figures, int count, double x, double y);

}  // namespace vexhost

#endif  // HOST_OUTLINE_H
