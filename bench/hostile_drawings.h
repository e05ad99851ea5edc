// Drawings that grow in one size a stranger's file can make large, for hostile_sizes_bench:
// DXF texts of many layers, of one spline of many control points and of many ellipses; and, in
// the open host drawing, many families of parts alike in their boxes, and one line drawn many
// times on top of itself.
#ifndef BENCH_HOSTILE_DRAWINGS_H
#define BENCH_HOSTILE_DRAWINGS_H

#include <string>
#include <vector>

namespace drawgen {

// A DXF file whose layer table holds `layers` layers named L0, L1, ... and whose entities are
// one LINE on each of them.
std::string ManyLayersDxf(int layers);

// A DXF file of one open cubic SPLINE of `controlPoints` control points (at least 4) on clamped
// uniform knots, running along a gentle wave: valid geometry, each span within a few lines at
// the default chord tolerance.
std::string OneSplineDxf(int controlPoints);

// A DXF file of `count` whole ellipses of semi-axes 100 and 40, each turned a little more than
// the one before, side by side.
std::string EllipsesDxf(int count);

// A DXF file of two closed LWPOLYLINEs of `vertices` vertices each, the second the first moved:
// a star-shaped outline whose radius wanders without repeating.
std::string TwoPolylinesDxf(int vertices);

// Adds to the open host drawing `shapes` shapes (up to 40,000), each drawn twice: a 10 by 10
// square outline of one segment, its sides cut into 1 to 8 lines (by the shape's number), and
// a segment of two small circles inside it at places of its own. Every shape is a family of
// two, no two alike; all boxes are equal, so only the holes tell them apart. The segments
// added: per shape its outline and holes, then the same of its copy.
std::vector<int> AddBoxedShapes(int shapes);

// Adds `copies` copies of one line, each its own segment, on top of each other, and one square
// of four lines (one segment each) placed three times beside them: a family of three.
std::vector<int> AddCoincidentCopies(int copies);

}  // namespace drawgen

#endif  // BENCH_HOSTILE_DRAWINGS_H
