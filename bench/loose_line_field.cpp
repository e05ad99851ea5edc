#include "bench/loose_line_field.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <random>
#include <utility>

#include "bench/near_twin_field.h"
#include "host/figures.h"
#include "host/transform.h"

namespace drawgen {
namespace {

constexpr double kRadius = 10.0;

struct Point {
  double x, y;
};

// A jagged polygon about the origin: corners at even angles with random radii, its first side
// of a length that no other side comes within 0.01 of.
std::vector<Point> JaggedPolygon(int corners, std::mt19937& random) {
  std::uniform_real_distribution<double> radius(0.55 * kRadius, kRadius);
  for (;;) {
    std::vector<Point> p;
    for (int k = 0; k < corners; ++k) {
      const double a = 2 * std::numbers::pi * k / corners, r = radius(random);
      p.push_back({r * std::cos(a), r * std::sin(a)});
    }
    auto side = [&](int k) {
      const Point &a = p[k], &b = p[(k + 1) % corners];
      return std::hypot(b.x - a.x, b.y - a.y);
    };
    bool unique = true;
    for (int k = 1; k < corners && unique; ++k) unique = std::fabs(side(k) - side(0)) > 0.01;
    if (unique) return p;
  }
}

int AddLine(Point a, Point b, const vexhost::PlaneMap& where, bool reversed) {
  const int id = VexSgmCreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING);
  const VexPoint s = where.Apply(a.x, a.y), e = where.Apply(b.x, b.y);
  FigureRecord line =
      reversed ? vexhost::MakeLine(e.x, e.y, s.x, s.y) : vexhost::MakeLine(s.x, s.y, e.x, e.y);
  VexFigCreateFigure(id, &line);
  return id;
}

}  // namespace

LooseLineField BuildLooseLineField(int twins, int lines, LineOrder order) {
  std::mt19937 random(1234);
  const std::vector<Point> polygon = JaggedPolygon(lines, random);
  const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(twins))));
  const double cell = 3.0 * kRadius;  // windows of turned twins never reach a neighbour
  LooseLineField field;
  field.twins = twins;
  field.linesPerTwin = lines;
  std::vector<int> all;
  for (int i = 0; i < twins; ++i) {
    const double degrees = i == 0 ? 0.0 : std::fmod(23.7 * i, 360.0);
    const vexhost::PlaneMap where = vexhost::PlaneMap::MoveTurnScale(
        {0, 0}, {cell * (i % columns), cell * (i / columns)}, degrees, 1.0);
    std::vector<int> sides(lines);
    std::iota(sides.begin(), sides.end(), 0);
    const bool reorder = i > 0 && order == LineOrder::kShuffledHalfReversed;
    if (reorder) std::shuffle(sides.begin(), sides.end(), random);
    for (int n = 0; n < lines; ++n) {
      const int k = sides[n];
      // Every other side reversed, the anchor side in every other twin.
      const bool reversed = reorder && (k + i) % 2 == 1;
      const int id = AddLine(polygon[k], polygon[(k + 1) % lines], where, reversed);
      if (i == 0) field.part.push_back(id);
      all.push_back(id);
    }
  }
  field.segments = static_cast<int>(all.size());
  field.partWindow = BoxOfSegments(field.part, 0.5);
  field.rangeWindow = BoxOfSegments(all, 1.0);
  return field;
}

}  // namespace drawgen
