#include "survey/twin_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace twinfind::survey {
namespace {

struct Vec {
  double x = 0, y = 0;
};

Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
double Length(Vec v) { return std::hypot(v.x, v.y); }
bool Near(Vec a, Vec b, double tolerance) { return Length(a - b) <= tolerance; }

// A rigid motion, with or without mirroring: p -> target + R(angle) * M(p - origin).
struct Motion {
  Vec origin, target;
  double angle = 0;  // radians
  bool mirrored = false;
  Vec operator()(Vec p) const {
    Vec d = p - origin;
    if (mirrored) d.x = -d.x;
    const double c = std::cos(angle), s = std::sin(angle);
    return target + Vec{c * d.x - s * d.y, s * d.x + c * d.y};
  }
};

// A figure by its points: line ends; circle centre; arc centre and ends; a point.
struct Shape {
  int kind = 0;
  Vec a, b, c;
  double r = 0;
};

std::vector<Shape> ShapesOf(const vexhost::Drawing& drawing, int segmentId) {
  std::vector<Shape> shapes;
  const vexhost::Segment* segment = drawing.FindSegment(segmentId);
  if (segment == nullptr || segment->kind != VEX_SEGMENT_FIGURES) return shapes;
  for (const int id : segment->elements) {
    const vexhost::Element* e = drawing.FindElement(id);
    if (e == nullptr || e->comment) continue;
    const FigureRecord& f = e->figure;
    Shape s;
    s.kind = f.kind;
    switch (f.kind) {
      case VEX_FIG_LINE:
        s.a = {f.u.line.x1, f.u.line.y1};
        s.b = {f.u.line.x2, f.u.line.y2};
        break;
      case VEX_FIG_CIRCLE:
        s.c = {f.u.circle.cx, f.u.circle.cy};
        s.r = f.u.circle.r;
        break;
      case VEX_FIG_ARC:
        s.a = {f.u.arc.sx, f.u.arc.sy};
        s.b = {f.u.arc.ex, f.u.arc.ey};
        s.c = {f.u.arc.cx, f.u.arc.cy};
        s.r = f.u.arc.r;
        break;
      case VEX_FIG_POINT:
        s.c = {f.u.point.x, f.u.point.y};
        break;
      default:
        break;  // kinds 4 and 5 compare by their kind alone
    }
    shapes.push_back(s);
  }
  return shapes;
}

Shape Moved(const Shape& s, const Motion& m) {
  Shape t = s;
  t.a = m(s.a);
  t.b = m(s.b);
  t.c = m(s.c);
  return t;
}

bool SameShape(const Shape& p, const Shape& q, double tolerance) {
  if (p.kind != q.kind) return false;
  const bool ends = (Near(p.a, q.a, tolerance) && Near(p.b, q.b, tolerance)) ||
                    (Near(p.a, q.b, tolerance) && Near(p.b, q.a, tolerance));
  switch (p.kind) {
    case VEX_FIG_LINE:
      return ends;
    case VEX_FIG_CIRCLE:
      return Near(p.c, q.c, tolerance) && std::fabs(p.r - q.r) <= tolerance;
    case VEX_FIG_ARC:
      return ends && Near(p.c, q.c, tolerance) && std::fabs(p.r - q.r) <= tolerance;
    case VEX_FIG_POINT:
      return Near(p.c, q.c, tolerance);
    default:
      return true;
  }
}

// Every figure of one has its own equal in the other.
bool SameFigures(const std::vector<Shape>& a, const std::vector<Shape>& b, double tolerance) {
  if (a.size() != b.size()) return false;
  std::vector<bool> used(b.size(), false);
  for (const Shape& s : a) {
    bool found = false;
    for (size_t j = 0; j < b.size() && !found; ++j) {
      if (!used[j] && SameShape(s, b[j], tolerance)) used[j] = found = true;
    }
    if (!found) return false;
  }
  return true;
}

// The mean of a segment's points, which every motion carries along exactly.
Vec Centre(const std::vector<Shape>& shapes) {
  Vec sum;
  int n = 0;
  const auto add = [&](Vec p) {
    sum = sum + p;
    ++n;
  };
  for (const Shape& s : shapes) {
    if (s.kind == VEX_FIG_LINE || s.kind == VEX_FIG_ARC) {
      add(s.a);
      add(s.b);
    }
    if (s.kind == VEX_FIG_CIRCLE || s.kind == VEX_FIG_ARC || s.kind == VEX_FIG_POINT) add(s.c);
  }
  return n == 0 ? sum : Vec{sum.x / n, sum.y / n};
}

struct Candidate {
  int id = 0;
  std::vector<Shape> shapes;
  Vec centre;
  bool taken = false;
};

// Candidates sorted by the x of their centres, for a quick look-up near a point.
class CandidateSet {
 public:
  CandidateSet(const vexhost::Drawing& drawing, const std::vector<int>& ids) {
    for (const int id : ids) {
      Candidate c;
      c.id = id;
      c.shapes = ShapesOf(drawing, id);
      c.centre = Centre(c.shapes);
      all_.push_back(std::move(c));
    }
    std::sort(all_.begin(), all_.end(),
              [](const Candidate& a, const Candidate& b) { return a.centre.x < b.centre.x; });
  }

