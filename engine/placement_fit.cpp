#include "engine/placement_fit.h"

#include <algorithm>
#include <cmath>

namespace twinfind {
namespace {

// The points the fit takes of the part at most, spread from the anchor outwards.
constexpr size_t kMostPoints = 48;
// A fit stands only when at least this share of the points found a twin point.
constexpr double kFoundShare = 0.75;

// The points a figure is placed by: a line's ends, a circle's centre, an arc's centre and ends,
// a point; the other kinds their own points.
template <typename Add>
void KeyPoints(const FigureRecord& f, Add add) {
  switch (f.kind) {
    case VEX_FIG_LINE:
      add(VexPoint{f.u.line.x1, f.u.line.y1});
      add(VexPoint{f.u.line.x2, f.u.line.y2});
      break;
    case VEX_FIG_CIRCLE:
      add(VexPoint{f.u.circle.cx, f.u.circle.cy});
      break;
    case VEX_FIG_ARC:
      add(VexPoint{f.u.arc.cx, f.u.arc.cy});
      add(VexPoint{f.u.arc.sx, f.u.arc.sy});
      add(VexPoint{f.u.arc.ex, f.u.arc.ey});
      break;
    case VEX_FIG_POINT:
      add(VexPoint{f.u.point.x, f.u.point.y});
      break;
    case VEX_FIG_KIND4:
      add(VexPoint{f.u.kind4.x1, f.u.kind4.y1});
      add(VexPoint{f.u.kind4.x2, f.u.kind4.y2});
      break;
    case VEX_FIG_KIND5:
      add(VexPoint{f.u.kind5.x1, f.u.kind5.y1});
      add(VexPoint{f.u.kind5.x2, f.u.kind5.y2});
      add(VexPoint{f.u.kind5.x3, f.u.kind5.y3});
      break;
    default:
      break;
  }
}

double Distance(VexPoint a, VexPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The turn and move that lay `from` on `to` best in the least-squares sense (a mirror image
// first when `flips`): to ~ R(t) M from + d.
PlaneMap Fitted(const std::vector<VexPoint>& from, const std::vector<VexPoint>& to, bool flips) {
  const double n = static_cast<double>(from.size());
  double fx = 0, fy = 0, tx = 0, ty = 0;
  for (size_t i = 0; i < from.size(); ++i) {
    fx += flips ? -from[i].x : from[i].x;
    fy += from[i].y;
    tx += to[i].x;
    ty += to[i].y;
  }
  fx /= n, fy /= n, tx /= n, ty /= n;
  double dot = 0, cross = 0;
  for (size_t i = 0; i < from.size(); ++i) {
    const double px = (flips ? -from[i].x : from[i].x) - fx, py = from[i].y - fy;
    const double qx = to[i].x - tx, qy = to[i].y - ty;
    dot += px * qx + py * qy;
    cross += px * qy - py * qx;
  }
  const double t = std::atan2(cross, dot), c = std::cos(t), s = std::sin(t);
  // x' = c (m x) - s y + dx, with m = -1 for a mirror image.
  const double m = flips ? -1 : 1;
  return {c * m, -s, s * m, c, tx - (c * fx - s * fy), ty - (s * fx + c * fy)};
}

}  // namespace

void PlacementFit::Prepare(const std::vector<CopySource>& sources, VexPoint anchorStart,
                           double anchorLength, bool turns, double tolerance) {
  start_ = anchorStart;
  length_ = anchorLength;
  turns_ = turns && anchorLength > 0;
  tolerance_ = tolerance;
  std::vector<PartPoint> all;
  for (const CopySource& s : sources) {
    for (const FigureRecord& f : s.figures.figures) {
      KeyPoints(f, [&](VexPoint p) {
        if (std::isfinite(p.x) && std::isfinite(p.y)) all.push_back({p, Distance(p, start_)});
      });
    }
  }
  std::sort(all.begin(), all.end(),
            [](const PartPoint& a, const PartPoint& b) { return a.distance < b.distance; });
  reach_ = all.empty() ? 0 : all.back().distance;
  // Spread over the distances: every k-th, and the farthest.
  points_.clear();
  const size_t step = std::max<size_t>(1, (all.size() + kMostPoints - 1) / kMostPoints);
  for (size_t i = 0; i < all.size(); i += step) points_.push_back(all[i]);
  if (!all.empty() && points_.back().distance < all.back().distance) points_.push_back(all.back());
}

double PlacementFit::Slack(double distance) const {
  return turns_ ? tolerance_ * (1 + 2 * distance / length_) : tolerance_;
}

void PlacementFit::FileWindow(const std::vector<SegmentFigures>& window, size_t count) {
  window_.clear();
  for (size_t w = 0; w < count && w < window.size(); ++w) {
    for (const FigureRecord& f : window[w].figures) {
      KeyPoints(f, [&](VexPoint p) {
        if (std::isfinite(p.x) && std::isfinite(p.y)) window_.push_back(p);
      });
    }
  }
  std::sort(window_.begin(), window_.end(),
            [](const VexPoint& a, const VexPoint& b) { return a.x < b.x; });
}

std::optional<VexPoint> PlacementFit::Nearest(VexPoint p, double radius) const {
  auto it = std::lower_bound(window_.begin(), window_.end(), p.x - radius,
                             [](const VexPoint& q, double x) { return q.x < x; });
  std::optional<VexPoint> best;
  double nearest = radius;
  for (; it != window_.end() && it->x <= p.x + radius; ++it) {
    const double d = Distance(p, *it);
    if (d <= nearest) {
      nearest = d;
      best = *it;
    }
  }
  return best;
}

std::optional<PlaneMap> PlacementFit::Refit(const PlaneMap& placement,
                                            const std::vector<SegmentFigures>& window,
                                            size_t count) {
  if (points_.size() < 3 || !turns_) return std::nullopt;
  FileWindow(window, count);
  const bool flips = placement.flips();
  std::vector<VexPoint> from, to;
  PlaneMap fit = placement;
  double fitted = length_;  // how far from the start the points fitted so far reach
  // Past this many misses the fit cannot stand: most trials are no twin at all and end here.
  const size_t mayMiss =
      points_.size() -
      static_cast<size_t>(std::ceil(kFoundShare * static_cast<double>(points_.size())));
  size_t missed = 0;
  for (const PartPoint& p : points_) {
    // Farther than twice the points fitted so far: the fit is made again first, so that the
    // placement's error near this point is the tolerance's few times at most.
    if (p.distance > 2 * fitted && from.size() >= 2) {
      fit = Fitted(from, to, flips);
      fitted = std::max(fitted, from.size() ? Distance(from.back(), start_) : 0.0);
    }
    const double slack = tolerance_ * (1 + 2 * p.distance / std::max(fitted, length_));
    const auto found = Nearest(fit.Apply(p.at.x, p.at.y), slack);
    if (!found) {
      if (++missed > mayMiss) return std::nullopt;
      continue;
    }
    from.push_back(p.at);
    to.push_back(*found);
  }
  if (from.size() < 3 ||
      static_cast<double>(from.size()) < kFoundShare * static_cast<double>(points_.size())) {
    return std::nullopt;
  }
  fit = Fitted(from, to, flips);
  // A fit that moves no point by a tenth of the tolerance changes nothing.
  double moved = 0;
  for (const VexPoint& p : from) {
    const VexPoint a = fit.Apply(p.x, p.y), b = placement.Apply(p.x, p.y);
    moved = std::max(moved, Distance(a, b));
  }
  if (moved < 0.1 * tolerance_) return std::nullopt;
  return fit;
}

}  // namespace twinfind
