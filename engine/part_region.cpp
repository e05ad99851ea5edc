#include "engine/part_region.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "engine/geometry.h"

namespace twinfind {
namespace {

// Corners of the polygon drawn just outside a circle (a point of the curve lies inside it): few
// for what is tested against a hull, many for a hull.
constexpr int kRoundCorners = 16;
constexpr int kCloseCorners = 72;

double Cross(const VexPoint& o, const VexPoint& a, const VexPoint& b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// The points of the polygon along the arc from angle `from` through `sweep` (radians,
// counter-clockwise) about the centre: its ends, and corners on the tangents between them, or on
// the arc itself.
void ArcPoints(double cx, double cy, double r, double from, double sweep, FigureSide side,
               std::vector<VexPoint>& out) {
  const int corners = side == FigureSide::kOutside ? kRoundCorners : kCloseCorners;
  const int steps = std::max(1, static_cast<int>(std::ceil(sweep / (2 * kPi / corners))));
  const double step = sweep / steps;
  const double outer = r / std::cos(step / 2);  // the tangents at two samples meet there
  out.push_back({cx + r * std::cos(from), cy + r * std::sin(from)});
  for (int i = 0; i < steps; ++i) {
    const double middle = from + (i + 0.5) * step;
    out.push_back({cx + outer * std::cos(middle), cy + outer * std::sin(middle)});
  }
  out.push_back({cx + r * std::cos(from + sweep), cy + r * std::sin(from + sweep)});
}

}  // namespace

void BoundingPoints(const FigureRecord& f, std::vector<VexPoint>& out, FigureSide side) {
  switch (f.kind) {
    case VEX_FIG_LINE:
      out.push_back({f.u.line.x1, f.u.line.y1});
      out.push_back({f.u.line.x2, f.u.line.y2});
      break;
    case VEX_FIG_CIRCLE:
      ArcPoints(f.u.circle.cx, f.u.circle.cy, f.u.circle.r, 0, 2 * kPi, side, out);
      break;
    case VEX_FIG_ARC: {
      const FigureArc& a = f.u.arc;
      const double start = std::atan2(a.sy - a.cy, a.sx - a.cx);
      const double end = std::atan2(a.ey - a.cy, a.ex - a.cx);
      // Counter-clockwise from the start, or from the end for a clockwise arc.
      const bool ccw = a.direction != VEX_ARC_CW;
      const double from = ccw ? start : end;
      double sweep = (ccw ? end : start) - from;
      if (sweep <= 0) sweep += 2 * kPi;
      ArcPoints(a.cx, a.cy, a.r, from, sweep, side, out);
      break;
    }
    case VEX_FIG_POINT:
      out.push_back({f.u.point.x, f.u.point.y});
      break;
    case VEX_FIG_KIND4:
      out.push_back({f.u.kind4.x1, f.u.kind4.y1});
      out.push_back({f.u.kind4.x2, f.u.kind4.y2});
      break;
    case VEX_FIG_KIND5:
      out.push_back({f.u.kind5.x1, f.u.kind5.y1});
      out.push_back({f.u.kind5.x2, f.u.kind5.y2});
      out.push_back({f.u.kind5.x3, f.u.kind5.y3});
      break;
    default:
      break;
  }
}

void PartRegion::Build(const std::vector<CopySource>& sources, double tolerance) {
  FindOuterOutline(sources, tolerance);
  // Corners just outside the curves, many of them: the hull holds every point of the part's
  // curves whichever way the part is turned, and reaches past them by less than a thousandth of
  // their radius.
  std::vector<VexPoint> points;
  for (const CopySource& s : sources) {
    for (const FigureRecord& f : s.figures.figures) {
      BoundingPoints(f, points, FigureSide::kCloseOutside);
    }
  }
  std::erase_if(points,
                [](const VexPoint& p) { return !std::isfinite(p.x) || !std::isfinite(p.y); });
  std::sort(points.begin(), points.end(), [](const VexPoint& a, const VexPoint& b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
  });
  // Andrew's monotone chain.
  hull_.clear();
  if (points.size() >= 3) {
    std::vector<VexPoint> h(2 * points.size());
    size_t k = 0;
    for (const VexPoint& p : points) {
      while (k >= 2 && Cross(h[k - 2], h[k - 1], p) <= 0) --k;
      h[k++] = p;
    }
    for (size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
      while (k >= lower && Cross(h[k - 2], h[k - 1], points[i]) <= 0) --k;
      h[k++] = points[i];
    }
    h.resize(k - 1);
    hull_ = std::move(h);
  }
  if (hull_.size() < 3) {
    // A part along one line (or at one point): the thin rectangle around it.
    if (points.empty()) return;
    const VexPoint p = points.front(), q = points.back();
    const double length = std::hypot(q.x - p.x, q.y - p.y);
    const VexPoint d =
        length > 0 ? VexPoint{(q.x - p.x) / length, (q.y - p.y) / length} : VexPoint{1, 0};
    const VexPoint n{-d.y * tolerance, d.x * tolerance}, a{d.x * tolerance, d.y * tolerance};
    hull_ = {{p.x - a.x - n.x, p.y - a.y - n.y},
             {q.x + a.x - n.x, q.y + a.y - n.y},
             {q.x + a.x + n.x, q.y + a.y + n.y},
             {p.x - a.x + n.x, p.y - a.y + n.y}};
    MeasureHull();
    return;
  }
  // Grown by the tolerance: each corner pushed out along the bisector of its edges' normals.
  std::vector<VexPoint> grown(hull_.size());
  for (size_t i = 0; i < hull_.size(); ++i) {
    const VexPoint& prev = hull_[(i + hull_.size() - 1) % hull_.size()];
    const VexPoint& here = hull_[i];
    const VexPoint& next = hull_[(i + 1) % hull_.size()];
    auto normal = [](const VexPoint& a, const VexPoint& b) {
      const double dx = b.x - a.x, dy = b.y - a.y, n = std::hypot(dx, dy);
      return VexPoint{dy / n, -dx / n};  // outwards of a counter-clockwise edge
    };
    const VexPoint n1 = normal(prev, here), n2 = normal(here, next);
    const double dot = n1.x * n2.x + n1.y * n2.y;
    const double scale = tolerance / std::max(1 + dot, 1e-3);  // the miter's reach
    grown[i] = {here.x + (n1.x + n2.x) * scale, here.y + (n1.y + n2.y) * scale};
  }
  hull_ = std::move(grown);
  MeasureHull();
}

void PartRegion::MeasureHull() {
  double area = 0, cx = 0, cy = 0;
  for (size_t i = 0; i < hull_.size(); ++i) {
    const VexPoint& p = hull_[i];
    const VexPoint& q = hull_[(i + 1) % hull_.size()];
    const double cross = p.x * q.y - q.x * p.y;
    area += cross;
    cx += (p.x + q.x) * cross;
    cy += (p.y + q.y) * cross;
  }
  if (std::fabs(area) > 0) {
    centre_ = {cx / (3 * area), cy / (3 * area)};
  } else {
    centre_ = hull_.front();
  }
  inradius_ = HUGE_VAL;
  for (size_t i = 0; i < hull_.size(); ++i) {
    const VexPoint& p = hull_[i];
    const VexPoint& q = hull_[(i + 1) % hull_.size()];
    const double length = std::hypot(q.x - p.x, q.y - p.y);
    if (length > 0) inradius_ = std::min(inradius_, Cross(p, q, centre_) / length);
  }
  if (!std::isfinite(inradius_) || inradius_ < 0) inradius_ = 0;
}

bool PartRegion::HullHolds(const std::vector<FigureRecord>& figures) const {
  if (hull_.empty()) return true;
  std::vector<VexPoint> points;
  for (const FigureRecord& f : figures) BoundingPoints(f, points);
  for (const VexPoint& p : points) {
    for (size_t i = 0; i < hull_.size(); ++i) {
      if (Cross(hull_[i], hull_[(i + 1) % hull_.size()], p) < 0) return false;
    }
  }
  return !points.empty();
}

bool PartRegion::Forgives(const SegmentFigures& segment, const PlaneMap& motion) const {
  const PlaneMap back = motion.Inverse();
  placed_.ref = segment.ref;
  placed_.ok = segment.ok;
  placed_.hasHole = segment.hasHole;
  placed_.figures.resize(segment.figures.size());
  for (size_t i = 0; i < segment.figures.size(); ++i) {
    placed_.figures[i] = PlaceFigure(segment.figures[i], back);
  }
  if (!HullHolds(placed_.figures)) return true;
  if (outline_.empty()) return false;
  const InsideAnswer answer =
      IsInsideOutline(outline_.data(), static_cast<int>(outline_.size()), placed_);
  return answer.handled && !answer.inside;
}

namespace {

struct Chain {
  std::vector<const FigureRecord*> figures;
  double size = 0;  // the larger side of its box
  bool closed = true;
};

// The chains the lines and arcs form, figure ends within the tolerance taken as joined, strokes
// with a free end left out: a chain is closed when every joint holds an even number of ends.
std::vector<Chain> ChainsOf(const std::vector<const FigureRecord*>& figures, double tolerance) {
  const double cell = std::max(2 * tolerance, 1e-9);
  std::unordered_map<long long, std::vector<size_t>> grid;  // cell -> joints
  std::vector<VexPoint> joints;
  std::vector<int> ends;  // per joint, the figure ends meeting there
  auto jointAt = [&](VexPoint p) -> size_t {
    const long long cx = static_cast<long long>(std::floor(p.x / cell));
    const long long cy = static_cast<long long>(std::floor(p.y / cell));
    for (long long dx = -1; dx <= 1; ++dx) {
      for (long long dy = -1; dy <= 1; ++dy) {
        const auto it = grid.find((cx + dx) * 1000003LL + (cy + dy));
        if (it == grid.end()) continue;
        for (const size_t j : it->second) {
          if (std::hypot(joints[j].x - p.x, joints[j].y - p.y) <= tolerance) return j;
        }
      }
    }
    joints.push_back(p);
    ends.push_back(0);
    grid[cx * 1000003LL + cy].push_back(joints.size() - 1);
    return joints.size() - 1;
  };
  std::vector<size_t> jointOf(figures.size(), SIZE_MAX), otherJointOf(figures.size(), SIZE_MAX);
  std::vector<std::vector<size_t>> meeting;  // per joint, the figures ending there
  for (size_t i = 0; i < figures.size(); ++i) {
    const FigureRecord& f = *figures[i];
    const VexPoint a = f.kind == VEX_FIG_LINE ? VexPoint{f.u.line.x1, f.u.line.y1}
                                              : VexPoint{f.u.arc.sx, f.u.arc.sy};
    const VexPoint b = f.kind == VEX_FIG_LINE ? VexPoint{f.u.line.x2, f.u.line.y2}
                                              : VexPoint{f.u.arc.ex, f.u.arc.ey};
    if (!std::isfinite(a.x + a.y + b.x + b.y)) continue;
    const size_t ja = jointAt(a), jb = jointAt(b);
    meeting.resize(joints.size());
    ++ends[ja];
    ++ends[jb];
    jointOf[i] = ja;
    otherJointOf[i] = jb;
    meeting[ja].push_back(i);
    meeting[jb].push_back(i);
  }
  meeting.resize(joints.size());
  // Strokes hanging off an outline (a tick, a line along an edge that ends on it) are no part of
  // it: figures with a free end are left out, and those left free by that in turn.
  std::vector<size_t> free;
  for (size_t j = 0; j < joints.size(); ++j) {
    if (ends[j] == 1) free.push_back(j);
  }
  while (!free.empty()) {
    const size_t j = free.back();
    free.pop_back();
    for (const size_t i : meeting[j]) {
      if (jointOf[i] == SIZE_MAX) continue;
      const size_t other = jointOf[i] == j ? otherJointOf[i] : jointOf[i];
      jointOf[i] = SIZE_MAX;
      --ends[j];
      if (--ends[other] == 1) free.push_back(other);
      break;
    }
  }
  std::vector<std::pair<size_t, size_t>> links;
  for (size_t i = 0; i < figures.size(); ++i) {
    if (jointOf[i] != SIZE_MAX) links.push_back({jointOf[i], otherJointOf[i]});
  }
  std::vector<size_t> parent(joints.size());
  for (size_t j = 0; j < parent.size(); ++j) parent[j] = j;
  auto root = [&](size_t j) {
    while (parent[j] != j) j = parent[j] = parent[parent[j]];
    return j;
  };
  for (const auto& [a, b] : links) parent[root(a)] = root(b);
  std::unordered_map<size_t, size_t> chainOf;  // root joint -> chain
  std::vector<Chain> chains;
  for (size_t j = 0; j < joints.size(); ++j) {
    const auto [it, added] = chainOf.try_emplace(root(j), chains.size());
    if (added) chains.emplace_back();
    chains[it->second].closed = chains[it->second].closed && ends[j] % 2 == 0;
  }
  std::vector<VexBox> boxes(chains.size(), VexBox{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL});
  for (size_t i = 0; i < figures.size(); ++i) {
    if (jointOf[i] == SIZE_MAX) continue;
    const size_t c = chainOf[root(jointOf[i])];
    chains[c].figures.push_back(figures[i]);
    std::vector<VexPoint> points;
    BoundingPoints(*figures[i], points);
    VexBox& box = boxes[c];
    for (const VexPoint& p : points) {
      box = {std::min(box.minX, p.x), std::min(box.minY, p.y), std::max(box.maxX, p.x),
             std::max(box.maxY, p.y)};
    }
  }
  for (size_t c = 0; c < chains.size(); ++c) {
    chains[c].size = std::max(boxes[c].maxX - boxes[c].minX, boxes[c].maxY - boxes[c].minY);
  }
  return chains;
}

}  // namespace

// The outer outline is the closed outline that reaches farthest: a segment whose figures form
// one closed chain (a closed polyline), a circle, or a closed chain of the lines and arcs of
// the part's other segments (a part drawn as loose lines).
void PartRegion::FindOuterOutline(const std::vector<CopySource>& sources, double tolerance) {
  outline_.clear();
  ground_.clear();
  double widest = -1;
  const auto take = [&](const std::vector<const FigureRecord*>& figures, double size) {
    for (const FigureRecord* f : figures) ground_.push_back(*f);
    if (size <= widest) return;
    widest = size;
    outline_.clear();
    for (const FigureRecord* f : figures) outline_.push_back(*f);
  };
  std::vector<const FigureRecord*> loose;
  for (const CopySource& s : sources) {
    std::vector<const FigureRecord*> own;
    for (const FigureRecord& f : s.figures.figures) {
      if (f.kind == VEX_FIG_LINE || f.kind == VEX_FIG_ARC) own.push_back(&f);
      if (f.kind == VEX_FIG_CIRCLE) take({&f}, 2 * f.u.circle.r);
    }
    const std::vector<Chain> chains = ChainsOf(own, tolerance);
    if (chains.size() == 1 && chains[0].closed && chains[0].figures.size() == own.size()) {
      take(chains[0].figures, chains[0].size);
    } else {
      loose.insert(loose.end(), own.begin(), own.end());
    }
  }
  for (const Chain& chain : ChainsOf(loose, tolerance)) {
    if (chain.closed) take(chain.figures, chain.size);
  }
}

}  // namespace twinfind
