#include "dxf/curve_flattening.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>

#include "dxf/figure_geometry.h"

namespace twinfind::dxf {
namespace {

using Curve = std::function<VexPoint(double)>;

// Halvings of one piece at most: 4096 lines a piece.
constexpr int kMostHalvings = 12;

double DistanceToChord(const VexPoint& p, const VexPoint& a, const VexPoint& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  if (length == 0) return std::hypot(p.x - a.x, p.y - a.y);
  return std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / length;
}

// Adds the lines of the curve from parameter a to b (points pa, pb) to `lines`: one line when
// the curve at a quarter, the half and three quarters of the way lies within the tolerance of
// it, else the two halves. False when the lines would pass `most`.
bool Flatten(const Curve& curve, double a, double b, const VexPoint& pa, const VexPoint& pb,
             double tolerance, int depth, size_t most, std::vector<FigureRecord>& lines) {
  const double m = (a + b) / 2;
  const VexPoint pm = curve(m);
  bool flat = depth >= kMostHalvings;
  if (!flat) {
    flat = DistanceToChord(pm, pa, pb) <= tolerance &&
           DistanceToChord(curve((a + m) / 2), pa, pb) <= tolerance &&
           DistanceToChord(curve((m + b) / 2), pa, pb) <= tolerance;
  }
  if (flat) {
    if (pa.x == pb.x && pa.y == pb.y) return true;  // nothing to draw
    if (lines.size() >= most) return false;
    lines.push_back(MakeLine(pa.x, pa.y, pb.x, pb.y));
    return true;
  }
  return Flatten(curve, a, m, pa, pm, tolerance, depth + 1, most, lines) &&
         Flatten(curve, m, b, pm, pb, tolerance, depth + 1, most, lines);
}

CurveLines Refused(CurveRefusal why) {
  CurveLines refused;
  refused.refusal = why;
  return refused;
}

CurveLines Invalid() { return Refused(CurveRefusal::kInvalid); }

// The lines of the curve, of the given size, over the pieces between the cuts given: within the
// tolerance asked, or the finest its size allows.
CurveLines FlattenPieces(const Curve& curve, const std::vector<double>& cuts, double asked,
                         double size, size_t most) {
  CurveLines out;
  const double tolerance = std::max(asked, kFinestChordPart * size);
  out.coarser = tolerance > asked;
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    if (!(cuts[i] < cuts[i + 1])) continue;
    if (!Flatten(curve, cuts[i], cuts[i + 1], curve(cuts[i]), curve(cuts[i + 1]), tolerance, 0,
                 most, out.lines)) {
      return Refused(CurveRefusal::kTooManyLines);
    }
  }
  for (const FigureRecord& f : out.lines) {
    if (!UsableFigure(f)) return Invalid();
  }
  if (out.lines.empty()) return Invalid();
  return out;
}

// A point of the spline by de Boor's algorithm, in homogeneous coordinates for the weights. The
// knot span is found by halving (the knots run forwards), so a point costs the logarithm of the
// spline's size, not a walk along its knots.
VexPoint SplinePoint(const SplineData& s, double t) {
  const int p = s.degree;
  const int n = static_cast<int>(s.controlPoints.size());
  // The span k with knots[k] <= t < knots[k + 1] (the last span for the end), p <= k <= n - 1.
  const auto first = s.knots.begin() + p + 1, last = s.knots.begin() + n;
  const int k = p + static_cast<int>(std::upper_bound(first, last, t) - first);
  std::array<double, kMostSplineDegree + 1> x{}, y{}, w{};
  for (int j = 0; j <= p; ++j) {
    const size_t i = static_cast<size_t>(k - p + j);
    const double weight = s.weights.empty() ? 1 : s.weights[i];
    x[static_cast<size_t>(j)] = s.controlPoints[i].x * weight;
    y[static_cast<size_t>(j)] = s.controlPoints[i].y * weight;
    w[static_cast<size_t>(j)] = weight;
  }
  for (int r = 1; r <= p; ++r) {
    for (int j = p; j >= r; --j) {
      const double left = s.knots[static_cast<size_t>(k - p + j)];
      const double right = s.knots[static_cast<size_t>(k + 1 + j - r)];
      const double alpha = right > left ? (t - left) / (right - left) : 0;
      const size_t J = static_cast<size_t>(j);
      x[J] = (1 - alpha) * x[J - 1] + alpha * x[J];
      y[J] = (1 - alpha) * y[J - 1] + alpha * y[J];
      w[J] = (1 - alpha) * w[J - 1] + alpha * w[J];
    }
  }
  const size_t P = static_cast<size_t>(p);
  return {x[P] / w[P], y[P] / w[P]};
}

bool Finite(const VexPoint& p) { return Usable(p.x) && Usable(p.y); }

// The farthest any of the points lies from the first: no move, turn or mirroring changes it.
double SizeOf(const std::vector<VexPoint>& points) {
  double size = 0;
  for (const VexPoint& p : points) {
    size = std::max(size, std::hypot(p.x - points.front().x, p.y - points.front().y));
  }
  return size;
}

}  // namespace

