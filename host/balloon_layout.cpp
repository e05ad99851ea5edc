#include "host/balloon_layout.h"

#include <cmath>

namespace vexhost {

double BalloonRowHeight(double diameter, size_t rows) {
  if (rows <= 1) return 0.4 * diameter;
  if (rows == 2) return 0.28 * diameter;
  return 0.2 * diameter;
}

BalloonShape LayoutBalloon(const BalloonComment& balloon) {
  const BalloonData& b = balloon.record;
  BalloonShape shape;
  shape.cx = b.centerX;
  shape.cy = b.centerY;
  shape.r = b.diameter / 2;
  const double dx = b.anchorX - b.centerX, dy = b.anchorY - b.centerY;
  const double distance = std::hypot(dx, dy);
  shape.leader = b.leader != 0 && distance > shape.r;
  if (shape.leader) {
    shape.anchorX = b.anchorX;
    shape.anchorY = b.anchorY;
    shape.edgeX = b.centerX + dx / distance * shape.r;
    shape.edgeY = b.centerY + dy / distance * shape.r;
  }
  const std::vector<std::u16string>& rows = balloon.rows;
  const double height = BalloonRowHeight(b.diameter, rows.size());
  const double pitch = 1.35 * height;
  const double n = static_cast<double>(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    BalloonRow row;
    row.text = rows[i];
    row.height = height;
    row.centerX = b.centerX;
    row.centerY = b.centerY + ((n - 1) / 2 - static_cast<double>(i)) * pitch;
    shape.rows.push_back(std::move(row));
  }
  return shape;
}

}  // namespace vexhost
