#include "survey/outline_faces.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <tuple>

#include "host/figures.h"
#include "host/geometry.h"
#include "survey/candidate_parts.h"

namespace twinfind::survey {
namespace {

// Past this many edges a group is a plan, not parts side by side: its faces are not looked for.
constexpr size_t kMostEdges = 4000;

struct P {
  double x, y;
};

double Dist(P a, P b) { return std::hypot(a.x - b.x, a.y - b.y); }

// One edge of the graph: a line or arc piece between two corners, with every segment that
// draws it.
struct Edge {
  int from, to;  // corners
  bool arc;
  P a, b;              // its ends, as drawn
  FigureRecord curve;  // an arc's own figure
  bool ccw = true;     // an arc's direction
  std::vector<int> segments;
};

// The corner nearest each point, points within `joint` of each other being one corner.
std::vector<int> Corners(const std::vector<P>& points, double joint, std::vector<P>& at) {
  std::vector<size_t> order(points.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](size_t i, size_t j) { return points[i].x < points[j].x; });
  std::vector<int> corner(points.size(), -1);
  for (size_t k = 0; k < order.size(); ++k) {
    const size_t i = order[k];
    if (corner[i] >= 0) continue;
    corner[i] = static_cast<int>(at.size());
    at.push_back(points[i]);
    for (size_t m = k + 1; m < order.size() && points[order[m]].x - points[i].x <= joint; ++m) {
      if (corner[order[m]] < 0 && Dist(points[order[m]], points[i]) <= joint) {
        corner[order[m]] = corner[i];
      }
    }
  }
  return corner;
}

// The direction in which a walk along `e` leaves corner `from` (the tangent for an arc).
double Departure(const Edge& e, bool forward) {
  if (!e.arc) {
    const P s = forward ? e.a : e.b, t = forward ? e.b : e.a;
    return std::atan2(t.y - s.y, t.x - s.x);
  }
  const P s = forward ? e.a : e.b;
  // The counter-clockwise tangent at s, turned round where the walk runs clockwise.
  double tx = -(s.y - e.curve.u.arc.cy), ty = s.x - e.curve.u.arc.cx;
  if (e.ccw != forward) tx = -tx, ty = -ty;
  return std::atan2(ty, tx);
}

// What walking `e` adds to the signed area of the face it bounds (positive counter-clockwise).
// Taken about `o`, a corner of the group, so that a group far from the origin loses no digits.
double AreaTerm(const Edge& e, bool forward, P o) {
  const P s = forward ? e.a : e.b, t = forward ? e.b : e.a;
  double area = ((s.x - o.x) * (t.y - o.y) - (t.x - o.x) * (s.y - o.y)) / 2;
  if (e.arc) {
    const double th = vexhost::SweepOf(e.curve.u.arc).sweep, r = e.curve.u.arc.r;
    const double bulge = r * r / 2 * (th - std::sin(th));
    area += (e.ccw == forward) ? bulge : -bulge;
  }
  return area;
}

}  // namespace

