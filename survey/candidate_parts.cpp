#include "survey/candidate_parts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <tuple>

#include "host/outline.h"
#include "survey/touching_ends.h"

namespace twinfind::survey {
namespace {

bool BoxHolds(const VexBox& outer, const VexBox& inner, double slack) {
  return inner.minX >= outer.minX - slack && inner.minY >= outer.minY - slack &&
         inner.maxX <= outer.maxX + slack && inner.maxY <= outer.maxY + slack;
}

double Area(const VexBox& b) { return (b.maxX - b.minX) * (b.maxY - b.minY); }

// The height at which a vertical line at x meets a figure of an outline at or above y, or
// nothing: lines (a vertical one at its lower end), arcs and circles at each crossing.
std::optional<double> HitAbove(const FigureRecord& f, double x, double y) {
  std::optional<double> best;
  const auto take = [&](double h) {
    if (h >= y && (!best || h < *best)) best = h;
  };
  if (f.kind == VEX_FIG_LINE) {
    const FigureLine& l = f.u.line;
    if (x < std::min(l.x1, l.x2) || x > std::max(l.x1, l.x2)) return best;
    if (l.x1 == l.x2) {
      take(std::min(l.y1, l.y2) >= y ? std::min(l.y1, l.y2) : std::max(l.y1, l.y2));
    } else {
      take(l.y1 + (x - l.x1) * (l.y2 - l.y1) / (l.x2 - l.x1));
    }
    return best;
  }
  const bool arc = f.kind == VEX_FIG_ARC;
  const double cx = arc ? f.u.arc.cx : f.u.circle.cx, cy = arc ? f.u.arc.cy : f.u.circle.cy;
  const double r = arc ? f.u.arc.r : f.u.circle.r;
  const double dx = x - cx;
  if (std::fabs(dx) > r) return best;
  const double dy = std::sqrt(std::max(0.0, r * r - dx * dx));
  for (const double h : {cy - dy, cy + dy}) {
    if (!arc) {
      take(h);
      continue;
    }
    // On the arc: its angle lies in the sweep from start to end, in the arc's direction.
    const FigureArc& a = f.u.arc;
    const double at = std::atan2(h - cy, dx), from = std::atan2(a.sy - cy, a.sx - cx);
    const double to = std::atan2(a.ey - cy, a.ex - cx);
    const double turn = 2 * std::acos(-1.0);
    const auto sweep = [&](double start, double end) {
      double d = a.direction == VEX_ARC_CW ? start - end : end - start;
      while (d < 0) d += turn;
      return d;
    };
    if (sweep(from, at) <= sweep(from, to) + 1e-12) take(h);
  }
  return best;
}

// The highest of a group's points: figure ends, a circle's or an arc's top where it has one.
std::pair<double, double> HighestPoint(const std::vector<FigureRecord>& figures) {
  std::pair<double, double> top{0, -std::numeric_limits<double>::infinity()};
  const auto take = [&](double x, double y) {
    if (y > top.second) top = {x, y};
  };
  for (const FigureRecord& f : figures) {
    switch (f.kind) {
      case VEX_FIG_LINE:
        take(f.u.line.x1, f.u.line.y1);
        take(f.u.line.x2, f.u.line.y2);
        break;
      case VEX_FIG_ARC:
        take(f.u.arc.sx, f.u.arc.sy);
        take(f.u.arc.ex, f.u.arc.ey);
        if (HitAbove(f, f.u.arc.cx, f.u.arc.cy + f.u.arc.r - 1e-12)) {
          take(f.u.arc.cx, f.u.arc.cy + f.u.arc.r);
        }
        break;
      case VEX_FIG_CIRCLE:
        take(f.u.circle.cx, f.u.circle.cy + f.u.circle.r);
        break;
      case VEX_FIG_POINT:
        take(f.u.point.x, f.u.point.y);
        break;
      default:
        break;
    }
  }
  return top;
}

// The closed outlines' figures in columns of x, for the first outlines met straight above a
// point: each column lists the figures whose boxes reach into it, by the bottoms of their boxes;
// a figure wider or taller than many columns (a board's edge, a wall) is listed once, among the
// wide ones, looked at from every column.
class OutlineEdges {
 public:
  OutlineEdges(const std::vector<std::vector<FigureRecord>>& figures,
               const std::vector<int>& closed) {
    for (const int c : closed) {
      for (const FigureRecord& f : figures[static_cast<size_t>(c)]) {
        VexBox b{};
        if (FigureBox(f, b)) edges_.push_back({&f, c, b});
      }
    }
    double minX = HUGE_VAL, maxX = -HUGE_VAL;
    for (const Edge& e : edges_) {
      minX = std::min(minX, e.box.minX);
      maxX = std::max(maxX, e.box.maxX);
    }
    // About as many columns as the square root of the figures: a ray's column holds the figures
    // of one strip of the drawing.
    const size_t n = edges_.size();
    columns_ = std::max<size_t>(1, static_cast<size_t>(std::sqrt(static_cast<double>(n))));
    left_ = minX;
    width_ = (maxX - minX) / static_cast<double>(columns_);
    if (!(width_ > 0) || !std::isfinite(width_)) {
      columns_ = 1;
      width_ = 1;
    }
    std::vector<std::pair<double, size_t>> wide;
    std::vector<std::vector<std::pair<double, size_t>>> lists(columns_);
    for (size_t i = 0; i < n; ++i) {
      const size_t from = Column(edges_[i].box.minX), to = Column(edges_[i].box.maxX);
      const double height = edges_[i].box.maxY - edges_[i].box.minY;
      if (to - from + 1 > kWideColumns || !(height <= kWideColumns * width_)) {
        wide.push_back({edges_[i].box.minY, i});
        continue;
      }
      for (size_t k = from; k <= to; ++k) lists[k].push_back({edges_[i].box.minY, i});
    }
    lists.push_back(std::move(wide));  // the wide ones: the last list
    from_.assign(lists.size() + 1, 0);
    tallest_.assign(lists.size(), 0);
    for (size_t k = 0; k < lists.size(); ++k) {
      std::sort(lists[k].begin(), lists[k].end());
      from_[k + 1] = from_[k] + lists[k].size();
      for (const auto& [bottom, index] : lists[k]) {
        listed_.push_back(index);
        bottoms_.push_back(bottom);
        const VexBox& box = edges_[index].box;
        tallest_[k] = std::max(tallest_[k], box.maxY - box.minY);
      }
      if (!std::isfinite(tallest_[k])) tallest_[k] = HUGE_VAL;
    }
  }

