#include "engine/placement.h"

#include <algorithm>
#include <cmath>

#include "engine/geometry.h"

namespace twinfind {
namespace {

FigureRecord LineRecord(VexPoint a, VexPoint b) {
  FigureRecord f{};
  f.kind = VEX_FIG_LINE;
  f.u.line = {a.x, a.y, b.x, b.y};
  return f;
}

// p moved by `distance` along the direction `angle`.
VexPoint MoveAlong(VexPoint p, double distance, double angle) {
  return {p.x + distance * std::cos(angle), p.y + distance * std::sin(angle)};
}

}  // namespace

VexBox PlacementWindow(double dTheta, VexPoint pivot, VexPoint target, const VexBox& box) {
  const VexPoint corners[4] = {
      {box.minX, box.minY}, {box.maxX, box.minY}, {box.maxX, box.maxY}, {box.minX, box.maxY}};
  VexBox turned = kResetBox;
  for (const VexPoint& c : corners) {
    const double r = VexAriLen2Pnts(&pivot, &c);
    const VexPoint t = MoveAlong(pivot, r, LineAngle(pivot, c) + dTheta);
    IncludePoint(turned, t.x, t.y);
  }
  turned.minX -= 0.01 * std::fabs(turned.maxX - turned.minX);
  turned.minY -= 0.01 * std::fabs(turned.maxY - turned.minY);
  turned.maxX += 0.01 * std::fabs(turned.maxX - turned.minX);
  turned.maxY += 0.01 * std::fabs(turned.maxY - turned.minY);
  const double distance = VexAriLen2Pnts(&pivot, &target);
  const double direction = LineAngle(pivot, target);
  const VexPoint low = MoveAlong({turned.minX, turned.minY}, distance, direction);
  const VexPoint high = MoveAlong({turned.maxX, turned.maxY}, distance, direction);
  return {low.x, low.y, high.x, high.y};
}

VexBox MirrorWindow(VexPoint lineStart, VexPoint lineEnd, const VexBox& window) {
  const double lowX = std::min(window.minX, window.maxX),
               highX = std::max(window.minX, window.maxX);
  const double lowY = std::min(window.minY, window.maxY),
               highY = std::max(window.minY, window.maxY);
  const VexPoint corners[4] = {{lowX, lowY}, {highX, lowY}, {lowX, highY}, {highX, highY}};
  VexBox mirrored = kResetBox;
  for (const VexPoint& c : corners) {
    const VexPoint r = ReflectPoint(lineStart, lineEnd, c);
    IncludePoint(mirrored, r.x, r.y);
  }
  return mirrored;
}

VexPoint ReflectPoint(VexPoint lineStart, VexPoint lineEnd, VexPoint point) {
  const double phi = LineAngle(lineStart, lineEnd);
  const VexPoint q = MoveAlong(point, 1.0, phi + kPi / 2);
  const FigureRecord axis = LineRecord(lineStart, lineEnd);
  const FigureRecord normal = LineRecord(point, q);
  VexPoint foot{};
  if (VexAriItsLinLin(0, &axis, &normal, &foot) != 1) return point;
  return MoveAlong(foot, VexAriLen2Pnts(&point, &foot), LineAngle(point, foot));
}

}  // namespace twinfind
