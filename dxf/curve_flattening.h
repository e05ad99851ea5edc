// Curves the host has no figure for, drawn as lines: splines (NURBS, as DXF gives them: degree,
// knots, control points, weights) and ellipses (and elliptical arcs). A curve is cut where its
// parameter runs (a spline at its knots, an ellipse at quarters of its turn), then each piece is
// halved until the curve lies within the chord tolerance of every line. The cuts depend only on
// the curve's own shape, so equal curves, moved, turned or mirrored, give equal lines.
#ifndef DXF_CURVE_FLATTENING_H
#define DXF_CURVE_FLATTENING_H

#include <optional>
#include <vector>

#include "vexlib/vexlib.h"

namespace twinfind::dxf {

// How far (in drawing units) the lines may lie from the curve unless the tool is told otherwise.
inline constexpr double kDefaultChordTolerance = 0.01;
// The most lines one curve becomes; a curve that needs more is not drawn.
inline constexpr size_t kMostCurveLines = 100000;
// The highest degree of a spline read (CAD programs make splines of degree 11 at most).
inline constexpr int kMostSplineDegree = 11;

struct SplineData {
  int degree = 3;
  std::vector<double> knots;
  std::vector<VexPoint> controlPoints;
  std::vector<double> weights;  // empty: all 1
  std::vector<VexPoint> fitPoints;
};

// The lines of a spline: of its control points when it has them, else straight through its fit
// points. Nothing for a spline whose data do not make one (too few points, knots that do not
// fit the points and degree or run backwards, a weight of 0 or less, more lines than allowed).
std::optional<std::vector<FigureRecord>> FlattenSpline(const SplineData& spline, double tolerance);

struct EllipseData {
  VexPoint centre{};
  VexPoint majorAxis{};                         // from the centre to one end of the major axis
  double ratio = 1;                             // minor to major axis, 0 < ratio <= 1
  double startParameter = 0, endParameter = 0;  // radians; equal ends: the whole ellipse
  double side = 1;  // -1: seen from below (extrusion 0, 0, -1), it runs clockwise
};

// The lines of an ellipse or elliptical arc; nothing for one whose data do not make one.
std::optional<std::vector<FigureRecord>> FlattenEllipse(const EllipseData& ellipse,
                                                        double tolerance);

}  // namespace twinfind::dxf

#endif  // DXF_CURVE_FLATTENING_H
