#include "dxf/block_flattening.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

#include "dxf/figure_geometry.h"
#include "dxf/line_type_names.h"

namespace twinfind::dxf {
namespace {

vexhost::Placement Translation(double x, double y) {
  vexhost::Placement p;
  p.tx = x;
  p.ty = y;
  return p;
}

}  // namespace

void AddCount(std::map<std::string, int>& counts, const std::string& key, long long n) {
  int& count = counts[key];
  count = static_cast<int>(std::min<long long>(INT_MAX, static_cast<long long>(count) + n));
}

vexhost::Placement Compose(const vexhost::Placement& o, const vexhost::Placement& i) {
  return o.After(i);
}

bool KeepsShapes(const vexhost::Placement& p) {
  const double x2 = p.a * p.a + p.c * p.c, y2 = p.b * p.b + p.d * p.d;
  const double scale2 = std::max(x2, y2);
  return std::fabs(x2 - y2) <= 1e-9 * scale2 && std::fabs(p.a * p.b + p.c * p.d) <= 1e-9 * scale2;
}

vexhost::Placement PlacementOf(const InsertRecord& r, double baseX, double baseY, int column,
                               int row) {
  // Block coordinates: moved off the base point, scaled, shifted to the array cell, turned,
  // moved to the insertion point; all of it mirrored in x when seen from below.
  vexhost::Placement scale;
  scale.a = r.scaleX;
  scale.d = r.scaleY;
  vexhost::Placement p = Compose(scale, Translation(-baseX, -baseY));
  p = Compose(Translation(column * r.columnSpacing, row * r.rowSpacing), p);
  const double t = r.degrees * std::numbers::pi / 180.0;
  vexhost::Placement turn;
  turn.a = std::cos(t);
  turn.b = -std::sin(t);
  turn.c = std::sin(t);
  turn.d = std::cos(t);
  p = Compose(Translation(r.x, r.y), Compose(turn, p));
  if (r.seenFromBelow) {
    vexhost::Placement mirror;
    mirror.a = -1;
    p = Compose(mirror, p);
  }
  return p;
}

std::vector<vexhost::Placement> CopiesOf(const InsertRecord& r, double baseX, double baseY) {
  const int columns = std::max(1, r.columns), rows = std::max(1, r.rows);
  std::vector<vexhost::Placement> copies;
  if (static_cast<long long>(columns) * rows > kMaxArrayCopies) return copies;
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      copies.push_back(PlacementOf(r, baseX, baseY, column, row));
    }
  }
  return copies;
}

TextLine PlaceTextLine(const TextLine& line, const vexhost::Placement& p) {
  TextLine placed = line;
  const VexPoint at = p.Apply(line.x, line.y);
  placed.x = at.x;
  placed.y = at.y;
  placed.height = line.height * std::hypot(p.b, p.d);
  placed.charWidth = line.charWidth * std::hypot(p.a, p.c);
  return placed;
}

BalloonRecord PlaceBalloon(const BalloonRecord& balloon, const vexhost::Placement& p) {
  BalloonRecord placed = balloon;
  const VexPoint anchor = p.Apply(balloon.anchorX, balloon.anchorY);
  const VexPoint centre = p.Apply(balloon.centerX, balloon.centerY);
  placed.anchorX = anchor.x;
  placed.anchorY = anchor.y;
  placed.centerX = centre.x;
  placed.centerY = centre.y;
  placed.diameter = balloon.diameter * p.scale();
  return placed;
}

Flattened BlockFlattener::Flatten(const Item& reference, const vexhost::Placement& placement) {
  Flattened out;
  const BlockLook look = styles_.LookOf(reference.style, nullptr);
  const auto it = model_.blocks.find(UpperCase(reference.insert.block));
  if (it == model_.blocks.end()) {
    AddCount(counts_.notHeld, "INSERT (block not defined)", 1);
    return out;
  }
  open_.clear();
  limitCounted_ = false;
  holdsItself_ = 0;
  AddBlock(*it->second, placement, look, 1, out);
  if (holdsItself_ > 0) AddCount(counts_.notHeld, "INSERT (block holds itself)", holdsItself_);
  return out;
}

