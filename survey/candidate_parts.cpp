#include "survey/candidate_parts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <unordered_map>

#include "host/outline.h"

namespace twinfind::survey {
namespace {

// Groups of indexes joined by union and find.
class Joins {
 public:
  explicit Joins(size_t n) : up_(n) { std::iota(up_.begin(), up_.end(), size_t{0}); }
  size_t Find(size_t i) {
    while (up_[i] != i) i = up_[i] = up_[up_[i]];
    return i;
  }
  void Join(size_t a, size_t b) {
    a = Find(a);
    b = Find(b);
    if (a != b) up_[std::max(a, b)] = std::min(a, b);
  }

 private:
  std::vector<size_t> up_;
};

struct End {
  double x, y;
  size_t segment;
};

// The ends of lines and arcs: where a figure can meet the next one.
void AddEnds(const FigureRecord& f, size_t segment, std::vector<End>& ends) {
  if (f.kind == VEX_FIG_LINE) {
    ends.push_back({f.u.line.x1, f.u.line.y1, segment});
    ends.push_back({f.u.line.x2, f.u.line.y2, segment});
  } else if (f.kind == VEX_FIG_ARC) {
    ends.push_back({f.u.arc.sx, f.u.arc.sy, segment});
    ends.push_back({f.u.arc.ex, f.u.arc.ey, segment});
  }
}

// Points that must lie inside an outline for the group to lie inside it: figure ends, a
// circle's rightmost point, points; at most 16, spread over the group.
std::vector<std::pair<double, double>> TestPoints(const std::vector<FigureRecord>& figures) {
  std::vector<std::pair<double, double>> points;
  for (const FigureRecord& f : figures) {
    switch (f.kind) {
      case VEX_FIG_LINE:
        points.emplace_back(f.u.line.x1, f.u.line.y1);
        points.emplace_back(f.u.line.x2, f.u.line.y2);
        break;
      case VEX_FIG_ARC:
        points.emplace_back(f.u.arc.sx, f.u.arc.sy);
        points.emplace_back(f.u.arc.ex, f.u.arc.ey);
        break;
      case VEX_FIG_CIRCLE:
        points.emplace_back(f.u.circle.cx + f.u.circle.r, f.u.circle.cy);
        break;
      case VEX_FIG_POINT:
        points.emplace_back(f.u.point.x, f.u.point.y);
        break;
      default:
        break;
    }
  }
  if (points.size() <= 16) return points;
  std::vector<std::pair<double, double>> spread;
  for (size_t i = 0; i < 16; ++i) spread.push_back(points[i * points.size() / 16]);
  return spread;
}

bool BoxHolds(const VexBox& outer, const VexBox& inner, double slack) {
  return inner.minX >= outer.minX - slack && inner.minY >= outer.minY - slack &&
         inner.maxX <= outer.maxX + slack && inner.maxY <= outer.maxY + slack;
}

double Area(const VexBox& b) { return (b.maxX - b.minX) * (b.maxY - b.minY); }

// A grid over the closed groups' boxes, to find the outlines a point may lie inside.
class OutlineGrid {
 public:
  OutlineGrid(const std::vector<CandidatePart>& parts, const std::vector<int>& closed) {
    if (closed.empty()) return;
    all_ = parts[static_cast<size_t>(closed[0])].box;
    for (const int c : closed) {
      const VexBox& b = parts[static_cast<size_t>(c)].box;
      all_ = {std::min(all_.minX, b.minX), std::min(all_.minY, b.minY), std::max(all_.maxX, b.maxX),
              std::max(all_.maxY, b.maxY)};
    }
    side_ = std::clamp(static_cast<int>(std::sqrt(static_cast<double>(closed.size()))), 1, 512);
    cells_.resize(static_cast<size_t>(side_) * static_cast<size_t>(side_));
    for (const int c : closed) {
      const VexBox& b = parts[static_cast<size_t>(c)].box;
      const int x0 = Column(b.minX), x1 = Column(b.maxX), y0 = Row(b.minY), y1 = Row(b.maxY);
      if ((x1 - x0 + 1) * (y1 - y0 + 1) > 4096) {
        big_.push_back(c);
        continue;
      }
      for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) cells_[Cell(x, y)].push_back(c);
      }
    }
  }
  // The closed groups whose boxes may hold the point.
  template <typename Visit>
  void Near(double x, double y, Visit visit) const {
    if (cells_.empty()) return;
    for (const int c : cells_[Cell(Column(x), Row(y))]) visit(c);
    for (const int c : big_) visit(c);
  }

 private:
  int Index(double v, double lo, double hi) const {
    if (!(hi > lo)) return 0;
    return std::clamp(static_cast<int>((v - lo) / (hi - lo) * side_), 0, side_ - 1);
  }
  int Column(double x) const { return Index(x, all_.minX, all_.maxX); }
  int Row(double y) const { return Index(y, all_.minY, all_.maxY); }
  size_t Cell(int x, int y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(side_) + static_cast<size_t>(x);
  }

  VexBox all_{};
  int side_ = 1;
  std::vector<std::vector<int>> cells_;
  std::vector<int> big_;
};

