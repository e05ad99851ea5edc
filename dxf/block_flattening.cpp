#include "dxf/block_flattening.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

#include "dxf/figure_geometry.h"
#include "dxf/line_type_names.h"
#include "host/geometry.h"

namespace twinfind::dxf {
namespace {

// Totals beyond this are all "too many": sums and products stop here instead of wrapping.
constexpr uint64_t kHuge = uint64_t{1} << 62;

uint64_t Plus(uint64_t a, uint64_t b) { return std::min(kHuge, a + b); }
uint64_t Times(uint64_t a, uint64_t b) {
  if (a == 0 || b == 0) return 0;
  return a > kHuge / b ? kHuge : std::min(kHuge, a * b);
}

// n copies of a block whose one copy places `one` added to `sum`.
void AddCopies(BlockTotals& sum, uint64_t n, const BlockTotals& one) {
  sum.elements = Plus(sum.elements, Times(n, one.elements));
  sum.weight = Plus(sum.weight, Times(n, one.weight));
  sum.copies = Plus(sum.copies, Times(n, Plus(1, one.copies)));
}

// The copies an array stands for; 0 for one of more than kMaxArrayCopies, which is refused.
uint64_t CopyCount(const InsertRecord& r) {
  const long long n = static_cast<long long>(std::max(1, r.columns)) * std::max(1, r.rows);
  return n > kMaxArrayCopies ? 0 : static_cast<uint64_t>(n);
}

}  // namespace

uint64_t WeightOf(const TextLine& text) { return kTextWeight + text.text.size(); }

uint64_t WeightOf(const BalloonRecord& balloon) {
  uint64_t weight = kTextWeight;
  for (const std::u16string& row : balloon.rows) weight += row.size();
  return weight;
}

void AddCount(std::map<std::string, int>& counts, const std::string& key, long long n) {
  int& count = counts[key];
  count = static_cast<int>(std::min<long long>(INT_MAX, static_cast<long long>(count) + n));
}

bool KeepsShapes(const PlaneMap& p) {
  const double x2 = p.a * p.a + p.c * p.c, y2 = p.b * p.b + p.d * p.d;
  const double scale2 = std::max(x2, y2);
  return std::fabs(x2 - y2) <= 1e-9 * scale2 && std::fabs(p.a * p.b + p.c * p.d) <= 1e-9 * scale2;
}

PlaneMap PlacementOf(const InsertRecord& r, double baseX, double baseY, int column, int row) {
  // Block coordinates: moved off the base point, scaled, shifted to the array cell, turned,
  // moved to the insertion point; all of it mirrored in x when seen from below.
  PlaneMap scale;
  scale.a = r.scaleX;
  scale.d = r.scaleY;
  PlaneMap p = scale.After(PlaneMap::Translation(-baseX, -baseY));
  p = PlaneMap::Translation(column * r.columnSpacing, row * r.rowSpacing).After(p);
  const double t = r.degrees * std::numbers::pi / 180.0;
  PlaneMap turn;
  turn.a = std::cos(t);
  turn.b = -std::sin(t);
  turn.c = std::sin(t);
  turn.d = std::cos(t);
  p = PlaneMap::Translation(r.x, r.y).After(turn.After(p));
  if (r.seenFromBelow) {
    PlaneMap mirror;
    mirror.a = -1;
    p = mirror.After(p);
  }
  return p;
}

std::vector<PlaneMap> CopiesOf(const InsertRecord& r, double baseX, double baseY) {
  const int columns = std::max(1, r.columns), rows = std::max(1, r.rows);
  std::vector<PlaneMap> copies;
  if (CopyCount(r) == 0) return copies;
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      copies.push_back(PlacementOf(r, baseX, baseY, column, row));
    }
  }
  return copies;
}

TextLine PlaceTextLine(const TextLine& line, const PlaneMap& p) {
  TextLine placed = line;
  const VexPoint at = p.Apply(line.x, line.y);
  placed.x = at.x;
  placed.y = at.y;
  placed.height = line.height * std::hypot(p.b, p.d);
  placed.charWidth = line.charWidth * std::hypot(p.a, p.c);
  return placed;
}

