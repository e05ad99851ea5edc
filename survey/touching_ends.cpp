#include "survey/touching_ends.h"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>

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

// A cell: the ends sorted[from, to) of the ends sorted by cell.
struct Cell {
  int64_t x = 0, y = 0;
  size_t from = 0, to = 0;
};

struct Keyed {
  int64_t x, y;
  size_t end;
  bool operator<(const Keyed& o) const {
    return x != o.x ? x < o.x : y != o.y ? y < o.y : end < o.end;
  }
};

class Cells {
 public:
  Cells(const std::vector<End>& ends, double side) : ends_(ends) {
    sorted_.reserve(ends.size());
    for (size_t i = 0; i < ends.size(); ++i) {
      const End& e = ends[i];
      Keyed k{0, 0, i};
      if (side > 0) {
        // Within the drawing's reach every cell number fits; the clamp keeps the cast defined.
        k.x = static_cast<int64_t>(std::clamp(std::floor(e.x / side), -4e18, 4e18));
        k.y = static_cast<int64_t>(std::clamp(std::floor(e.y / side), -4e18, 4e18));
      } else {
        std::memcpy(&k.x, &e.x, sizeof e.x);
        std::memcpy(&k.y, &e.y, sizeof e.y);
      }
      sorted_.push_back(k);
    }
    std::sort(sorted_.begin(), sorted_.end());
    for (size_t i = 0; i < sorted_.size(); ++i) {
      if (cells_.empty() || cells_.back().x != sorted_[i].x || cells_.back().y != sorted_[i].y) {
        cells_.push_back({sorted_[i].x, sorted_[i].y, i, i});
      }
      cells_.back().to = i + 1;
    }
    trees_.resize(cells_.size());
  }

  const std::vector<Cell>& cells() const { return cells_; }
  size_t EndAt(size_t k) const { return sorted_[k].end; }

  // The cells of column x with rows from y0 to y1, as indexes [first, last).
  std::pair<size_t, size_t> Row(int64_t x, int64_t y0, int64_t y1) const {
    const auto less = [](const Cell& c, std::pair<int64_t, int64_t> p) {
      return c.x != p.first ? c.x < p.first : c.y < p.second;
    };
    const auto first = std::lower_bound(cells_.begin(), cells_.end(), std::make_pair(x, y0), less);
    auto last = first;
    while (last != cells_.end() && last->x == x && last->y <= y1) ++last;
    return {static_cast<size_t>(first - cells_.begin()),
            static_cast<size_t>(last - cells_.begin())};
  }

  // Whether an end of cell a lies within the joint of an end of cell b: each end of the
  // emptier cell is looked up in the fuller one (its nearest end, in a crowded cell).
  bool Touch(size_t a, size_t b, double joint) {
    const size_t few = Size(a) <= Size(b) ? a : b;
    const size_t many = few == a ? b : a;
    const Cell& m = cells_[many];
    if (Size(many) > kTreeFrom && !trees_[many]) {
      std::vector<Point> points;
      for (size_t k = m.from; k < m.to; ++k)
        points.emplace_back(ends_[EndAt(k)].x, ends_[EndAt(k)].y);
      trees_[many] = std::make_unique<PointTree>(points.begin(), points.end());
    }
    for (size_t k = cells_[few].from; k < cells_[few].to; ++k) {
      const End& p = ends_[EndAt(k)];
      if (trees_[many]) {
        std::vector<Point> nearest;
        trees_[many]->query(bgi::nearest(Point(p.x, p.y), 1), std::back_inserter(nearest));
        if (!nearest.empty() &&
            std::hypot(bg::get<0>(nearest[0]) - p.x, bg::get<1>(nearest[0]) - p.y) <= joint) {
          return true;
        }
        continue;
      }
      for (size_t j = m.from; j < m.to; ++j) {
        if (std::hypot(ends_[EndAt(j)].x - p.x, ends_[EndAt(j)].y - p.y) <= joint) return true;
      }
    }
    return false;
  }

 private:
  size_t Size(size_t c) const { return cells_[c].to - cells_[c].from; }

  const std::vector<End>& ends_;
  std::vector<Keyed> sorted_;
  std::vector<Cell> cells_;                        // by column, then row
  std::vector<std::unique_ptr<PointTree>> trees_;  // made when first asked for, for a crowded cell
};

}  // namespace

void JoinTouching(const std::vector<End>& ends, double joint, Joins& joins) {
  // Every end in its cell, joined to the cell's first end (ends exactly on each other share a
  // cell of their own when the joint is 0). The ends sorted by cell: no table of cells to
  // allocate cell by cell.
  const double side = joint > 0 ? joint * kCellPart : 0;
  Cells cells(ends, side);
  for (const Cell& cell : cells.cells()) {
    const size_t first = ends[cells.EndAt(cell.from)].segment;
    for (size_t k = cell.from + 1; k < cell.to; ++k)
      joins.Join(first, ends[cells.EndAt(k)].segment);
  }
  if (side <= 0) return;
  // Cells up to two apart, each pair once, joined when two of their ends touch; a pair whose
  // segments are joined already is not looked at again.
  for (size_t c = 0; c < cells.cells().size(); ++c) {
    const Cell cell = cells.cells()[c];
    for (int64_t dx = 0; dx <= kReach; ++dx) {
      // The same column: only the rows above, so that each pair is looked at once.
      const auto [first, last] =
          cells.Row(cell.x + dx, dx == 0 ? cell.y + 1 : cell.y - kReach, cell.y + kReach);
      for (size_t o = first; o < last; ++o) {
        const size_t a = ends[cells.EndAt(cell.from)].segment;
        const size_t b = ends[cells.EndAt(cells.cells()[o].from)].segment;
        if (joins.Find(a) != joins.Find(b) && cells.Touch(c, o, joint)) joins.Join(a, b);
      }
    }
  }
}

}  // namespace twinfind::survey
