#include "balloon/extreme_point.h"

#include <cmath>

#include "engine/geometry.h"

namespace twinfind {
namespace {

constexpr double kTolerance = 1.0 / 1000000.0;

// The four diagonals, from pi = 4 atan(1).
double Diagonal(int degrees) {
  switch (degrees) {
    case 45:
      return kPi * 0.25;
    case 135:
      return kPi - kPi * 0.25;
    case 225:
      return kPi + kPi * 0.25;
    default:
      return 2 * kPi - kPi * 0.25;
  }
}

// The coordinate a side looks at, whether a value goes beyond the box there, and how the box
// records it.
struct SideRule {
  ExtremeSide side;
  bool Beats(const ExtremeBox& b, double v) const {
    switch (side) {
      case kSideTop:
        return v > b.maxY;
      case kSideLeft:
        return v < b.minX;
      case kSideBottom:
        return v < b.minY;
      default:
        return v > b.maxX;
    }
  }
  void Record(ExtremeBox& b, double v) const {
    switch (side) {
      case kSideTop:
        b.maxY = v;
        break;
      case kSideLeft:
        b.minX = v;
        break;
      case kSideBottom:
        b.minY = v;
        break;
      default:
        b.maxX = v;
    }
  }
  bool vertical() const { return side == kSideTop || side == kSideBottom; }  // looks at y
};

void Take(BalloonAnchor& anchor, ExtremeBox& box, const SideRule& rule, double extreme,
          VexPoint point, int degrees, int elementId, int auxId) {
  rule.Record(box, extreme);
  anchor = {true, elementId, auxId, point, Diagonal(degrees)};
}

void Line(const FigureLine& l, ExtremeBox& box, const SideRule& rule, BalloonAnchor& anchor,
          int element, int aux) {
  const VexPoint mid{(l.x1 + l.x2) / 2, (l.y1 + l.y2) / 2};
  const double v1 = rule.vertical() ? l.y1 : l.x1, v2 = rule.vertical() ? l.y2 : l.x2;
  const double along = rule.vertical() ? std::fabs(l.y1 - l.y2) : std::fabs(l.x1 - l.x2);
  const double across = rule.vertical() ? std::fabs(l.x1 - l.x2) : std::fabs(l.y1 - l.y2);
  const bool parallel = along < kTolerance, notPerpendicular = across >= kTolerance;
  // The diagonals of the table: for the parallel case, for P1 beating, for P2 beating.
  int parallelAngle = 45, p1Angle = 45, p2Angle = 45;
  switch (rule.side) {
    case kSideTop:
      parallelAngle = 45;
      p1Angle = p2Angle = l.x2 > l.x1 ? 45 : 135;
      break;
    case kSideLeft:
      parallelAngle = 135;
      p1Angle = l.y1 < l.y2 ? 135 : 225;
      p2Angle = l.y2 <= l.y1 ? 135 : 225;
      break;
    case kSideBottom:
      parallelAngle = 225;
      p1Angle = l.x2 > l.x1 ? 315 : 225;
      p2Angle = l.x2 <= l.x1 ? 315 : 225;
      break;
    case kSideRight:
      parallelAngle = 45;
      p1Angle = l.y1 < l.y2 ? 45 : 315;
      p2Angle = l.y1 < l.y2 ? 315 : 45;
      break;
  }
  if (parallel && rule.Beats(box, v1)) {
    Take(anchor, box, rule, v1, mid, parallelAngle, element, aux);
  } else if (notPerpendicular) {
    if (rule.Beats(box, v1)) {
      Take(anchor, box, rule, v1, mid, p1Angle, element, aux);
    } else if (rule.Beats(box, v2)) {
      Take(anchor, box, rule, v2, mid, p2Angle, element, aux);
    }
  }
}

void Circle(const FigureCircle& c, ExtremeBox& box, const SideRule& rule, BalloonAnchor& anchor,
            int element, int aux) {
  struct Pick {
    VexPoint p;
    double v;
    int degrees;
  };
  const Pick picks[4] = {{{c.cx, c.cy + c.r}, c.cy + c.r, 45},
                         {{c.cx - c.r, c.cy}, c.cx - c.r, 135},
                         {{c.cx, c.cy - c.r}, c.cy - c.r, 225},
                         {{c.cx + c.r, c.cy}, c.cx + c.r, 45}};
  const Pick& pick = picks[rule.side - 1];
  if (rule.Beats(box, pick.v)) Take(anchor, box, rule, pick.v, pick.p, pick.degrees, element, aux);
}

void Arc(const FigureRecord& f, ExtremeBox& box, const SideRule& rule, BalloonAnchor& anchor,
         int element, int aux) {
  const FigureArc& a = f.u.arc;
  const bool ccw = a.direction == 1;
  struct Angles {
    int startCcw, startCw, endCcw, endCw, extreme;
  };
  const Angles table[4] = {{45, 135, 135, 45, 45},
                           {135, 225, 225, 135, 135},
                           {225, 315, 315, 225, 225},
                           {315, 45, 45, 315, 45}};
  const Angles& t = table[rule.side - 1];
  const double s = rule.vertical() ? a.sy : a.sx, e = rule.vertical() ? a.ey : a.ex;
  if (rule.Beats(box, s)) {
    Take(anchor, box, rule, s, {a.sx, a.sy}, ccw ? t.startCcw : t.startCw, element, aux);
  } else if (rule.Beats(box, e)) {
    Take(anchor, box, rule, e, {a.ex, a.ey}, ccw ? t.endCcw : t.endCw, element, aux);
  }
  const VexPoint q[4] = {
      {a.cx, a.cy + a.r}, {a.cx - a.r, a.cy}, {a.cx, a.cy - a.r}, {a.cx + a.r, a.cy}};
  const VexPoint& p = q[rule.side - 1];
  const double v = rule.vertical() ? p.y : p.x;
  if (VexAriOnchkArc(&f, &p) == 2 && rule.Beats(box, v)) {
    Take(anchor, box, rule, v, p, t.extreme, element, aux);
  }
}

}  // namespace

bool FindExtremePoint(const SegmentRef& segment, ExtremeBox& box, ExtremeSide side,
                      BalloonAnchor& anchor) {
  const SideRule rule{side};
  for (int e = VexSgmGetHeadElementId(segment.segmentId); e != -1; e = VexElmGetNextElementId(e)) {
    FigureRecord f{};
    const SegmentRef element{segment.auxId, e};
    if (VexFigGetFigure(&element, &f) == -1) continue;
    switch (f.kind) {
      case VEX_FIG_LINE:
        Line(f.u.line, box, rule, anchor, e, segment.auxId);
        break;
      case VEX_FIG_CIRCLE:
        Circle(f.u.circle, box, rule, anchor, e, segment.auxId);
        break;
      case VEX_FIG_ARC:
        Arc(f, box, rule, anchor, e, segment.auxId);
        break;
      default:
        break;
    }
  }
  return true;
}

}  // namespace twinfind