  // The first `want` closed groups, other than `own`, whose figures a vertical ray from (x, y)
  // upwards meets, in the order it meets them (groups met at one height in the order of their
  // figures); `ended` when no more lie above. The figures of the ray's column and the wide ones
  // are looked at by the bottoms of their boxes, from the tallest figure's height below the ray's
  // start: a figure whose box begins above the `want`-th group's hit cannot come first.
  std::vector<int> MetAbove(double x, double y, int own, size_t want, bool& ended) const {
    std::vector<std::pair<double, size_t>> hits;  // height, edge
    std::vector<int> met;
    const size_t column = Column(x);
    double bound = HUGE_VAL;  // the want-th group's height, once known
    ended = true;
    for (const size_t list : {column, columns_}) {
      const auto begin = bottoms_.begin() + static_cast<long>(from_[list]);
      const auto end = bottoms_.begin() + static_cast<long>(from_[list + 1]);
      for (auto it = std::lower_bound(begin, end, y - tallest_[list]); it != end; ++it) {
        if (*it > bound) {
          ended = false;
          break;
        }
        const size_t index = listed_[static_cast<size_t>(it - bottoms_.begin())];
        const Edge& e = edges_[index];
        if (e.group == own || x < e.box.minX || x > e.box.maxX || e.box.maxY < y) continue;
        if (const auto h = HitAbove(*e.figure, x, y)) {
          hits.push_back({*h, index});
          // A bound known late only means looking at a few more figures: it is worked out
          // again each time the hits have doubled.
          if (hits.size() >= want && (hits.size() & (hits.size() - 1)) == 0) {
            bound = Bound(hits, want, met);
          }
        }
      }
    }
    Bound(hits, want, met);
    return met;
  }

 private:
  static constexpr size_t kWideColumns = 16;

  // The groups in the order of their first hits, at most `want`, into `met`; the height of the
  // want-th, or HUGE_VAL while fewer are met.
  double Bound(std::vector<std::pair<double, size_t>>& hits, size_t want,
               std::vector<int>& met) const {
    std::sort(hits.begin(), hits.end());
    met.clear();
    for (const auto& [at, index] : hits) {
      const int group = edges_[index].group;
      if (std::find(met.begin(), met.end(), group) != met.end()) continue;
      met.push_back(group);
      if (met.size() == want) return at;
    }
    return HUGE_VAL;
  }

  size_t Column(double x) const {
    const double at = (x - left_) / width_;
    if (!(at > 0)) return 0;
    return std::min(columns_ - 1, static_cast<size_t>(std::min(at, 1e15)));
  }

  static bool FigureBox(const FigureRecord& f, VexBox& b) {
    switch (f.kind) {
      case VEX_FIG_LINE:
        b = {std::min(f.u.line.x1, f.u.line.x2), std::min(f.u.line.y1, f.u.line.y2),
             std::max(f.u.line.x1, f.u.line.x2), std::max(f.u.line.y1, f.u.line.y2)};
        return true;
      case VEX_FIG_ARC:  // the arc's circle: a little wider than the arc, never narrower
        b = {f.u.arc.cx - f.u.arc.r, f.u.arc.cy - f.u.arc.r, f.u.arc.cx + f.u.arc.r,
             f.u.arc.cy + f.u.arc.r};
        return true;
      case VEX_FIG_CIRCLE:
        b = {f.u.circle.cx - f.u.circle.r, f.u.circle.cy - f.u.circle.r,
             f.u.circle.cx + f.u.circle.r, f.u.circle.cy + f.u.circle.r};
        return true;
      default:
        return false;
    }
  }

