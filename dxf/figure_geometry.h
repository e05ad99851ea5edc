// Building the host's figure records from DXF geometry, and the way back: arcs from centre and
// angles, polyline spans with bulges, checks that coordinates are usable numbers.
#ifndef DXF_FIGURE_GEOMETRY_H
#define DXF_FIGURE_GEOMETRY_H

#include <vector>

#include "host/figures.h"
#include "vexlib/vexlib.h"

namespace twinfind::dxf {

// A coordinate or size within the drawing's reach (vexhost::kCoordinateLimit, a finite number):
// coordinates beyond it make an entity unusable, as the host would refuse it.
bool Usable(double value);

using vexhost::MakeCircle;
using vexhost::MakeLine;
using vexhost::MakePoint;

// A counter-clockwise arc (direction code 1) from startDegrees to endDegrees.
FigureRecord MakeArc(double cx, double cy, double r, double startDegrees, double endDegrees);

// One polyline vertex: its position and the bulge of the span that starts at it
// (tan of a quarter of the span's sweep; positive counter-clockwise, negative clockwise).
struct Vertex {
  double x = 0, y = 0, bulge = 0;
};

// The figures a polyline draws: a line for each straight span, an arc for each bulged one
// (direction code 1 for a positive bulge, 2 for a negative one, so that the arc runs from its
// vertex to the next as the polyline does). A closed polyline gets the span from its last
// vertex back to the first. Spans of zero length draw nothing and are left out.
std::vector<FigureRecord> PolylineFigures(const std::vector<Vertex>& vertices, bool closed);

// The sweep of an arc in radians in its own direction, from start to end (0 < sweep <= 2 pi;
// an arc whose ends coincide is a full circle).
double ArcSweep(const FigureArc& arc);

// The bulge of a polyline span drawing the arc: tan(sweep / 4), negative for clockwise arcs.
double BulgeOfArc(const FigureArc& arc);

// The start and end point of a line or an arc.
VexPoint StartOf(const FigureRecord& figure);
VexPoint EndOf(const FigureRecord& figure);

// True when every coordinate and radius of the figure is a usable number.
bool UsableFigure(const FigureRecord& figure);

}  // namespace twinfind::dxf

#endif  // DXF_FIGURE_GEOMETRY_H
