#include "testkit/twin_drawing.h"

#include <cmath>
#include <numbers>
#include <random>

#include "host/figures.h"
#include "host/host.h"
#include "host/transform.h"

namespace drawgen {
namespace {

using vexhost::MakeCircle;
using vexhost::MakeLine;

FigureRecord Line(double x1, double y1, double x2, double y2) { return MakeLine(x1, y1, x2, y2); }
FigureRecord Circle(double cx, double cy, double r) { return MakeCircle(cx, cy, r); }

// A counter-clockwise arc about (cx, cy) from angle a0 to a1 (degrees).
FigureRecord Arc(double cx, double cy, double r, double a0, double a1) {
  const double k = std::numbers::pi / 180.0;
  return vexhost::MakeArc(cx, cy, r, cx + r * std::cos(a0 * k), cy + r * std::sin(a0 * k),
                          cx + r * std::cos(a1 * k), cy + r * std::sin(a1 * k));
}

}  // namespace

twinfind::PlaneMap MapOf(const Placement& p) {
  twinfind::PlaneMap turn = twinfind::PlaneMap::MoveTurnScale({0, 0}, {p.x, p.y}, p.degrees, 1.0);
  if (!p.mirrored) return turn;
  twinfind::PlaneMap mirror;
  twinfind::PlaneMap::Mirror({0, 0}, {1, 0}, mirror);
  return turn.After(mirror);
}

namespace {

int AddSegment(const std::vector<FigureRecord>& figures, const twinfind::PlaneMap& where,
               const Placement& p, bool reversed) {
  const int id = VexSgmCreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING);
  for (const FigureRecord& f : figures) {
    FigureRecord placed = twinfind::PlaceFigure(f, where);
    if (reversed) placed = vexhost::Reverse(placed);
    const int element = VexFigCreateFigure(id, &placed);
    LineAttr attr{p.color, 0, 0, 0, 0, 0};
    VexFigSetLineType2(element, &attr);
  }
  if (reversed) vexhost::TheHost().drawing.ReverseElementOrder(id);
  VexSgmChangeLayer(id, p.layer);
  return id;
}

}  // namespace

TwinDrawing::TwinDrawing(uint32_t seed, int segmentCount) : clutterSeed_(seed * 7919u + 1u) {
  std::mt19937 random(seed);
  auto uniform = [&](double a, double b) {
    return std::uniform_real_distribution<double>(a, b)(random);
  };
  const double w = uniform(30, 60), h = uniform(0.45, 0.75) * w;
  const double r1 = uniform(0.12, 0.25) * h;
  const double r2 = random() % 2 == 0 ? 0.0 : uniform(0.1, 0.2) * h;
  width_ = w;
  height_ = h;
  cornerRadius_ = r1;

  // The outline: the anchor along the bottom, then round the part counter-clockwise.
  std::vector<FigureRecord> outline = {Line(0, 0, w, 0), Line(w, 0, w, h - r1),
                                       Arc(w - r1, h - r1, r1, 0, 90), Line(w - r1, h, r2, h)};
  if (r2 > 0) outline.push_back(Arc(r2, h - r2, r2, 90, 180));
  outline.push_back(Line(0, h - r2, 0, 0));
  part_.push_back(outline);

  // One to three holes in the lower middle.
  const int holes = 1 + static_cast<int>(random() % 3);
  for (int i = 0; i < holes; ++i) {
    part_.push_back({Circle(w * (0.3 + 0.2 * i) + uniform(-1, 1), h * 0.35 + uniform(-1, 1),
                            uniform(0.04, 0.08) * h)});
  }
  // A slot across the upper middle.
  const double sy = 0.72 * h, s = 0.06 * h, x0 = 0.22 * w, x1 = x0 + uniform(0.12, 0.28) * w;
  part_.push_back({Line(x0, sy - s, x1, sy - s), Arc(x1, sy, s, 270, 450),
                   Line(x1, sy + s, x0, sy + s), Arc(x0, sy, s, 90, 270)});
  // An open polyline in the lower left.
  polylineIndex_ = static_cast<int>(part_.size());
  const double px = 0.08 * w, py = 0.1 * h;
  part_.push_back({Line(px, py, px + 0.1 * w, py + 0.08 * h),
                   Line(px + 0.1 * w, py + 0.08 * h, px + 0.17 * w, py + 0.02 * h),
                   Line(px + 0.17 * w, py + 0.02 * h, px + 0.2 * w, py + 0.12 * h)});
  // Small holes on a grid in the middle band, up to the count asked for.
  const int extra = segmentCount - static_cast<int>(part_.size());
  for (int i = 0; i < extra; ++i) {
    const int column = i % 12, row = i / 12;
    part_.push_back({Circle(w * (0.1 + 0.065 * column), h * (0.5 + 0.045 * row), 0.012 * h)});
  }
}

Placed TwinDrawing::Place(const Placement& p, Variant variant) {
  const twinfind::PlaneMap where = MapOf(p);
  Placed placed{p, variant, {}};
  const bool reversed = variant == Variant::kReversedTwin;
  for (size_t i = 0; i < part_.size(); ++i) {
    std::vector<FigureRecord> figures = part_[i];
    if (variant == Variant::kNearTwin && static_cast<int>(i) == polylineIndex_) {
      FigureLine& line = figures[0].u.line;
      const double length = std::hypot(line.x2 - line.x1, line.y2 - line.y1);
      line.x1 -= 0.002 * (line.x2 - line.x1) / length;
      line.y1 -= 0.002 * (line.y2 - line.y1) / length;
    }
    placed.segments.push_back(AddSegment(figures, where, p, reversed));
  }
  if (variant == Variant::kExtraHole) {
    placed.segments.push_back(
        AddSegment({Circle(0.85 * width_, 0.3 * height_, 0.05 * height_)}, where, p, false));
  }
  if (variant == Variant::kCrossedTwin) {
    // A long line through the corner that the rounded top right leaves out of the outline.
    const double d = 0.12 * cornerRadius_, reach = 0.8 * width_;
    const double cx = width_ - d, cy = height_ - d;
    AddSegment({Line(cx - reach, cy + reach, cx + reach, cy - reach)}, where, p, false);
  }
  placed_.push_back(placed);
  return placed;
}

void TwinDrawing::AddClutter(int count, double minX, double minY, double maxX, double maxY) {
  std::mt19937 random(clutterSeed_++);
  std::uniform_real_distribution<double> x(minX, maxX), y(minY, maxY), t(0, 6.283);
  const Placement plain;
  const twinfind::PlaneMap identity;
  for (int i = 0; i < count; ++i) {
    const double ax = x(random), ay = y(random), a = t(random);
    if (i % 2 == 0) {
      // Long lines: three to five part widths, never the anchor's length.
      const double length = width_ * (3 + (i % 5) * 0.5);
      AddSegment({Line(ax, ay, ax + length * std::cos(a), ay + length * std::sin(a))}, identity,
                 plain, false);
    } else {
      AddSegment({Circle(ax, ay, width_ * 2.5)}, identity, plain, false);
    }
  }
}

}  // namespace drawgen
