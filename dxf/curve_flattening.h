// Curves the host has no figure for, drawn as lines: splines (NURBS, as DXF gives them: degree,
// knots, control points, weights) and ellipses (and elliptical arcs). A curve is cut where its
// parameter runs (a spline at its knots, an ellipse at quarters of its turn), then each piece is
// halved until the curve lies within the chord tolerance of every line. The cuts depend only on
// the curve's own shape, so equal curves, moved, turned or mirrored, give equal lines.
#ifndef DXF_CURVE_FLATTENING_H
#define DXF_CURVE_FLATTENING_H

#include <vector>

#include "vexlib/vexlib.h"

namespace twinfind::dxf {

// How far (in drawing units) the lines may lie from the curve unless the tool is told otherwise.
inline constexpr double kDefaultChordTolerance = 0.01;
// The finest chord tolerance a curve is drawn at, as a part of its own size (the farthest its
// control points lie from the first one; an ellipse's major radius): finer lines would follow
// the rounding of its numbers, not its shape. A finer tolerance asked for is raised to it.
inline constexpr double kFinestChordPart = 1e-9;
// The most lines one curve becomes, and the drawing's curves together; a curve that needs more
// is not drawn, and the import says why.
inline constexpr size_t kMostCurveLines = 1000000;
inline constexpr size_t kMostDrawingCurveLines = 4000000;
// The most control points (or fit points) of a spline read.
inline constexpr size_t kMostSplinePoints = 1000000;
// The highest degree of a spline read (CAD programs make splines of degree 11 at most).
inline constexpr int kMostSplineDegree = 11;

// Why a curve becomes no lines.
enum class CurveRefusal {
  kNone,
  kInvalid,        // its data make no curve
  kTooManyPoints,  // more than kMostSplinePoints
  kTooManyLines,   // it needs more lines than it was allowed
};

// The lines a curve becomes, or why it becomes none.
struct CurveLines {
  std::vector<FigureRecord> lines;
  CurveRefusal refusal = CurveRefusal::kNone;
  bool coarser = false;  // drawn at kFinestChordPart of its size, coarser than asked
};

struct SplineData {
  int degree = 3;
  std::vector<double> knots;
  std::vector<VexPoint> controlPoints;
  std::vector<double> weights;  // empty: all 1
  std::vector<VexPoint> fitPoints;
};

// The lines of a spline: of its control points when it has them, else straight through its fit
// points. None for a spline whose data do not make one (too few points, knots that do not fit
// the points and degree or run backwards, a weight of 0 or less), that has more points than
// kMostSplinePoints, or that needs more than `mostLines` lines. Time about linear in its
// points, and in the lines it becomes.
CurveLines FlattenSpline(const SplineData& spline, double tolerance,
                         size_t mostLines = kMostCurveLines);

struct EllipseData {
  VexPoint centre{};
  VexPoint majorAxis{};                         // from the centre to one end of the major axis
  double ratio = 1;                             // minor to major axis, 0 < ratio <= 1
  double startParameter = 0, endParameter = 0;  // radians; equal ends: the whole ellipse
  double side = 1;  // -1: seen from below (extrusion 0, 0, -1), it runs clockwise
};

// The lines of an ellipse or elliptical arc; none for one whose data do not make one, or that
// needs more than `mostLines` lines.
CurveLines FlattenEllipse(const EllipseData& ellipse, double tolerance,
                          size_t mostLines = kMostCurveLines);

}  // namespace twinfind::dxf

#endif  // DXF_CURVE_FLATTENING_H
