// Exact geometry of the host's figures: extents, points on arcs, distances.
#ifndef HOST_GEOMETRY_H
#define HOST_GEOMETRY_H

#include <optional>

#include "vexlib/vexlib.h"

namespace vexhost {

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

}  // namespace vexhost

#endif  // HOST_GEOMETRY_H
