// Exact geometry of the host's figures: extents, points on arcs, distances.
#ifndef HOST_GEOMETRY_H
#define HOST_GEOMETRY_H

#include <optional>

#include "vexlib/vexlib.h"

namespace vexhost {

// The drawing's reach: a coordinate is usable when it is a finite number no larger than this.
// The host refuses figures, texts, balloons and points beyond it: nothing can be drawn, saved
// or read back out there.
inline constexpr double kCoordinateLimit = 1e15;
bool WithinLimit(double value);
bool WithinLimit(double x, double y);
// Every coordinate and radius of the figure is usable.
bool FigureWithinLimit(const FigureRecord& figure);

// An empty box: min above max, so that the first point sets it.
VexBox EmptyBox();
bool IsEmpty(const VexBox& box);
void Include(VexBox& box, double x, double y);
void Include(VexBox& box, const VexBox& other);
// True when inner lies within outer (edges included).
bool Contains(const VexBox& outer, const VexBox& inner);
bool Overlaps(const VexBox& a, const VexBox& b);

// The angle of (x, y) about the origin in [0, 2*pi).
double AngleOf(double x, double y);

// The counter-clockwise sweep of an arc: it starts at `from` and runs `sweep` radians
// (0 < sweep <= 2*pi). An arc whose start and end coincide is a full circle.
struct ArcSweep {
  double from;
  double sweep;
};
ArcSweep SweepOf(const FigureArc& arc);
// True when the direction `angle` (radians) lies on the arc's sweep, within `tolerance` radians.
bool SweepContains(const ArcSweep& sweep, double angle, double tolerance);

// The exact extent of one figure; nothing for kinds without geometry.
std::optional<VexBox> FigureBounds(const FigureRecord& figure);

double Distance(double x1, double y1, double x2, double y2);

// The shortest distance from a point to a line, circle or arc figure (the curve, not the
// area it encloses); nothing for other kinds.
std::optional<double> DistanceToFigure(const FigureRecord& figure, double x, double y);

// True when the figure's geometry meets the closed rectangle: lines, circles and arcs exactly
// (a circle around the rectangle does not meet it); points by position; kinds 4 and 5 by the
// box of their points.
bool FigureTouches(const FigureRecord& figure, const VexBox& area, double tolerance);

}  // namespace vexhost

#endif  // HOST_GEOMETRY_H