CurveLines FlattenSpline(const SplineData& s, double tolerance, size_t mostLines) {
  if (!(tolerance > 0) || !std::isfinite(tolerance)) return Invalid();
  if (s.controlPoints.empty()) {
    // Fit points alone: straight through them.
    if (s.fitPoints.size() > kMostSplinePoints) return Refused(CurveRefusal::kTooManyPoints);
    if (s.fitPoints.size() < 2) return Invalid();
    CurveLines out;
    for (size_t i = 0; i + 1 < s.fitPoints.size(); ++i) {
      const VexPoint& a = s.fitPoints[i];
      const VexPoint& b = s.fitPoints[i + 1];
      if (!Finite(a) || !Finite(b)) return Invalid();
      if (a.x == b.x && a.y == b.y) continue;
      if (out.lines.size() >= mostLines) return Refused(CurveRefusal::kTooManyLines);
      out.lines.push_back(MakeLine(a.x, a.y, b.x, b.y));
    }
    if (out.lines.empty()) return Invalid();
    return out;
  }
  const size_t n = s.controlPoints.size();
  const int p = s.degree;
  if (n > kMostSplinePoints) return Refused(CurveRefusal::kTooManyPoints);
  if (p < 1 || p > kMostSplineDegree || n < static_cast<size_t>(p) + 1) return Invalid();
  if (s.knots.size() != n + static_cast<size_t>(p) + 1) return Invalid();
  if (!s.weights.empty() && s.weights.size() != n) return Invalid();
  for (size_t i = 0; i < s.knots.size(); ++i) {
    if (!std::isfinite(s.knots[i]) || (i > 0 && s.knots[i] < s.knots[i - 1])) return Invalid();
  }
  for (const double w : s.weights) {
    if (!(w > 0) || !std::isfinite(w)) return Invalid();
  }
  for (const VexPoint& c : s.controlPoints) {
    if (!Finite(c)) return Invalid();
  }
  // The pieces between the knots the curve runs over.
  std::vector<double> cuts(s.knots.begin() + p, s.knots.end() - p);
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  if (cuts.size() < 2) return Invalid();
  return FlattenPieces([&s](double t) { return SplinePoint(s, t); }, cuts, tolerance,
                       SizeOf(s.controlPoints), mostLines);
}

CurveLines FlattenEllipse(const EllipseData& e, double tolerance, size_t mostLines) {
  if (!(tolerance > 0) || !std::isfinite(tolerance)) return Invalid();
  const double major = std::hypot(e.majorAxis.x, e.majorAxis.y);
  if (!Finite(e.centre) || !Usable(major) || major == 0 || !(e.ratio > 0) || e.ratio > 1 ||
      !std::isfinite(e.startParameter) || !std::isfinite(e.endParameter)) {
    return Invalid();
  }
  constexpr double kTurn = 2 * std::numbers::pi;
  double start = std::fmod(e.startParameter, kTurn);
  double sweep = std::fmod(e.endParameter - e.startParameter, kTurn);
  if (sweep <= 1e-12) sweep += kTurn;  // equal ends: the whole ellipse
  if (start < 0) start += kTurn;
  // The minor axis: the major one turned a quarter in the ellipse's own plane, seen from above
  // or (mirrored) from below.
  const VexPoint minor{-e.side * e.ratio * e.majorAxis.y, e.side * e.ratio * e.majorAxis.x};
  const Curve curve = [&](double t) {
    return VexPoint{e.centre.x + std::cos(t) * e.majorAxis.x + std::sin(t) * minor.x,
                    e.centre.y + std::cos(t) * e.majorAxis.y + std::sin(t) * minor.y};
  };
  // Cut at every quarter of the ellipse's own turn it passes, and at its ends.
  std::vector<double> cuts{start};
  for (double q = std::ceil(start / (kTurn / 4) + 1e-12) * (kTurn / 4); q < start + sweep - 1e-12;
       q += kTurn / 4) {
    cuts.push_back(q);
  }
  cuts.push_back(start + sweep);
  return FlattenPieces(curve, cuts, tolerance, major, mostLines);
}

}  // namespace twinfind::dxf
