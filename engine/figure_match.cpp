#include "engine/figure_match.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace twinfind {

namespace {

// What rounding adds to a difference of numbers of this size: a few units in their last place.
double Rounding(double a, double b) {
  return 8 * std::numeric_limits<double>::epsilon() * std::max({1.0, std::fabs(a), std::fabs(b)});
}

}  // namespace

bool Within(double a, double b, double tolerance) {
  return std::fabs(a - b) < tolerance + Rounding(a, b);
}

bool PointsWithin(double ax, double ay, double bx, double by, double tolerance) {
  const double reach = tolerance + Rounding(std::max(std::fabs(ax), std::fabs(ay)),
                                            std::max(std::fabs(bx), std::fabs(by)));
  return std::hypot(ax - bx, ay - by) < reach;
}

bool BitEqual(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

FigureRecord ReversedFigure(const FigureRecord& figure) {
  FigureRecord f = figure;
  if (f.kind == VEX_FIG_LINE) {
    std::swap(f.u.line.x1, f.u.line.x2);
    std::swap(f.u.line.y1, f.u.line.y2);
  } else if (f.kind == VEX_FIG_ARC) {
    std::swap(f.u.arc.sx, f.u.arc.ex);
    std::swap(f.u.arc.sy, f.u.arc.ey);
    if (f.u.arc.direction == VEX_ARC_CCW) {
      f.u.arc.direction = VEX_ARC_CW;
    } else if (f.u.arc.direction == VEX_ARC_CW) {
      f.u.arc.direction = VEX_ARC_CCW;
    }
  }
  return f;
}

bool FiguresAgree(const FigureRecord& fa, const FigureRecord& fb, double t) {
  if (fa.kind != fb.kind) return false;
  switch (fa.kind) {
    case VEX_FIG_LINE: {
      const FigureLine &a = fa.u.line, &b = fb.u.line;
      return PointsWithin(a.x1, a.y1, b.x1, b.y1, t) && PointsWithin(a.x2, a.y2, b.x2, b.y2, t);
    }
    case VEX_FIG_CIRCLE: {
      const FigureCircle &a = fa.u.circle, &b = fb.u.circle;
      return PointsWithin(a.cx, a.cy, b.cx, b.cy, t) && Within(a.r, b.r, t) && a.flag == b.flag &&
             a.code == b.code && Within(a.value, b.value, t);
    }
    case VEX_FIG_ARC: {
      const FigureArc &a = fa.u.arc, &b = fb.u.arc;
      return PointsWithin(a.cx, a.cy, b.cx, b.cy, t) && PointsWithin(a.sx, a.sy, b.sx, b.sy, t) &&
             PointsWithin(a.ex, a.ey, b.ex, b.ey, t) && Within(a.r, b.r, t) &&
             a.direction == b.direction;
    }
    case VEX_FIG_KIND4: {
      const FigureKind4 &a = fa.u.kind4, &b = fb.u.kind4;
      return PointsWithin(a.x1, a.y1, b.x1, b.y1, t) && PointsWithin(a.x2, a.y2, b.x2, b.y2, t) &&
             BitEqual(a.value, b.value);
    }
    case VEX_FIG_KIND5: {
      const FigureKind5 &a = fa.u.kind5, &b = fb.u.kind5;
      return PointsWithin(a.x1, a.y1, b.x1, b.y1, t) && PointsWithin(a.x2, a.y2, b.x2, b.y2, t) &&
             PointsWithin(a.x3, a.y3, b.x3, b.y3, t) && Within(a.a, b.a, t) &&
             Within(a.b, b.b, t) && BitEqual(a.c, b.c) && a.code == b.code;
    }
    case VEX_FIG_POINT:
      return PointsWithin(fa.u.point.x, fa.u.point.y, fb.u.point.x, fb.u.point.y, t);
    default:
      return false;
  }
}

bool AllFiguresMatched(const FigureRecord* a, const FigureRecord* b, int n, double tolerance) {
  // Fixed storage for the usual sizes; this runs in the innermost loop of the search.
  constexpr int kSmall = 128;
  bool small[kSmall] = {};
  std::vector<bool> large(n > kSmall ? n : 0, false);
  auto taken = [&](int k) -> bool { return n > kSmall ? large[k] : small[k]; };
  auto take = [&](int k) {
    if (n > kSmall) {
      large[k] = true;
    } else {
      small[k] = true;
    }
  };
  int matched = 0;
  for (int i = 0; i < n; ++i) {
    for (int k = 0; k < n; ++k) {
      if (!taken(k) && FiguresAgree(a[i], b[k], tolerance)) {
        take(k);
        ++matched;
        break;
      }
    }
  }
  return matched == n;
}

}  // namespace twinfind