bool BlockFlattener::Afford(size_t steps) {
  counts_.work += steps;
  if (counts_.work <= kMaxFlattenWork) return true;
  if (!limitCounted_) AddCount(counts_.notHeld, "INSERT (beyond the work limit)", 1);
  limitCounted_ = true;
  return false;
}

void BlockFlattener::AddBlock(const Container& block, const vexhost::Placement& world,
                              const BlockLook& look, int depth, Flattened& out) {
  if (std::find(open_.begin(), open_.end(), &block) != open_.end()) {
    ++holdsItself_;
    return;
  }
  if (!Afford(1 + block.items.size() + block.notHeld.size())) return;
  open_.push_back(&block);
  for (const auto& [type, count] : block.notHeld) AddCount(counts_.notHeld, type, count);
  for (const Item& item : block.items) AddItem(item, world, look, depth, out);
  open_.pop_back();
}

void BlockFlattener::AddItem(const Item& item, const vexhost::Placement& world,
                             const BlockLook& look, int depth, Flattened& out) {
  switch (item.kind) {
    case Item::Kind::kFigures: {
      bool curved = false;
      for (const FigureRecord& f : item.figures)
        curved |= f.kind == VEX_FIG_ARC || f.kind == VEX_FIG_CIRCLE;
      if (curved && !KeepsShapes(world)) {
        AddCount(counts_.notHeld, item.type + " (non-uniform scale)", 1);
        return;
      }
      if (counts_.figures + item.figures.size() > kMaxFlattenedFigures) {
        AddCount(counts_.notHeld, item.type + " (beyond the figure limit)", 1);
        return;
      }
      std::vector<FigureRecord> placed;
      for (const FigureRecord& f : item.figures) placed.push_back(vexhost::Transform(f, world));
      for (const FigureRecord& f : placed) {
        if (!UsableFigure(f)) {
          AddCount(counts_.notHeld, item.type + " (invalid geometry)", 1);
          return;
        }
      }
      const LineAttr attr = styles_.AttrOf(item.style, &look, static_cast<int>(placed.size()),
                                           counts_.unknownLineTypes);
      counts_.figures += placed.size();
      for (const FigureRecord& f : placed) out.figures.push_back({f, attr});
      return;
    }
    case Item::Kind::kTexts:
      for (const TextLine& t : item.texts) {
        FlatComment& text = out.comments.emplace_back();
        text.text = PlaceTextLine(t, world);
      }
      return;
    case Item::Kind::kBalloon: {
      FlatComment& balloon = out.comments.emplace_back();
      balloon.isBalloon = true;
      balloon.balloon = PlaceBalloon(item.balloon, world);
      return;
    }
    case Item::Kind::kInsert: {
      for (const TextLine& t : item.insert.attributes) {
        out.comments.push_back({false, PlaceTextLine(t, world), {}});
      }
      if (depth >= kMaxBlockDepth) {
        AddCount(counts_.notHeld, "INSERT (nested too deep)", 1);
        return;
      }
      const auto it = model_.blocks.find(UpperCase(item.insert.block));
      if (it == model_.blocks.end()) {
        AddCount(counts_.notHeld, "INSERT (block not defined)", 1);
        return;
      }
      const long long count =
          static_cast<long long>(std::max(1, item.insert.columns)) * std::max(1, item.insert.rows);
      if (count <= kMaxArrayCopies && !Afford(static_cast<size_t>(count))) return;
      if (count > kMaxArrayCopies) {
        AddCount(counts_.notHeld, "INSERT (too many copies)", 1);
        return;
      }
      const BlockLook inner = styles_.LookOf(item.style, &look);
      // Copy by copy, without a list of them: arrays inside arrays would make many.
      const Container& block = *it->second;
      for (int row = 0; row < std::max(1, item.insert.rows); ++row) {
        for (int column = 0; column < std::max(1, item.insert.columns); ++column) {
          if (counts_.work > kMaxFlattenWork) return;
          const auto copy = PlacementOf(item.insert, block.baseX, block.baseY, column, row);
          AddBlock(block, Compose(world, copy), inner, depth + 1, out);
        }
      }
      return;
    }
  }
}

}  // namespace twinfind::dxf