  struct Edge {
    const FigureRecord* figure;  // in the figures given, which outlive the edges
    int group;
    VexBox box;
  };
  std::vector<Edge> edges_;
  size_t columns_ = 1;
  double left_ = 0, width_ = 1;
  std::vector<size_t> from_;  // list k is listed_[from_[k]] up to [from_[k + 1]]
  std::vector<size_t> listed_;
  std::vector<double> bottoms_;  // beside listed_: the bottoms of their boxes
  // Per list, its tallest figure's height: how far below a ray's start a figure's box may
  // begin and still reach it.
  std::vector<double> tallest_;
};

}  // namespace

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

std::vector<FigureRecord> FiguresOf(const vexhost::Drawing& drawing,
                                    const std::vector<int>& segments) {
  std::vector<FigureRecord> figures;
  for (const int id : segments) {
    const std::vector<FigureRecord> f = FiguresOf(drawing, id);
    figures.insert(figures.end(), f.begin(), f.end());
  }
  return figures;
}

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
    figures[p] = FiguresOf(drawing, forest.parts[p].own);
    forest.parts[p].closed = vexhost::IsClosedChain(figures[p]);
    if (forest.parts[p].closed) closed.push_back(static_cast<int>(p));
  }

  // Each group's parent: the smallest closed group that holds all its tested points. A ray cast
  // straight up from the group's highest point meets first either its parent's outline (the
  // point lies inside it) or the outline of a group beside it, whose parent is then the first
  // to look at; outlines higher up are settled first, so that parent is known. From there the
  // parents are walked up until one holds every tested point. In n log n for any nesting: a
  // scan of every outline around each group grew with the square of the nesting depth.
  const OutlineEdges edges(figures, closed);
  std::vector<std::vector<std::pair<double, double>>> points(forest.parts.size());
  std::vector<std::pair<double, double>> top(forest.parts.size());
  std::vector<size_t> order;
  for (size_t p = 0; p < forest.parts.size(); ++p) {
    points[p] = TestPoints(figures[p]);
    if (points[p].empty()) continue;
    top[p] = HighestPoint(figures[p]);
    order.push_back(p);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return top[a].second > top[b].second; });
  std::vector<bool> settled(forest.parts.size(), false);
  // Each closed group's outline, split into pieces the first time a point is tested against it.
  std::vector<std::optional<vexhost::Outline>> outlines(forest.parts.size());
  const auto outlineOf = [&](int c) -> const vexhost::Outline& {
    auto& outline = outlines[static_cast<size_t>(c)];
    if (!outline) {
      const auto& of = figures[static_cast<size_t>(c)];
      outline.emplace(of.data(), static_cast<int>(of.size()));
    }
    return *outline;
  };
  const auto holds = [&](int c, size_t p) {
    const CandidatePart& outer = forest.parts[static_cast<size_t>(c)];
    if (!(Area(outer.box) > Area(forest.parts[p].box)) ||
        !BoxHolds(outer.box, forest.parts[p].box, joint)) {
      return false;
    }
    const vexhost::Outline& outline = outlineOf(c);
    return std::none_of(points[p].begin(), points[p].end(), [&](const auto& point) {
      return outline.IsOutside(point.first, point.second);
    });
  };
  // At most this many outlines are looked at above each group, nearest first, and the smallest
  // that holds it taken: where outlines nest, the first settles it; where they cross, a nearer
  // larger one may come before the smallest. Only where none of them tells anything, while
  // more lie above, is every outline looked at.
  constexpr size_t kOutlinesAbove = 16;
  for (const size_t p : order) {
    const auto [x, y] = top[p];
    int parent = -1;
    bool ended = false;     // no outline is left above
    bool informed = false;  // an outline met told where it lies (inside it, or beside it)
    const auto take = [&](int c) {
      if (c >= 0 && (parent < 0 || Area(forest.parts[static_cast<size_t>(c)].box) <
                                       Area(forest.parts[static_cast<size_t>(parent)].box))) {
        parent = c;
      }
    };
    {
      for (const int m : edges.MetAbove(x, y, static_cast<int>(p), kOutlinesAbove, ended)) {
        if (!outlineOf(m).IsOutside(x, y)) {
          informed = true;
          if (holds(m, p)) take(m);
        } else if (settled[static_cast<size_t>(m)]) {
          informed = true;
          int c = forest.parts[static_cast<size_t>(m)].parent;
          while (c >= 0 && !holds(c, p)) c = forest.parts[static_cast<size_t>(c)].parent;
          take(c);
        }
      }
    }
    if (!ended && !informed) {
      // The rare case the rays did not settle (many outlines crossing each other above it,
      // none of them settled): the smallest outline that holds it, looked for among all.
      for (const int c : closed) {
        if (static_cast<size_t>(c) != p && holds(c, p)) take(c);
      }
    }
    forest.parts[p].parent = parent;
    settled[p] = true;
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
