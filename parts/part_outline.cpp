#include "parts/part_outline.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <numeric>

#include "host/geometry.h"

namespace twinfind::parts {
namespace {

// A line or an arc between two outline points, walked from `from` to `to`.
struct Edge {
  int from = 0, to = 0;
  FigureRecord figure{};
  bool used = false;
};

// Twice the signed area a walk along the figure adds (the integral of x dy - y dx), walked from
// its start to its end, or backwards.
double TwiceArea(const FigureRecord& f, bool backwards) {
  if (f.kind == VEX_FIG_LINE) {
    const auto& l = f.u.line;
    const double value = l.x1 * l.y2 - l.x2 * l.y1;
    return backwards ? -value : value;
  }
  const FigureArc& a = f.u.arc;
  const double sweep = vexhost::SweepOf(a).sweep;
  const double start = std::atan2(a.sy - a.cy, a.sx - a.cx);
  const double signedSweep = a.direction == VEX_ARC_CW ? -sweep : sweep;
  const double end = start + signedSweep;
  const double value = a.r * a.r * signedSweep + a.cx * a.r * (std::sin(end) - std::sin(start)) -
                       a.cy * a.r * (std::cos(end) - std::cos(start));
  return backwards ? -value : value;
}

double LengthOf(const FigureRecord& f) {
  switch (f.kind) {
    case VEX_FIG_LINE:
      return vexhost::Distance(f.u.line.x1, f.u.line.y1, f.u.line.x2, f.u.line.y2);
    case VEX_FIG_CIRCLE:
      return 2 * std::numbers::pi * f.u.circle.r;
    case VEX_FIG_ARC:
      return f.u.arc.r * vexhost::SweepOf(f.u.arc).sweep;
    default:
      return 0;
  }
}

// Outline points: figure ends within the joint distance of each other are one point.
class Points {
 public:
  explicit Points(double joint) : joint_(joint) {}
  int Of(double x, double y) {
    const long long gx = static_cast<long long>(std::floor(x / joint_));
    const long long gy = static_cast<long long>(std::floor(y / joint_));
    for (long long i = gx - 1; i <= gx + 1; ++i) {
      for (long long j = gy - 1; j <= gy + 1; ++j) {
        const auto range = grid_.equal_range({i, j});
        for (auto it = range.first; it != range.second; ++it) {
          const auto& p = points_[it->second];
          if (std::hypot(p.first - x, p.second - y) <= joint_) return it->second;
        }
      }
    }
    points_.emplace_back(x, y);
    const int id = static_cast<int>(points_.size()) - 1;
    grid_.emplace(std::make_pair(gx, gy), id);
    return id;
  }
  size_t size() const { return points_.size(); }