// Joins the segments whose figure ends lie within `joint` of each other.
void JoinTouching(const std::vector<End>& ends, double joint, Joins& joins) {
  const double cell = std::max(2 * joint, 1e-12);
  std::unordered_map<uint64_t, std::vector<size_t>> grid;
  auto key = [](int64_t x, int64_t y) {
    return (static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull) ^ static_cast<uint64_t>(y);
  };
  for (size_t i = 0; i < ends.size(); ++i) {
    const int64_t cx = static_cast<int64_t>(std::floor(ends[i].x / cell));
    const int64_t cy = static_cast<int64_t>(std::floor(ends[i].y / cell));
    for (int64_t dx = -1; dx <= 1; ++dx) {
      for (int64_t dy = -1; dy <= 1; ++dy) {
        const auto it = grid.find(key(cx + dx, cy + dy));
        if (it == grid.end()) continue;
        for (const size_t j : it->second) {
          if (ends[j].segment != ends[i].segment &&
              std::hypot(ends[j].x - ends[i].x, ends[j].y - ends[i].y) <= joint) {
            joins.Join(ends[i].segment, ends[j].segment);
          }
        }
      }
    }
    grid[key(cx, cy)].push_back(i);
  }
}

}  // namespace

std::vector<FigureRecord> FiguresOf(const vexhost::Drawing& drawing, int segmentId) {
  std::vector<FigureRecord> figures;
  if (const vexhost::Segment* s = drawing.FindSegment(segmentId)) {
    for (const int id : s->elements) {
      const vexhost::Element* e = drawing.FindElement(id);
      if (e && !e->comment) figures.push_back(e->figure);
    }
  }
  return figures;
}

std::vector<std::vector<int>> TouchingGroups(const vexhost::Drawing& drawing,
                                             const std::vector<int>& segments, double joint) {
  std::vector<int> kept;
  std::vector<End> ends;
  for (const int id : segments) {
    const std::vector<FigureRecord> figures = FiguresOf(drawing, id);
    if (figures.empty() || !drawing.SegmentBounds(id)) continue;
    for (const FigureRecord& f : figures) AddEnds(f, kept.size(), ends);
    kept.push_back(id);
  }
  Joins joins(kept.size());
  JoinTouching(ends, joint, joins);
  std::vector<std::vector<int>> groups;
  std::vector<int> groupOf(kept.size(), -1);
  for (size_t i = 0; i < kept.size(); ++i) {
    const size_t root = joins.Find(i);
    if (groupOf[root] < 0) {
      groupOf[root] = static_cast<int>(groups.size());
      groups.emplace_back();
    }
    groups[static_cast<size_t>(groupOf[root])].push_back(kept[i]);
  }
  return groups;
}

CandidateForest FormCandidates(const vexhost::Drawing& drawing, const std::vector<int>& segments,
                               double joint) {
  CandidateForest forest;
  for (std::vector<int>& group : TouchingGroups(drawing, segments, joint)) {
    CandidatePart part;
    part.box = *drawing.SegmentBounds(group.front());
    for (const int id : group) {
      const VexBox b = *drawing.SegmentBounds(id);
      part.box = {std::min(part.box.minX, b.minX), std::min(part.box.minY, b.minY),
                  std::max(part.box.maxX, b.maxX), std::max(part.box.maxY, b.maxY)};
    }
    part.own = std::move(group);
    forest.parts.push_back(std::move(part));
  }

  // Which groups are closed outlines, and their figures for the inside tests.
  std::vector<std::vector<FigureRecord>> figures(forest.parts.size());
  std::vector<int> closed;
  for (size_t p = 0; p < forest.parts.size(); ++p) {
    for (const int id : forest.parts[p].own) {
      const std::vector<FigureRecord> f = FiguresOf(drawing, id);
      figures[p].insert(figures[p].end(), f.begin(), f.end());
    }
    forest.parts[p].closed = vexhost::IsClosedChain(figures[p]);
    if (forest.parts[p].closed) closed.push_back(static_cast<int>(p));
  }

  // Each group's parent: the smallest closed group that holds all its tested points.
  const OutlineGrid grid(forest.parts, closed);
  for (size_t p = 0; p < forest.parts.size(); ++p) {
    CandidatePart& part = forest.parts[p];
    const auto points = TestPoints(figures[p]);
    if (points.empty()) continue;
    // The closed groups that may hold it, smallest first: the first that does is the parent.
    std::vector<std::pair<double, int>> outers;
    grid.Near(points[0].first, points[0].second, [&](int c) {
      const CandidatePart& outer = forest.parts[static_cast<size_t>(c)];
      const double area = Area(outer.box);
      if (static_cast<size_t>(c) != p && area > Area(part.box) &&
          BoxHolds(outer.box, part.box, joint)) {
        outers.push_back({area, c});
      }
    });
    std::stable_sort(outers.begin(), outers.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [area, c] : outers) {
      const auto& outline = figures[static_cast<size_t>(c)];
      if (std::none_of(points.begin(), points.end(), [&](const auto& point) {
            return vexhost::IsOutside(outline.data(), static_cast<int>(outline.size()), point.first,
                                      point.second);
          })) {
        part.parent = c;
        break;
      }
    }
  }
  for (size_t p = 0; p < forest.parts.size(); ++p) {
    const int parent = forest.parts[p].parent;
    if (parent < 0) {
      forest.roots.push_back(static_cast<int>(p));
    } else {
      forest.parts[static_cast<size_t>(parent)].children.push_back(static_cast<int>(p));
    }
  }
  return forest;
}

std::vector<int> SegmentsOf(const CandidateForest& forest, int part) {
  std::vector<int> segments;
  std::vector<int> open = {part};
  while (!open.empty()) {
    const CandidatePart& p = forest.parts[static_cast<size_t>(open.back())];
    open.pop_back();
    segments.insert(segments.end(), p.own.begin(), p.own.end());
    open.insert(open.end(), p.children.begin(), p.children.end());
  }
  std::sort(segments.begin(), segments.end());
  return segments;
}

}  // namespace twinfind::survey