BalloonRecord PlaceBalloon(const BalloonRecord& balloon, const PlaneMap& p) {
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

bool UsableText(const TextLine& t) {
  return vexhost::WithinLimit(t.x, t.y) && vexhost::WithinLimit(t.height) &&
         vexhost::WithinLimit(t.charWidth) && t.height > 0 && t.charWidth > 0;
}

bool UsableBalloon(const BalloonRecord& b) {
  return vexhost::WithinLimit(b.centerX, b.centerY) && vexhost::WithinLimit(b.anchorX, b.anchorY) &&
         vexhost::WithinLimit(b.diameter);
}

bool CopiesWithinReach(const InsertRecord& r, const Container& block, const PlaneMap& parent) {
  // The copies lie on a grid: its corners are the farthest.
  const int lastColumn = std::max(1, r.columns) - 1, lastRow = std::max(1, r.rows) - 1;
  for (const int column : {0, lastColumn}) {
    for (const int row : {0, lastRow}) {
      const auto p = parent.After(PlacementOf(r, block.baseX, block.baseY, column, row));
      const VexPoint at = p.Apply(block.baseX, block.baseY);
      if (!vexhost::WithinLimit(at.x, at.y)) return false;
    }
  }
  return true;
}

BlockTotals BlockFlattener::TotalsOf(const Container& root) {
  if (const auto known = totals_.find(&root); known != totals_.end()) return known->second;
  // Depth first without recursion (blocks may nest thousands deep); a block met again on the
  // path adds nothing, as the flattening refuses it.
  struct Frame {
    const Container* block;
    size_t next = 0;
    BlockTotals sum;
  };
  std::vector<Frame> path{{&root, 0, {}}};
  while (!path.empty()) {
    Frame& top = path.back();
    if (top.next == top.block->items.size()) {
      const Frame done = top;
      totals_[done.block] = done.sum;
      path.pop_back();
      if (path.empty()) break;
      Frame& parent = path.back();
      const uint64_t n = CopyCount(parent.block->InsertOf(parent.block->items[parent.next - 1]));
      AddCopies(parent.sum, n, done.sum);
      continue;
    }
    const Item& item = top.block->items[top.next++];
    switch (item.kind) {
      case Item::Kind::kFigures:
        top.sum.elements = Plus(top.sum.elements, item.count);
        top.sum.weight = Plus(top.sum.weight, item.count);
        continue;
      case Item::Kind::kTexts:
        top.sum.elements = Plus(top.sum.elements, item.count);
        for (const TextLine& t : top.block->TextsOf(item)) {
          top.sum.weight = Plus(top.sum.weight, WeightOf(t));
        }
        continue;
      case Item::Kind::kBalloon:
        top.sum.elements = Plus(top.sum.elements, 1);
        top.sum.weight = Plus(top.sum.weight, WeightOf(top.block->BalloonOf(item)));
        continue;
      case Item::Kind::kInsert:
        break;
    }
    const InsertRecord& r = top.block->InsertOf(item);
    top.sum.elements = Plus(top.sum.elements, r.attributes.size());
    for (const TextLine& t : r.attributes) top.sum.weight = Plus(top.sum.weight, WeightOf(t));
    const uint64_t n = CopyCount(r);
    const auto it = model_.blocks.find(UpperCase(r.block));
    if (n == 0 || it == model_.blocks.end()) continue;
    const Container* child = it->second.get();
    if (const auto known = totals_.find(child); known != totals_.end()) {
      AddCopies(top.sum, n, known->second);
      continue;
    }
    const bool onPath =
        std::any_of(path.begin(), path.end(), [child](const Frame& f) { return f.block == child; });
    if (onPath) continue;
    path.push_back({child, 0, {}});
  }
  return totals_.at(&root);
}

std::string BlockFlattener::Refusal(const Container& block, size_t copies) {
  const BlockTotals one = TotalsOf(block);
  const uint64_t elements = Times(copies, one.elements);
  const uint64_t weight = Times(copies, one.weight);
  const uint64_t entered = Times(copies, Plus(1, one.copies));
  auto number = [](uint64_t n) {
    return n >= kHuge ? "more than " + std::to_string(kHuge) : std::to_string(n);
  };
  auto over = [&](uint64_t wanted, uint64_t used, uint64_t limit, const std::string& what,
                  const std::string& where) -> std::string {
    if (used <= limit && wanted <= limit - used) return {};
    const std::string left =
        used == 0 ? "the "
                  : "the " + std::to_string(limit - std::min(limit, used)) + " left of the ";
    return "block " + block.name + " would place " + what + ", more than " + left +
           std::to_string(limit) + " " + where;
  };
  // Figures alone weigh what they count; with texts the weight is told with its reason.
  const std::string placed =
      number(elements) + " figures and texts" +
      (weight == elements ? ""
                          : ", the work of " + number(weight) + " figures (" +
                                std::to_string(kTextWeight) + " per text and 1 per character)");
  std::string why =
      over(weight, counts_.weight, limits_.weight, placed, "an import places from blocks");
  if (why.empty()) {
    why = over(entered, counts_.copies, limits_.copies, number(entered) + " block copies",
               "an import flattens");
  }
  return why;
}

bool BlockFlattener::Spend(uint64_t& used, uint64_t limit, uint64_t n) {
  if (overflow_ || used > limit || n > limit - used) {
    overflow_ = true;
    return false;
  }
  used += n;
  return true;
}

bool BlockFlattener::Flatten(const Item& reference, const Container& block,
                             const PlaneMap& placement, Flattened& out) {
  const BlockLook look = styles_.LookOf(reference.style, nullptr);
  local_ = FlattenCounts{};
  local_.weight = counts_.weight;
  local_.copies = counts_.copies;
  open_.clear();
  holdsItself_ = 0;
  overflow_ = false;
  if (Spend(local_.copies, limits_.copies, 1)) AddBlock(block, placement, look, 1, out);
  if (overflow_) {
    out = Flattened{};
    return false;
  }
  for (const auto& [type, n] : local_.notHeld) AddCount(counts_.notHeld, type, n);
  for (const auto& [name, n] : local_.unknownLineTypes) {
    AddCount(counts_.unknownLineTypes, name, n);
  }
  if (holdsItself_ > 0) AddCount(counts_.notHeld, "INSERT (block holds itself)", holdsItself_);
  counts_.weight = local_.weight;
  counts_.copies = local_.copies;
  return true;
}

void BlockFlattener::AddBlock(const Container& block, const PlaneMap& world, const BlockLook& look,
                              int depth, Flattened& out) {
  if (std::find(open_.begin(), open_.end(), &block) != open_.end()) {
    ++holdsItself_;
    return;
  }
  open_.push_back(&block);
  for (const auto& [type, count] : block.notHeld) AddCount(local_.notHeld, type, count);
  for (const Item& item : block.items) {
    if (overflow_) break;
    AddItem(block, item, world, look, depth, out);
  }
  open_.pop_back();
}

void BlockFlattener::AddItem(const Container& block, const Item& item, const PlaneMap& world,
                             const BlockLook& look, int depth, Flattened& out) {
  const std::string type(item.type);
  switch (item.kind) {
    case Item::Kind::kFigures: {
      const auto figures = block.FiguresOf(item);
      bool curved = false;
      for (const FigureRecord& f : figures)
        curved |= f.kind == VEX_FIG_ARC || f.kind == VEX_FIG_CIRCLE;
      if (curved && !KeepsShapes(world))
        return AddCount(local_.notHeld, type + " (non-uniform scale)", 1);
      std::vector<FigureRecord> placed;
      placed.reserve(figures.size());
      for (const FigureRecord& f : figures) {
        placed.push_back(PlaceFigure(f, world));
        if (!UsableFigure(placed.back())) {
          return AddCount(local_.notHeld, type + " (invalid geometry)", 1);
        }
      }
      if (!Spend(local_.weight, limits_.weight, placed.size())) return;
      const LineAttr attr = styles_.AttrOf(item.style, &look, static_cast<int>(placed.size()),
                                           local_.unknownLineTypes);
      for (const FigureRecord& f : placed) out.figures.push_back({f, attr});
      return;
    }
    case Item::Kind::kTexts: {
      std::vector<TextLine> placed;
      uint64_t weight = 0;
      for (const TextLine& t : block.TextsOf(item)) {
        placed.push_back(PlaceTextLine(t, world));
        if (!UsableText(placed.back())) {
          return AddCount(local_.notHeld, type + " (invalid geometry)", 1);
        }
        weight += WeightOf(t);
      }
      if (!Spend(local_.weight, limits_.weight, weight)) return;
      for (TextLine& t : placed) out.comments.push_back({false, std::move(t), {}});
      return;
    }
    case Item::Kind::kBalloon: {
      BalloonRecord placed = PlaceBalloon(block.BalloonOf(item), world);
      if (!UsableBalloon(placed)) return AddCount(local_.notHeld, type + " (invalid geometry)", 1);
      if (!Spend(local_.weight, limits_.weight, WeightOf(placed))) return;
      out.comments.push_back({true, {}, std::move(placed)});
      return;
    }
    case Item::Kind::kInsert:
      return AddReference(block, item, world, look, depth, out);
  }
}

void BlockFlattener::AddReference(const Container& parent, const Item& item, const PlaneMap& world,
                                  const BlockLook& look, int depth, Flattened& out) {
  const InsertRecord& r = parent.InsertOf(item);
  for (const TextLine& t : r.attributes) {
    TextLine placed = PlaceTextLine(t, world);
    if (!UsableText(placed)) {
      AddCount(local_.notHeld, "ATTRIB (invalid geometry)", 1);
      continue;
    }
    if (!Spend(local_.weight, limits_.weight, WeightOf(t))) return;
    out.comments.push_back({false, std::move(placed), {}});
  }
  if (depth >= kMaxBlockDepth) return AddCount(local_.notHeld, "INSERT (nested too deep)", 1);
  const auto it = model_.blocks.find(UpperCase(r.block));
  if (it == model_.blocks.end()) return AddCount(local_.notHeld, "INSERT (block not defined)", 1);
  if (CopyCount(r) == 0) return AddCount(local_.notHeld, "INSERT (too many copies)", 1);
  const Container& block = *it->second;
  if (!CopiesWithinReach(r, block, world)) {
    return AddCount(local_.notHeld, "INSERT (invalid geometry)", 1);
  }
  const BlockLook inner = styles_.LookOf(item.style, &look);
  // Copy by copy, without a list of them: arrays inside arrays would make many.
  for (int row = 0; row < std::max(1, r.rows); ++row) {
    for (int column = 0; column < std::max(1, r.columns); ++column) {
      if (!Spend(local_.copies, limits_.copies, 1)) return;
      const auto copy = PlacementOf(r, block.baseX, block.baseY, column, row);
      AddBlock(block, world.After(copy), inner, depth + 1, out);
    }
  }
}

}  // namespace twinfind::dxf