 private:
  double joint_;
  std::vector<std::pair<double, double>> points_;
  std::multimap<std::pair<long long, long long>, int> grid_;
};

int Find(std::vector<int>& parent, int i) {
  while (parent[i] != i) i = parent[i] = parent[parent[i]];
  return i;
}

// One group of edges walked as one circuit (each edge once, in the direction the walk takes
// it; Hierholzer's way), or, for an open group, as far as it goes from an end and again from
// what is left.
std::vector<OutlineLoop> Walks(std::vector<Edge>& edges, const std::vector<size_t>& group,
                               const std::multimap<int, size_t>& at, bool closed,
                               const std::vector<int>& degree) {
  std::vector<OutlineLoop> walks;
  for (;;) {
    // Start at an odd point while there is one (an open chain's end), else anywhere unused.
    int start = -1;
    for (const size_t i : group) {
      if (edges[i].used) continue;
      if (start < 0) start = edges[i].from;
      if (!closed && degree[edges[i].from] % 2 == 1) {
        start = edges[i].from;
        break;
      }
      if (!closed && degree[edges[i].to] % 2 == 1) {
        start = edges[i].to;
        break;
      }
    }
    if (start < 0) return walks;
    OutlineLoop walk;
    walk.closed = closed;
    // Hierholzer: the circuit is the order in which edges leave the stack.
    std::vector<std::pair<int, OutlineStep>> stack{{start, {}}};
    std::vector<OutlineStep> reversed;
    while (!stack.empty()) {
      const int point = stack.back().first;
      bool moved = false;
      const auto range = at.equal_range(point);
      for (auto it = range.first; it != range.second; ++it) {
        Edge& e = edges[it->second];
        if (e.used) continue;
        e.used = true;
        const bool backwards = e.from != point;
        stack.push_back({backwards ? e.from : e.to, {e.figure, backwards}});
        moved = true;
        break;
      }
      if (!moved) {
        if (stack.size() > 1) reversed.push_back(stack.back().second);
        stack.pop_back();
      }
    }
    walk.steps.assign(reversed.rbegin(), reversed.rend());
    for (const OutlineStep& s : walk.steps) walk.twiceArea += TwiceArea(s.figure, s.backwards);
    if (!walk.closed) walk.twiceArea = 0;
    walks.push_back(std::move(walk));
    if (closed) return walks;
  }
}

}  // namespace

std::string LayerName(const vexhost::Drawing& drawing, int layer) {
  const auto it = drawing.layerNames().find(layer);
  return it != drawing.layerNames().end() ? it->second : std::to_string(layer);
}

PartOutline OutlineOf(const vexhost::Drawing& drawing, const std::vector<int>& segments,
                      double joint) {
  PartOutline o;
  o.box = vexhost::EmptyBox();
  Points points(joint);
  std::vector<Edge> edges;
  for (const int id : segments) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (s == nullptr) continue;
    const std::string layer = LayerName(drawing, s->layer);
    if (std::find(o.layers.begin(), o.layers.end(), layer) == o.layers.end()) {
      o.layers.push_back(layer);
    }
    for (const int elementId : s->elements) {
      const vexhost::Element* element = drawing.FindElement(elementId);
      if (element == nullptr || element->type > VEX_ELEMENT_POINT) continue;
      const FigureRecord& f = element->figure;
      if (const auto box = vexhost::FigureBounds(f)) vexhost::Include(o.box, *box);
      o.length += LengthOf(f);
      if (f.kind == VEX_FIG_CIRCLE) {
        OutlineLoop circle;
        circle.steps.push_back({f, false});
        circle.closed = true;
        circle.twiceArea = 2 * std::numbers::pi * f.u.circle.r * f.u.circle.r;
        o.loops.push_back(std::move(circle));
      } else if (f.kind == VEX_FIG_LINE) {
        edges.push_back(
            {points.Of(f.u.line.x1, f.u.line.y1), points.Of(f.u.line.x2, f.u.line.y2), f, false});
      } else if (f.kind == VEX_FIG_ARC) {
        edges.push_back(
            {points.Of(f.u.arc.sx, f.u.arc.sy), points.Of(f.u.arc.ex, f.u.arc.ey), f, false});
      }
    }
  }
  // Groups of touching lines and arcs; a group whose every point has an even number of ends
  // (two, or more where the outline passes a point again) is closed.
  std::vector<int> parent(points.size());
  std::iota(parent.begin(), parent.end(), 0);
  std::vector<int> degree(points.size(), 0);
  std::multimap<int, size_t> at;
  for (size_t i = 0; i < edges.size(); ++i) {
    parent[Find(parent, edges[i].from)] = Find(parent, edges[i].to);
    ++degree[edges[i].from];
    ++degree[edges[i].to];
    at.emplace(edges[i].from, i);
    if (edges[i].to != edges[i].from) at.emplace(edges[i].to, i);
  }
  std::map<int, std::vector<size_t>> groups;
  for (size_t i = 0; i < edges.size(); ++i) groups[Find(parent, edges[i].from)].push_back(i);
  for (const auto& [root, group] : groups) {
    bool closed = true;
    for (const size_t i : group) {
      closed = closed && degree[edges[i].from] % 2 == 0 && degree[edges[i].to] % 2 == 0;
    }
    for (OutlineLoop& walk : Walks(edges, group, at, closed, degree)) {
      o.loops.push_back(std::move(walk));
    }
  }
  if (vexhost::IsEmpty(o.box)) o.box = VexBox{0, 0, 0, 0};
  return o;
}

}  // namespace twinfind::parts
