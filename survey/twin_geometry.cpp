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

// The point a figure is filed under: a line's middle (the same whichever way it runs), a
// circle's, arc's or point's centre.
Vec KeyPoint(const Shape& s) {
  if (s.kind == VEX_FIG_LINE) return {(s.a.x + s.b.x) / 2, (s.a.y + s.b.y) / 2};
  return s.c;
}

// Figures filed by the cell of their key point, for finding the equal of one near where it
// lies without a look at all of them: one array sorted by cell, searched by halves.
class FigureCells {
 public:
  explicit FigureCells(double tolerance) : cell_(std::max(4 * tolerance, 1e-9)) {}
  void Add(const Shape& s, size_t tag) {
    const Vec k = KeyPoint(s);
    entries_.push_back({{Cell(k.x), Cell(k.y)}, tag, s});
    sorted_ = false;
  }
  // Calls `visit(shape, tag)` for every filed figure whose key point lies near the given one's;
  // stops when it answers true, and then answers true.
  template <typename Visit>
  bool Near(const Shape& s, Visit visit) {
    if (!sorted_) {
      std::sort(entries_.begin(), entries_.end(),
                [](const Entry& a, const Entry& b) { return a.cell < b.cell; });
      sorted_ = true;
    }
    const Vec k = KeyPoint(s);
    const int64_t cx = Cell(k.x), cy = Cell(k.y);
    for (int64_t dx = -1; dx <= 1; ++dx) {
      for (int64_t dy = -1; dy <= 1; ++dy) {
        const std::pair<int64_t, int64_t> cell{cx + dx, cy + dy};
        auto it = std::lower_bound(entries_.begin(), entries_.end(), cell,
                                   [](const Entry& e, const auto& c) { return e.cell < c; });
        for (; it != entries_.end() && it->cell == cell; ++it) {
          if (visit(it->shape, it->tag)) return true;
        }
      }
    }
    return false;
  }

 private:
  struct Entry {
    std::pair<int64_t, int64_t> cell;
    size_t tag;
    Shape shape;
  };
  int64_t Cell(double v) const { return static_cast<int64_t>(std::floor(v / cell_)); }
  double cell_;
  std::vector<Entry> entries_;
  bool sorted_ = true;
};