std::vector<OutlineFace> BoundedFaces(const vexhost::Drawing& drawing,
                                      const std::vector<int>& segments, double joint, size_t most) {
  // The lines and arcs, each with its segment.
  std::vector<Edge> raw;
  for (const int id : segments) {
    for (const FigureRecord& f : FiguresOf(drawing, id)) {
      Edge e{};
      if (f.kind == VEX_FIG_LINE) {
        e.arc = false;
        e.a = {f.u.line.x1, f.u.line.y1};
        e.b = {f.u.line.x2, f.u.line.y2};
      } else if (f.kind == VEX_FIG_ARC) {
        e.arc = true;
        e.a = {f.u.arc.sx, f.u.arc.sy};
        e.b = {f.u.arc.ex, f.u.arc.ey};
        e.curve = f;
        e.ccw = f.u.arc.direction != VEX_ARC_CW;
      } else {
        continue;
      }
      if (!std::isfinite(e.a.x + e.a.y + e.b.x + e.b.y) || Dist(e.a, e.b) <= joint) continue;
      e.segments = {id};
      raw.push_back(std::move(e));
      if (raw.size() > kMostEdges) return {};
    }
  }
  std::vector<P> ends;
  for (const Edge& e : raw) ends.insert(ends.end(), {e.a, e.b});
  std::vector<P> corner;
  const std::vector<int> cornerOf = Corners(ends, joint, corner);

  // A line is cut where a corner lies on it (another line ends there, as where a line between
  // two parts meets their outline), so that the graph is plane.
  std::vector<Edge> cut;
  for (size_t i = 0; i < raw.size(); ++i) {
    Edge e = raw[i];
    e.from = cornerOf[2 * i];
    e.to = cornerOf[2 * i + 1];
    if (e.arc) {
      cut.push_back(std::move(e));
      continue;
    }
    const double len = Dist(e.a, e.b);
    const double ux = (e.b.x - e.a.x) / len, uy = (e.b.y - e.a.y) / len;
    std::vector<std::pair<double, int>> on;  // (distance along, corner)
    for (size_t c = 0; c < corner.size(); ++c) {
      const double dx = corner[c].x - e.a.x, dy = corner[c].y - e.a.y;
      const double along = dx * ux + dy * uy;
      if (along <= joint || along >= len - joint || std::abs(dx * uy - dy * ux) > joint) continue;
      on.emplace_back(along, static_cast<int>(c));
    }
    std::sort(on.begin(), on.end());
    int from = e.from;
    P a = e.a;
    for (const auto& [along, c] : on) {
      Edge piece = e;
      piece.from = from, piece.a = a, piece.to = c, piece.b = corner[static_cast<size_t>(c)];
      cut.push_back(std::move(piece));
      from = c, a = corner[static_cast<size_t>(c)];
    }
    e.from = from, e.a = a;
    cut.push_back(std::move(e));
  }

  // A line drawn twice is one edge, with both its segments; an arc likewise where it bulges the
  // same way.
  std::vector<Edge> edges;
  std::map<std::tuple<int, int, bool>, std::vector<size_t>> between;
  for (Edge& e : cut) {
    if (e.from == e.to) continue;
    auto& same = between[{std::min(e.from, e.to), std::max(e.from, e.to), e.arc}];
    const auto twin = std::find_if(same.begin(), same.end(), [&](size_t k) {
      const Edge& o = edges[k];
      const FigureArc &x = o.curve.u.arc, &y = e.curve.u.arc;
      return !e.arc || (Dist({x.cx, x.cy}, {y.cx, y.cy}) <= joint && std::abs(x.r - y.r) <= joint &&
                        (o.ccw == e.ccw) == (o.from == e.from));
    });
    if (twin != same.end()) {
      Edge& o = edges[*twin];
      o.segments.insert(o.segments.end(), e.segments.begin(), e.segments.end());
      continue;
    }
    same.push_back(edges.size());
    edges.push_back(std::move(e));
  }

  // Half-edge h = 2 e (+1 walked backwards) leaves corner `from` of e; at each corner the
  // half-edges leaving it in the order of their direction.
  std::vector<std::vector<std::pair<double, int>>> leaving(corner.size());
  for (size_t e = 0; e < edges.size(); ++e) {
    leaving[static_cast<size_t>(edges[e].from)].emplace_back(Departure(edges[e], true), 2 * e);
    leaving[static_cast<size_t>(edges[e].to)].emplace_back(Departure(edges[e], false), 2 * e + 1);
  }
  std::vector<size_t> slot(2 * edges.size());
  for (auto& out : leaving) {
    std::sort(out.begin(), out.end());
    for (size_t k = 0; k < out.size(); ++k) slot[static_cast<size_t>(out[k].second)] = k;
  }
  // Each face is walked with it on the left: from the corner reached, the half-edge next
  // clockwise after the way back.
  const auto next = [&](size_t h) {
    const Edge& e = edges[h / 2];
    const int at = h % 2 ? e.from : e.to;
    const auto& out = leaving[static_cast<size_t>(at)];
    const size_t back = h ^ 1u;
    return static_cast<size_t>(out[(slot[back] + out.size() - 1) % out.size()].second);
  };
  std::vector<OutlineFace> faces;
  std::vector<bool> walked(2 * edges.size(), false);
  for (size_t start = 0; start < walked.size(); ++start) {
    if (walked[start]) continue;
    OutlineFace face;
    double area = 0;
    size_t h = start;
    for (size_t steps = 0; !walked[h] && steps <= walked.size(); ++steps) {
      walked[h] = true;
      const Edge& e = edges[h / 2];
      const bool forward = h % 2 == 0;
      area += AreaTerm(e, forward, corner.front());
      face.segments.insert(face.segments.end(), e.segments.begin(), e.segments.end());
      face.boundary.push_back(e.arc ? e.curve : vexhost::MakeLine(e.a.x, e.a.y, e.b.x, e.b.y));
      h = next(h);
    }
    // The outer side of each group of edges runs clockwise: no face; nor a walk that encloses
    // nothing (a line out and back).
    if (!(area > joint * joint) || h != start) continue;
    std::sort(face.segments.begin(), face.segments.end());
    face.segments.erase(std::unique(face.segments.begin(), face.segments.end()),
                        face.segments.end());
    face.area = area;
    faces.push_back(std::move(face));
    if (faces.size() > most) return {};
  }
  return faces;
}

}  // namespace twinfind::survey