  // The index of a free candidate with these figures near `centre`, not among `busy`.
  std::optional<size_t> Find(const std::vector<Shape>& shapes, Vec centre, double tolerance,
                             const std::vector<size_t>& busy) const {
    const double reach = 4 * tolerance;
    auto it = std::lower_bound(all_.begin(), all_.end(), centre.x - reach,
                               [](const Candidate& c, double x) { return c.centre.x < x; });
    for (; it != all_.end() && it->centre.x <= centre.x + reach; ++it) {
      const size_t index = static_cast<size_t>(it - all_.begin());
      if (it->taken || std::find(busy.begin(), busy.end(), index) != busy.end()) continue;
      if (Near(it->centre, centre, reach) && SameFigures(shapes, it->shapes, tolerance)) {
        return index;
      }
    }
    return std::nullopt;
  }

  std::vector<Candidate>& all() { return all_; }

 private:
  std::vector<Candidate> all_;
};

double Degrees(double radians) {
  double d = radians * 180 / std::numbers::pi;
  d = std::fmod(d, 360.0);
  if (d < 0) d += 360;
  const double whole = std::round(d);
  if (std::fabs(d - whole) < 1e-6) d = whole;
  return d >= 360 ? d - 360 : d;
}

}  // namespace

TwinGrouping GroupTwins(const vexhost::Drawing& drawing, const std::vector<int>& part,
                        const std::vector<int>& candidates, double tolerance) {
  TwinGrouping grouping;
  std::vector<std::vector<Shape>> partShapes;
  std::vector<int> partIds;
  const Shape* reference = nullptr;
  for (const int id : part) {
    auto shapes = ShapesOf(drawing, id);
    if (shapes.empty()) continue;
    partIds.push_back(id);
    partShapes.push_back(std::move(shapes));
  }
  for (const auto& shapes : partShapes) {
    for (const Shape& s : shapes) {
      if (s.kind == VEX_FIG_LINE &&
          (!reference || Length(s.b - s.a) > Length(reference->b - reference->a))) {
        reference = &s;
      }
    }
  }
  CandidateSet set(drawing, candidates);
  if (reference != nullptr && Length(reference->b - reference->a) > 0) {
    const double length = Length(reference->b - reference->a);
    // Candidate lines in drawing order.
    std::vector<std::pair<size_t, Shape>> lines;
    for (size_t i = 0; i < set.all().size(); ++i) {
      for (const Shape& s : set.all()[i].shapes) {
        if (s.kind == VEX_FIG_LINE && std::fabs(Length(s.b - s.a) - length) <= tolerance) {
          lines.push_back({i, s});
        }
      }
    }
    std::stable_sort(lines.begin(), lines.end(), [&](const auto& a, const auto& b) {
      return set.all()[a.first].id < set.all()[b.first].id;
    });
    // Every line is tried unmirrored before any is tried mirrored: a part that is its own
    // mirror image fits its twins both ways, and is a mirror image of none of them.
    std::vector<std::pair<size_t, GroupedTwin>> made;  // by the line that made each
    for (const bool mirrored : {false, true}) {
      for (size_t l = 0; l < lines.size(); ++l) {
        const auto& [owner, line] = lines[l];
        if (set.all()[owner].taken) continue;
        bool fits = false;
        for (const bool reversed : {false, true}) {
          if (fits) break;
          const Vec from = reversed ? line.b : line.a, to = reversed ? line.a : line.b;
          Vec partDirection = reference->b - reference->a;
          if (mirrored) partDirection.x = -partDirection.x;
          Motion motion;
          motion.origin = reference->a;
          motion.target = from;
          motion.mirrored = mirrored;
          motion.angle = std::atan2((to - from).y, (to - from).x) -
                         std::atan2(partDirection.y, partDirection.x);
          std::vector<size_t> chosen;
          for (const auto& shapes : partShapes) {
            std::vector<Shape> moved;
            for (const Shape& s : shapes) moved.push_back(Moved(s, motion));
            const auto found = set.Find(moved, Centre(moved), tolerance, chosen);
            if (!found) break;
            chosen.push_back(*found);
          }
          if (chosen.size() != partShapes.size()) continue;
          GroupedTwin twin;
          for (const size_t index : chosen) {
            set.all()[index].taken = true;
            twin.segments.push_back(set.all()[index].id);
          }
          twin.angleDegrees = Degrees(motion.angle);
          twin.mirrored = mirrored;
          made.push_back({l, std::move(twin)});
          fits = true;
        }
      }
    }
    // In the drawing order of the lines that made them, mirrored or not.
    std::stable_sort(made.begin(), made.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [l, twin] : made) grouping.twins.push_back(std::move(twin));
  }
  for (const Candidate& c : set.all()) {
    if (!c.taken) grouping.unmatched.push_back(c.id);
  }
  std::sort(grouping.unmatched.begin(), grouping.unmatched.end());
  return grouping;
}

