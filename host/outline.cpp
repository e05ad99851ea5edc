#include "host/outline.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

#include "host/geometry.h"

namespace vexhost {
namespace {

using End = Outline::End;

bool Ends(const FigureRecord& f, End& a, End& b) {
  if (f.kind == VEX_FIG_LINE) {
    a = {f.u.line.x1, f.u.line.y1};
    b = {f.u.line.x2, f.u.line.y2};
    return true;
  }
  if (f.kind == VEX_FIG_ARC) {
    a = {f.u.arc.sx, f.u.arc.sy};
    b = {f.u.arc.ex, f.u.arc.ey};
    return true;
  }
  return false;
}

bool Meet(const End& a, const End& b) { return Distance(a.x, a.y, b.x, b.y) <= kJointTolerance; }

// The figures walked in their own order, each from the end of the one before (in whichever
// direction it meets it), back to where the walk began.
bool ClosesInOwnOrder(const std::vector<End>& ends) {
  const size_t n = ends.size() / 2;
  for (const bool reversedFirst : {false, true}) {
    const End start = ends[reversedFirst ? 1 : 0];
    End at = ends[reversedFirst ? 0 : 1];
    bool walked = true;
    for (size_t i = 1; i < n && walked; ++i) {
      if (Meet(at, ends[2 * i])) {
        at = ends[2 * i + 1];
      } else if (Meet(at, ends[2 * i + 1])) {
        at = ends[2 * i];
      } else {
        walked = false;
      }
    }
    if (walked && Meet(at, start)) return true;
  }
  return false;
}

int Find(std::vector<int>& parent, int i) {
  while (parent[i] != i) i = parent[i] = parent[parent[i]];
  return i;
}

// The figures in any order: the ends that meet (within the joint tolerance, also through
// other ends) make one joint each; one walk through every figure exists when every joint
// joins an even number of ends and the figures hang together in one piece.
bool ClosesInAnyOrder(const std::vector<End>& ends) {
  const int n = static_cast<int>(ends.size());
  std::vector<int> parent(n);
  std::iota(parent.begin(), parent.end(), 0);
  // Ends sorted by x: only neighbours within the tolerance in x can meet.
  std::vector<int> byX(n);
  std::iota(byX.begin(), byX.end(), 0);
  std::sort(byX.begin(), byX.end(), [&](int a, int b) { return ends[a].x < ends[b].x; });
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n && ends[byX[j]].x - ends[byX[i]].x <= kJointTolerance; ++j) {
      if (Meet(ends[byX[i]], ends[byX[j]])) parent[Find(parent, byX[i])] = Find(parent, byX[j]);
    }
  }
  std::vector<int> endsAtJoint(n, 0);
  for (int i = 0; i < n; ++i) ++endsAtJoint[Find(parent, i)];
  for (int i = 0; i < n; ++i) {
    if (endsAtJoint[i] % 2 != 0) return false;
  }
  // The two ends of a figure belong together: then one piece means one root.
  for (int i = 0; i < n; i += 2) parent[Find(parent, i)] = Find(parent, i + 1);
  const int root = Find(parent, 0);
  for (int i = 1; i < n; ++i) {
    if (Find(parent, i) != root) return false;
  }
  return true;
}

using Piece = Outline::Piece;

// Splits a counter-clockwise sweep at the top and bottom of its circle into y-monotone pieces.
// The pieces start at `first` and end at `last` exactly, and meet at the exact top and bottom
// points, so that neighbouring figures share their joints bit for bit.
void AddArcPieces(double cx, double cy, double r, double from, double sweep, End first, End last,
                  std::vector<Piece>& pieces) {
  constexpr double kPi = std::numbers::pi;
  double at = from;
  double left = sweep;
  End start = first;
  while (left > 0) {
    // The next top (pi/2) or bottom (3pi/2) after `at`, going counter-clockwise.
    double next = HUGE_VAL;
    End turnPoint{};
    for (const double turn : {0.5 * kPi, 1.5 * kPi, 2.5 * kPi, 3.5 * kPi}) {
      if (turn > at && turn < next) {
        next = turn;
        turnPoint = {cx, std::sin(turn) > 0 ? cy + r : cy - r};
      }
    }
    const bool lastPiece = next - at >= left;
    const double step = lastPiece ? left : next - at;
    const double mid = at + step / 2;
    const End end = lastPiece ? last : turnPoint;
    pieces.push_back({start, end, true, cx, cy, r, std::cos(mid) >= 0 ? 1.0 : -1.0});
    start = end;
    at += step;
    if (at >= 2 * kPi) at -= 2 * kPi;
    left -= step;
  }
}

}  // namespace

bool IsClosedChain(const std::vector<FigureRecord>& figures) {
  if (figures.size() == 1 && figures[0].kind == VEX_FIG_CIRCLE) return true;
  if (figures.empty()) return false;
  std::vector<End> ends;
  for (const FigureRecord& f : figures) {
    End a{}, b{};
    if (!Ends(f, a, b)) return false;
    ends.push_back(a);
    ends.push_back(b);
  }
  return ClosesInOwnOrder(ends) || ClosesInAnyOrder(ends);
}