// Every figure of one has its own equal in the other. Long segments (a polyline of many
// vertices) are matched through the cells of their figures, so that the cost grows with their
// size, not its square.
bool SameFigures(const std::vector<Shape>& a, const std::vector<Shape>& b, double tolerance) {
  if (a.size() != b.size()) return false;
  std::vector<bool> used(b.size(), false);
  if (b.size() <= 16) {
    for (const Shape& s : a) {
      bool found = false;
      for (size_t j = 0; j < b.size() && !found; ++j) {
        if (!used[j] && SameShape(s, b[j], tolerance)) used[j] = found = true;
      }
      if (!found) return false;
    }
    return true;
  }
  FigureCells cells(tolerance);
  for (size_t j = 0; j < b.size(); ++j) cells.Add(b[j], j);
  for (const Shape& s : a) {
    const bool found = cells.Near(s, [&](const Shape& t, size_t j) {
      if (used[j] || !SameShape(s, t, tolerance)) return false;
      used[j] = true;
      return true;
    });
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

// Whether turn a goes less far than turn b either way, or as far but counter-clockwise (90
// before 270).
bool SmallerTurn(double a, double b) {
  const double da = Degrees(a), db = Degrees(b);
  const double sa = std::min(da, 360 - da), sb = std::min(db, 360 - db);
  return sa < sb - 1e-9 || (sa < sb + 1e-9 && da < db - 1e-9);
}

}  // namespace

namespace {

// Where a trial puts the part: its reference (line start, or round figure's centre) on
// `from`, turned so that the reference direction points to `to`.
struct Anchor {
  Vec from, to;
  size_t figure = 0;  // the candidate figure it lies on, numbered across the candidates
};

// The part's reference and the direction that fixes a twin's turn: the longest line; for a
// part without a line, its largest circle or arc, with the direction to its own start (an arc)
// or to the farthest centre or arc end of its other circles and arcs. `turns` is false when
// nothing fixes the turn (concentric circles).
struct Reference {
  const Shape* shape = nullptr;
  Vec origin, direction;
  double length = 0;  // of the line, or from the centre to the point fixing the turn
  bool turns = true;
};

Reference ReferenceOf(const std::vector<std::vector<Shape>>& partShapes) {
  Reference ref;
  for (const auto& shapes : partShapes) {
    for (const Shape& s : shapes) {
      if (s.kind == VEX_FIG_LINE && (!ref.shape || Length(s.b - s.a) > ref.length)) {
        ref = {&s, s.a, s.b - s.a, Length(s.b - s.a), true};
      }
    }
  }
  if (ref.shape != nullptr) return ref.length > 0 ? ref : Reference{};
  for (const auto& shapes : partShapes) {
    for (const Shape& s : shapes) {
      const bool round = s.kind == VEX_FIG_CIRCLE || s.kind == VEX_FIG_ARC;
      if (round && (!ref.shape || s.r > ref.shape->r)) ref.shape = &s;
    }
  }
  if (ref.shape == nullptr) return ref;
  ref.origin = ref.shape->c;
  ref.turns = false;
  ref.direction = {1, 0};
  const auto consider = [&](Vec p) {
    const double d = Length(p - ref.origin);
    if (d > std::max(ref.length, 1e-9)) {
      ref.length = d;
      ref.direction = p - ref.origin;
      ref.turns = true;
    }
  };
  if (ref.shape->kind == VEX_FIG_ARC) {
    consider(ref.shape->a);
  } else {
    for (const auto& shapes : partShapes) {
      for (const Shape& s : shapes) {
        if (&s == ref.shape) continue;
        if (s.kind == VEX_FIG_CIRCLE) consider(s.c);
        if (s.kind == VEX_FIG_ARC) {
          consider(s.a);
          consider(s.b);
        }
      }
    }
  }
  return ref;
}

// Every placement of the part's reference on a candidate figure, in drawing order, each owned
// by the candidate holding that figure: a line of the reference's length from either end; a
// circle or arc of the reference's size, turned towards every point of another candidate
// figure (centre or arc end) at the reference's distance, or moved alone.
std::vector<std::pair<size_t, Anchor>> AnchorsOf(const Reference& ref, CandidateSet& set,
                                                 double tolerance) {
  std::vector<std::pair<size_t, Anchor>> anchors;
  std::vector<Vec> points;  // centres and arc ends of the candidates, to turn round figures by
  if (ref.shape->kind != VEX_FIG_LINE && ref.turns) {
    for (const Candidate& c : set.all()) {
      for (const Shape& s : c.shapes) {
        if (s.kind == VEX_FIG_CIRCLE) points.push_back(s.c);
        if (s.kind == VEX_FIG_ARC) {
          points.push_back(s.a);
          points.push_back(s.b);
        }
      }
    }
  }
  size_t figure = 0;
  for (size_t i = 0; i < set.all().size(); ++i) {
    for (const Shape& s : set.all()[i].shapes) {
      ++figure;
      if (s.kind != ref.shape->kind) continue;
      if (s.kind == VEX_FIG_LINE) {
        if (std::fabs(Length(s.b - s.a) - ref.length) > tolerance) continue;
        anchors.push_back({i, {s.a, s.b, figure}});
        anchors.push_back({i, {s.b, s.a, figure}});
        continue;
      }
      if (std::fabs(s.r - ref.shape->r) > tolerance) continue;
      if (!ref.turns) {
        anchors.push_back({i, {s.c, s.c + ref.direction, figure}});
        continue;
      }
      for (const Vec& p : points) {
        if (std::fabs(Length(p - s.c) - ref.length) <= tolerance) {
          anchors.push_back({i, {s.c, p, figure}});
        }
      }
    }
  }
  std::stable_sort(anchors.begin(), anchors.end(), [&](const auto& a, const auto& b) {
    return set.all()[a.first].id < set.all()[b.first].id;
  });
  return anchors;
}

// The candidates the segments' figures land on under the motion, one a segment in their order;
// fewer than the segments when one lands on none.
std::vector<size_t> LandOn(CandidateSet& set, const std::vector<std::vector<Shape>>& segments,
                           const Motion& motion, double tolerance) {
  std::vector<size_t> chosen;
  for (const auto& shapes : segments) {
    std::vector<Shape> moved;
    for (const Shape& s : shapes) moved.push_back(Moved(s, motion));
    const auto found = set.Find(moved, Centre(moved), tolerance, chosen);
    if (!found) break;
    chosen.push_back(*found);
  }
  return chosen;
}

}  // namespace

TwinGrouping GroupTwins(const vexhost::Drawing& drawing, const std::vector<int>& part,
                        const std::vector<int>& candidates, double tolerance) {
  TwinGrouping grouping;
  std::vector<std::vector<Shape>> partShapes;
  std::vector<int> partIds;
  for (const int id : part) {
    auto shapes = ShapesOf(drawing, id);
    if (shapes.empty()) continue;
    partIds.push_back(id);
    partShapes.push_back(std::move(shapes));
  }
  const Reference reference = ReferenceOf(partShapes);
  CandidateSet set(drawing, candidates);
  if (reference.shape != nullptr) {
    const std::vector<std::pair<size_t, Anchor>> anchors = AnchorsOf(reference, set, tolerance);
    // A few of the part's figures, spread over it, are placed first: a placement that puts one
    // of them on nothing is passed over before the whole part is moved (a polyline of many
    // equal sides has as many placements as sides, and all but a few fail at once).
    FigureCells cells(tolerance);
    for (size_t c = 0; c < set.all().size(); ++c) {
      for (const Shape& shape : set.all()[c].shapes) cells.Add(shape, c);
    }
    std::vector<const Shape*> samples, all;
    for (const auto& shapes : partShapes) {
      for (const Shape& shape : shapes) all.push_back(&shape);
    }
    constexpr size_t kSamples = 8;
    for (size_t i = 0; i < std::min(kSamples, all.size()); ++i) {
      samples.push_back(all[i * all.size() / std::min(kSamples, all.size())]);
    }
    // The motion that lays the part's reference on an anchor, mirrored first when asked.
    const auto motionOnto = [&](const Anchor& anchor, bool mirrored) {
      Vec partDirection = reference.direction;
      if (mirrored) partDirection.x = -partDirection.x;
      Motion motion;
      motion.origin = reference.origin;
      motion.target = anchor.from;
      motion.mirrored = mirrored;
      const Vec to = anchor.to - anchor.from;
      motion.angle = std::atan2(to.y, to.x) - std::atan2(partDirection.y, partDirection.x);
      return motion;
    };
    // Whether the sample figures, moved, each land on a figure of a candidate not yet taken.
    const auto landsSamples = [&](const Motion& motion) {
      return std::all_of(samples.begin(), samples.end(), [&](const Shape* p) {
        const Shape moved = Moved(*p, motion);
        return cells.Near(moved, [&](const Shape& t, size_t c) {
          return !set.all()[c].taken && SameShape(moved, t, tolerance);
        });
      });
    };
    // Every placement is tried unmirrored before any is tried mirrored: a part that is its own
    // mirror image fits its twins both ways, and is a mirror image of none of them. The search
    // decides the same way.
    std::vector<std::pair<size_t, GroupedTwin>> made;  // by the placement that made each
    std::vector<size_t> fitted;                        // figures that made a twin: tried no further
    for (const bool mirrored : {false, true}) {
      for (size_t l = 0; l < anchors.size(); ++l) {
        const auto& [owner, anchor] = anchors[l];
        if (set.all()[owner].taken ||
            std::find(fitted.begin(), fitted.end(), anchor.figure) != fitted.end()) {
          continue;
        }
        Motion motion = motionOnto(anchor, mirrored);
        if (!landsSamples(motion)) continue;
        std::vector<size_t> chosen = LandOn(set, partShapes, motion, tolerance);
        if (chosen.size() != partShapes.size()) continue;
        // A part that looks the same after a turn (a rounded pad after a half turn) fits its
        // twin under each such turn: the smallest is told (counter-clockwise on a tie), so that a
        // twin placed as the part is (the part itself among them) is told unturned, whichever line
        // was drawn first.
        if (reference.turns) {
          std::vector<size_t> sorted = chosen;
          std::sort(sorted.begin(), sorted.end());
          int last = 0;  // the twin's last segment in drawing order, where its anchors end
          for (const size_t index : chosen) last = std::max(last, set.all()[index].id);
          std::vector<Motion> turns;  // the smaller turns onto the twin's own lines
          for (size_t other = l + 1;
               other < anchors.size() && set.all()[anchors[other].first].id <= last; ++other) {
            if (!std::binary_search(sorted.begin(), sorted.end(), anchors[other].first)) continue;
            const Motion turn = motionOnto(anchors[other].second, mirrored);
            if (SmallerTurn(turn.angle, motion.angle)) turns.push_back(turn);
          }
          // Smallest first: the first that lays the part on the same segments is the one.
          std::stable_sort(turns.begin(), turns.end(), [](const Motion& a, const Motion& b) {
            return SmallerTurn(a.angle, b.angle);
          });
          for (const Motion& turn : turns) {
            if (!landsSamples(turn)) continue;
            std::vector<size_t> again = LandOn(set, partShapes, turn, tolerance);
            std::vector<size_t> same = again;
            std::sort(same.begin(), same.end());
            if (same != sorted) continue;
            motion = turn;
            chosen = std::move(again);
            break;
          }
        }
        GroupedTwin twin;
        for (const size_t index : chosen) {
          set.all()[index].taken = true;
          twin.segments.push_back(set.all()[index].id);
        }
        twin.angleDegrees = reference.turns ? Degrees(motion.angle) : 0.0;
        twin.mirrored = mirrored;
        made.push_back({l, std::move(twin)});
        fitted.push_back(anchor.figure);
      }
    }
    // In the drawing order of the placements that made them, mirrored or not.
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
  return FindMovedCopies(drawing, twins, drawing, candidates, tolerance);
}

std::vector<std::vector<int>> FindMovedCopies(const vexhost::Drawing& twinsDrawing,
                                              const std::vector<std::vector<int>>& twins,
                                              const vexhost::Drawing& drawing,
                                              const std::vector<int>& candidates,
                                              double tolerance) {
  std::vector<std::vector<int>> copies(twins.size());
  CandidateSet set(drawing, candidates);
  for (size_t t = 0; t < twins.size(); ++t) {
    std::vector<std::vector<Shape>> shapes;
    for (const int id : twins[t]) shapes.push_back(ShapesOf(twinsDrawing, id));
    if (shapes.empty() || shapes[0].empty()) continue;
    const Vec first = Centre(shapes[0]);
    // Each candidate like the twin's first segment gives the move to try.
    for (size_t i = 0; i < set.all().size() && copies[t].empty(); ++i) {
      Candidate& c = set.all()[i];
      if (c.taken || c.shapes.size() != shapes[0].size()) continue;
      Motion motion;
      motion.origin = first;
      motion.target = c.centre;
      const std::vector<size_t> chosen = LandOn(set, shapes, motion, tolerance);
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