std::vector<std::vector<int>> FindMovedCopies(const vexhost::Drawing& drawing,
                                              const std::vector<std::vector<int>>& twins,
                                              const std::vector<int>& candidates,
                                              double tolerance) {
  std::vector<std::vector<int>> copies(twins.size());
  CandidateSet set(drawing, candidates);
  for (size_t t = 0; t < twins.size(); ++t) {
    std::vector<std::vector<Shape>> shapes;
    for (const int id : twins[t]) shapes.push_back(ShapesOf(drawing, id));
    if (shapes.empty() || shapes[0].empty()) continue;
    const Vec first = Centre(shapes[0]);
    // Each candidate like the twin's first segment gives the move to try.
    for (size_t i = 0; i < set.all().size() && copies[t].empty(); ++i) {
      Candidate& c = set.all()[i];
      if (c.taken || c.shapes.size() != shapes[0].size()) continue;
      Motion motion;
      motion.origin = first;
      motion.target = c.centre;
      std::vector<size_t> chosen;
      for (const auto& segment : shapes) {
        std::vector<Shape> moved;
        for (const Shape& s : segment) moved.push_back(Moved(s, motion));
        const auto found = set.Find(moved, Centre(moved), tolerance, chosen);
        if (!found) break;
        chosen.push_back(*found);
      }
      if (chosen.size() != shapes.size()) continue;
      for (const size_t index : chosen) {
        set.all()[index].taken = true;
        copies[t].push_back(set.all()[index].id);
      }
    }
  }
  return copies;
}

}  // namespace twinfind::survey