double Outline::Piece::XAt(double y) const {
  if (!arc) return p.x + (y - p.y) * (q.x - p.x) / (q.y - p.y);
  const double h = r * r - (y - cy) * (y - cy);
  return cx + side * std::sqrt(h > 0 ? h : 0.0);
}

namespace {

// Beyond this margin around a figure's own box, no point is within the on-outline tolerance of
// it, whatever the rounding of the distance.
double Margin(double a, double b, double c, double d) {
  const double scale = std::max({std::fabs(a), std::fabs(b), std::fabs(c), std::fabs(d), 1.0});
  return 2 * kOnOutlineTolerance + scale * 1e-12;
}

}  // namespace

Outline::Outline(const FigureRecord* figures, int count)
    : figures_(figures, figures + std::max(count, 0)) {
  bool finite = true;
  for (const FigureRecord& f : figures_) {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    if (f.kind == VEX_FIG_LINE) {
      pieces_.push_back(
          {{f.u.line.x1, f.u.line.y1}, {f.u.line.x2, f.u.line.y2}, false, 0, 0, 0, 0});
      minX = std::min(f.u.line.x1, f.u.line.x2), maxX = std::max(f.u.line.x1, f.u.line.x2);
      minY = std::min(f.u.line.y1, f.u.line.y2), maxY = std::max(f.u.line.y1, f.u.line.y2);
    } else if (f.kind == VEX_FIG_ARC) {
      const FigureArc& a = f.u.arc;
      const ArcSweep s = SweepOf(a);
      const End start{a.sx, a.sy}, end{a.ex, a.ey};
      const bool clockwise = a.direction == VEX_ARC_CW;  // its sweep runs from end to start
      AddArcPieces(a.cx, a.cy, std::fabs(a.r), s.from, s.sweep, clockwise ? end : start,
                   clockwise ? start : end, pieces_);
      // Its circle's box and its ends, which the distance falls back on.
      const double r = std::fabs(a.r);
      minX = std::min({a.cx - r, a.sx, a.ex}), maxX = std::max({a.cx + r, a.sx, a.ex});
      minY = std::min({a.cy - r, a.sy, a.ey}), maxY = std::max({a.cy + r, a.sy, a.ey});
    } else if (f.kind == VEX_FIG_CIRCLE) {
      const double r = std::fabs(f.u.circle.r);
      const End east{f.u.circle.cx + r, f.u.circle.cy};
      AddArcPieces(f.u.circle.cx, f.u.circle.cy, r, 0.0, 2 * std::numbers::pi, east, east, pieces_);
      minX = f.u.circle.cx - r, maxX = f.u.circle.cx + r;
      minY = f.u.circle.cy - r, maxY = f.u.circle.cy + r;
    } else {
      // No distance to it: no point lies on it.
      reaches_.push_back({HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL});
      continue;
    }
    const double m = Margin(minX, minY, maxX, maxY);
    finite = finite && std::isfinite(m);
    reaches_.push_back({minX - m, minY - m, maxX + m, maxY + m});
  }
  bounded_ = finite && !pieces_.empty();
  if (bounded_) {
    lowest_ = highest_ = pieces_.front().p.y;
    rightmost_ = pieces_.front().p.x;
    for (size_t i = 0; i < reaches_.size(); ++i) {
      if (figures_[i].kind != VEX_FIG_LINE && figures_[i].kind != VEX_FIG_ARC &&
          figures_[i].kind != VEX_FIG_CIRCLE) {
        continue;
      }
      lowest_ = std::min(lowest_, reaches_[i].minY);
      highest_ = std::max(highest_, reaches_[i].maxY);
      rightmost_ = std::max(rightmost_, reaches_[i].maxX);
    }
  }
}

bool Outline::IsOutside(double x, double y) const {
  // Beyond the outline's reach: on no piece's ray, and on the outline nowhere.
  if (bounded_ && (y < lowest_ || y > highest_ || x > rightmost_)) return true;
  // Count the crossings of a ray to the right; each piece is half-open at its upper end.
  bool inside = false;
  for (const Piece& p : pieces_) {
    if ((p.p.y > y) != (p.q.y > y) && p.XAt(y) > x) inside = !inside;
  }
  if (inside) return false;
  for (size_t i = 0; i < figures_.size(); ++i) {
    if (reaches_[i].Excludes(x, y)) continue;
    const auto distance = DistanceToFigure(figures_[i], x, y);
    if (distance && *distance <= kOnOutlineTolerance) return false;  // on the outline
  }
  return true;
}

bool IsOutside(const FigureRecord* figures, int count, double x, double y) {
  return Outline(figures, count).IsOutside(x, y);
}

}  // namespace vexhost
