#include "engine/figure_match.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "engine/segment_compare.h"

namespace twinfind {

bool Within(double a, double b) { return std::fabs(a - b) < COINCIDE_EPS; }

bool BitEqual(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool FiguresAgree(const FigureRecord& fa, const FigureRecord& fb) {
  if (fa.kind != fb.kind) return false;
  switch (fa.kind) {
    case VEX_FIG_LINE: {
      const FigureLine &a = fa.u.line, &b = fb.u.line;
      return Within(a.x1, b.x1) && Within(a.y1, b.y1) && Within(a.x2, b.x2) && Within(a.y2, b.y2);
    }
    case VEX_FIG_CIRCLE: {
      const FigureCircle &a = fa.u.circle, &b = fb.u.circle;
      return Within(a.cx, b.cx) && Within(a.cy, b.cy) && Within(a.r, b.r) && a.flag == b.flag &&
             a.code == b.code && Within(a.value, b.value);
    }
    case VEX_FIG_ARC: {
      const FigureArc &a = fa.u.arc, &b = fb.u.arc;
      return Within(a.cx, b.cx) && Within(a.cy, b.cy) && Within(a.sx, b.sx) && Within(a.sy, b.sy) &&
             Within(a.ex, b.ex) && Within(a.ey, b.ey) && Within(a.r, b.r) &&
             a.direction == b.direction;
    }
    case VEX_FIG_KIND4: {
      const FigureKind4 &a = fa.u.kind4, &b = fb.u.kind4;
      return Within(a.x1, b.x1) && Within(a.y1, b.y1) && Within(a.x2, b.x2) && Within(a.y2, b.y2) &&
             BitEqual(a.value, b.value);
    }
    case VEX_FIG_KIND5: {
      const FigureKind5 &a = fa.u.kind5, &b = fb.u.kind5;
      return Within(a.x1, b.x1) && Within(a.y1, b.y1) && Within(a.x2, b.x2) && Within(a.y2, b.y2) &&
             Within(a.x3, b.x3) && Within(a.y3, b.y3) && Within(a.a, b.a) && Within(a.b, b.b) &&
             BitEqual(a.c, b.c) && a.code == b.code;
    }
    case VEX_FIG_POINT:
      return Within(fa.u.point.x, fb.u.point.x) && Within(fa.u.point.y, fb.u.point.y);
    default:
      return false;
  }
}

bool AllFiguresMatched(const FigureRecord* a, const FigureRecord* b, int n) {
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
      if (!taken(k) && FiguresAgree(a[i], b[k])) {
        take(k);
        ++matched;
        break;
      }
    }
  }
  return matched == n;
}

}  // namespace twinfind
