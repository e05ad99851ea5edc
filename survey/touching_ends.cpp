#include "survey/touching_ends.h"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <unordered_map>

namespace twinfind::survey {

void AddEnds(const FigureRecord& f, size_t segment, std::vector<End>& ends) {
  if (f.kind == VEX_FIG_LINE) {
    ends.push_back({f.u.line.x1, f.u.line.y1, segment});
    ends.push_back({f.u.line.x2, f.u.line.y2, segment});
  } else if (f.kind == VEX_FIG_ARC) {
    ends.push_back({f.u.arc.sx, f.u.arc.sy, segment});
    ends.push_back({f.u.arc.ex, f.u.arc.ey, segment});
  }
}

namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using Point = bg::model::point<double, 2, bg::cs::cartesian>;
using PointTree = bgi::rtree<Point, bgi::quadratic<16>>;

// A cell's side, as a part of the joint: its diagonal (0.94 of the joint) is within it, so every
// two ends of one cell touch, and ends that touch lie at most two cells apart.
constexpr double kCellPart = 1 / 1.5;
constexpr int64_t kReach = 2;
// Cells with more ends than this are searched through an R-tree of their ends.
constexpr size_t kTreeFrom = 32;

struct Cell {
  int64_t x = 0, y = 0;
  std::vector<size_t> ends;
  std::unique_ptr<PointTree> tree;  // made when first asked for, for a crowded cell
};

uint64_t KeyOf(int64_t x, int64_t y) {
  return (static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull) ^ static_cast<uint64_t>(y);
}

// Whether an end of one cell lies within the joint of an end of the other: each end of the
// emptier cell is looked up in the fuller one (its nearest end, in a crowded cell).
bool CellsTouch(const std::vector<End>& ends, Cell& a, Cell& b, double joint) {
  Cell& few = a.ends.size() <= b.ends.size() ? a : b;
  Cell& many = &few == &a ? b : a;
  if (many.ends.size() > kTreeFrom && !many.tree) {
    std::vector<Point> points;
    for (const size_t e : many.ends) points.emplace_back(ends[e].x, ends[e].y);
    many.tree = std::make_unique<PointTree>(points.begin(), points.end());
  }
  for (const size_t e : few.ends) {
    const End& p = ends[e];
    if (many.tree) {
      std::vector<Point> nearest;
      many.tree->query(bgi::nearest(Point(p.x, p.y), 1), std::back_inserter(nearest));
      if (!nearest.empty() &&
          std::hypot(bg::get<0>(nearest[0]) - p.x, bg::get<1>(nearest[0]) - p.y) <= joint) {
        return true;
      }
      continue;
    }
    for (const size_t f : many.ends) {
      if (std::hypot(ends[f].x - p.x, ends[f].y - p.y) <= joint) return true;
    }
  }
  return false;
}

}  // namespace

void JoinTouching(const std::vector<End>& ends, double joint, Joins& joins) {
  // Every end in its cell, joined to the cell's first end (ends exactly on each other share a
  // cell of their own when the joint is 0).
  const double side = joint > 0 ? joint * kCellPart : 0;
  std::unordered_map<uint64_t, std::vector<size_t>> byKey;  // candidates, told apart by place
  std::vector<Cell> cells;
  for (size_t i = 0; i < ends.size(); ++i) {
    const End& e = ends[i];
    Cell cell;
    if (side > 0) {
      // Within the drawing's reach every cell number fits; the clamp keeps the cast defined.
      cell.x = static_cast<int64_t>(std::clamp(std::floor(e.x / side), -4e18, 4e18));
      cell.y = static_cast<int64_t>(std::clamp(std::floor(e.y / side), -4e18, 4e18));
    } else {
      std::memcpy(&cell.x, &e.x, sizeof e.x);
      std::memcpy(&cell.y, &e.y, sizeof e.y);
    }
    std::vector<size_t>& same = byKey[KeyOf(cell.x, cell.y)];
    const auto it = std::find_if(same.begin(), same.end(), [&](size_t c) {
      return cells[c].x == cell.x && cells[c].y == cell.y;
    });
    if (it == same.end()) {
      same.push_back(cells.size());
      cell.ends.push_back(i);
      cells.push_back(std::move(cell));
    } else {
      Cell& held = cells[*it];
      joins.Join(ends[held.ends.front()].segment, e.segment);
      held.ends.push_back(i);
    }
  }
  if (side <= 0) return;
  // Cells up to two apart, each pair once, joined when two of their ends touch; a pair whose
  // segments are joined already is not looked at again.
  const auto find = [&](int64_t x, int64_t y) -> Cell* {
    const auto it = byKey.find(KeyOf(x, y));
    if (it == byKey.end()) return nullptr;
    for (const size_t c : it->second) {
      if (cells[c].x == x && cells[c].y == y) return &cells[c];
    }
    return nullptr;
  };
  for (Cell& cell : cells) {
    for (int64_t dx = 0; dx <= kReach; ++dx) {
      for (int64_t dy = -kReach; dy <= kReach; ++dy) {
        if (dx == 0 && dy <= 0) continue;
        Cell* other = find(cell.x + dx, cell.y + dy);
        if (!other) continue;
        const size_t a = ends[cell.ends.front()].segment, b = ends[other->ends.front()].segment;
        if (joins.Find(a) != joins.Find(b) && CellsTouch(ends, cell, *other, joint)) {
          joins.Join(a, b);
        }
      }
    }
  }
}

}  // namespace twinfind::survey
