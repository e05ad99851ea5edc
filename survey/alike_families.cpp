#include "survey/alike_families.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <unordered_map>

#include "host/geometry.h"
#include "survey/candidate_parts.h"
#include "survey/family_sets.h"
#include "survey/part_signature.h"
#include "survey/point_index.h"

namespace twinfind::survey {
namespace {

// Outlines that lie farther apart than this part of their extent are other shapes.
constexpr double kAlike = 0.01;
// Chords an arc or circle is drawn with for the comparison, per full turn: they leave the
// curve by less than a thousandth of its radius.
constexpr int kChordsPerTurn = 96;
constexpr double kPi = 3.14159265358979323846;

struct Point {
  double x = 0, y = 0;
};
struct Piece {
  Point a, b;
};

// The member's figures as straight pieces, relative to its box's lower left corner.
std::vector<Piece> PiecesOf(const vexhost::Drawing& drawing, const std::vector<int>& part,
                            const VexBox& box) {
  std::vector<Piece> pieces;
  const auto at = [&](double x, double y) { return Point{x - box.minX, y - box.minY}; };
  const auto curve = [&](double cx, double cy, double r, double from, double sweep) {
    const int n = std::max(2, static_cast<int>(std::ceil(kChordsPerTurn * sweep / (2 * kPi))));
    for (int i = 0; i < n; ++i) {
      const double t0 = from + sweep * i / n, t1 = from + sweep * (i + 1) / n;
      pieces.push_back({at(cx + r * std::cos(t0), cy + r * std::sin(t0)),
                        at(cx + r * std::cos(t1), cy + r * std::sin(t1))});
    }
  };
  for (const int id : part) {
    for (const FigureRecord& f : FiguresOf(drawing, id)) {
      if (f.kind == VEX_FIG_LINE) {
        pieces.push_back({at(f.u.line.x1, f.u.line.y1), at(f.u.line.x2, f.u.line.y2)});
      } else if (f.kind == VEX_FIG_CIRCLE) {
        curve(f.u.circle.cx, f.u.circle.cy, f.u.circle.r, 0, 2 * kPi);
      } else if (f.kind == VEX_FIG_ARC) {
        const vexhost::ArcSweep s = vexhost::SweepOf(f.u.arc);
        curve(f.u.arc.cx, f.u.arc.cy, f.u.arc.r, s.from, s.sweep);
      } else if (f.kind == VEX_FIG_POINT) {
        const Point p = at(f.u.point.x, f.u.point.y);
        pieces.push_back({p, p});
      }
    }
  }
  return pieces;
}

double DistanceTo(const Point& p, const Piece& s) {
  const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y, length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - s.a.x) * dx + (p.y - s.a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (s.a.x + t * dx), p.y - (s.a.y + t * dy));
}

// The pieces of one member in square cells as wide as the largest distance looked for, each
// piece in the cells of points taken every half cell along it (not every cell of its box: a
// long slanted line would fill a square of them): a piece within a cell's width of a point has
// such a point within a cell and a quarter, in the 25 cells around the point's.
class PieceCells {
 public:
  PieceCells(const std::vector<Piece>& pieces, double cell) : pieces_(pieces), cell_(cell) {
    for (size_t i = 0; i < pieces.size(); ++i) {
      const Piece& s = pieces[i];
      const double length = std::hypot(s.b.x - s.a.x, s.b.y - s.a.y);
      const int n = std::max(1, static_cast<int>(std::ceil(2 * length / cell)));
      uint64_t last = UINT64_MAX;
      for (int k = 0; k <= n; ++k) {
        const uint64_t key =
            Key(Cell(s.a.x + (s.b.x - s.a.x) * k / n), Cell(s.a.y + (s.b.y - s.a.y) * k / n));
        if (key != last) cells_[key].push_back(i);
        last = key;
      }
    }
    for (auto& [key, list] : cells_) {
      std::sort(list.begin(), list.end());
      list.erase(std::unique(list.begin(), list.end()), list.end());
    }
  }

  // The distance from p to the nearest piece, when one lies within a cell's width.
  double Nearest(const Point& p) const {
    double nearest = INFINITY;
    const int64_t cx = Cell(p.x), cy = Cell(p.y);
    for (int64_t x = cx - 2; x <= cx + 2; ++x) {
      for (int64_t y = cy - 2; y <= cy + 2; ++y) {
        const auto it = cells_.find(Key(x, y));
        if (it == cells_.end()) continue;
        for (const size_t i : it->second) nearest = std::min(nearest, DistanceTo(p, pieces_[i]));
      }
    }
    return nearest;
  }

 private:
  int64_t Cell(double v) const { return static_cast<int64_t>(std::floor(v / cell_)); }
  static uint64_t Key(int64_t x, int64_t y) {
    return (static_cast<uint64_t>(x) << 32) ^ static_cast<uint64_t>(y & 0xFFFFFFFF);
  }

  const std::vector<Piece>& pieces_;
  double cell_;
  std::unordered_map<uint64_t, std::vector<size_t>> cells_;
};

// The farthest any point of `from` (taken every `step` along its pieces) lies from the pieces
// of `to`, when within `limit`; above it otherwise (the first point found farther).
double Farthest(const std::vector<Piece>& from, const std::vector<Piece>& to, double step,
                double limit) {
  const PieceCells cells(to, limit);
  double farthest = 0;
  for (const Piece& s : from) {
    const double length = std::hypot(s.b.x - s.a.x, s.b.y - s.a.y);
    const int n = std::max(1, static_cast<int>(std::ceil(length / step)));
    for (int i = 0; i <= n; ++i) {
      const Point p{s.a.x + (s.b.x - s.a.x) * i / n, s.a.y + (s.b.y - s.a.y) * i / n};
      farthest = std::max(farthest, cells.Nearest(p));
      if (farthest > limit) return farthest;
    }
  }
  return farthest;
}

// The pieces turned by `quarter` quarter turns (and mirrored first when asked), laid back in
// the box they then fill, of width w and height h before the turn.
std::vector<Piece> Oriented(const std::vector<Piece>& pieces, int quarter, bool mirrored, double w,
                            double h) {
  const auto move = [&](Point p) {
    if (mirrored) p.x = w - p.x;
    for (int q = 0; q < quarter; ++q) {
      p = {(q % 2 == 0 ? h : w) - p.y, p.x};
    }
    return p;
  };
  std::vector<Piece> out;
  out.reserve(pieces.size());
  for (const Piece& s : pieces) out.push_back({move(s.a), move(s.b)});
  return out;
}

// The distances from a grid of points over a member's box (the middles of its cells, 8 by 8) to
// the nearest of its pieces. Where two members' pieces lie within d of each other, once their
// boxes (of sizes within d) are laid on each other, each grid point of one lies within d * 1.42
// of the other's, so its distances differ by less than 3 d from the other's: a cheap test each
// pair must pass before their pieces are compared.
constexpr int kProbes = 8;
using Probes = std::array<double, kProbes * kProbes>;

Probes ProbesOf(const std::vector<Piece>& pieces, double w, double h) {
  Probes probes{};
  for (int a = 0; a < kProbes; ++a) {
    for (int b = 0; b < kProbes; ++b) {
      const Point q{(a + 0.5) / kProbes * w, (b + 0.5) / kProbes * h};
      double nearest = pieces.empty() ? 0 : INFINITY;
      for (const Piece& s : pieces) nearest = std::min(nearest, DistanceTo(q, s));
      probes[static_cast<size_t>(a * kProbes + b)] = nearest;
    }
  }
  return probes;
}

// The probes of a member oriented as Oriented() orients its pieces: the grid is the same in
// the box the pieces then fill, its points taken elsewhere.
Probes OrientedProbes(const Probes& probes, int quarter, bool mirrored) {
  Probes out{};
  for (int a = 0; a < kProbes; ++a) {
    for (int b = 0; b < kProbes; ++b) {
      int x = mirrored ? kProbes - 1 - a : a, y = b;
      for (int q = 0; q < quarter; ++q) {
        const int turned = kProbes - 1 - y;
        y = x;
        x = turned;
      }
      out[static_cast<size_t>(x * kProbes + y)] = probes[static_cast<size_t>(a * kProbes + b)];
    }
  }
  return out;
}

// Every family in every orientation the options allow, indexed by the width and height of the
// box it then fills and two of its probes.
class OrientedFamilies {
 public:
  struct Found {
    int family = 0, quarter = 0;
    bool mirrored = false;
  };

  OrientedFamilies(const std::vector<Family>& families, const std::vector<Probes>& probes,
                   const SearchOptions& options)
      : index_(Points(families, probes, options)) {}

  // The families after `after`, in each orientation whose box lies within `limit` of w by h
  // and whose probes lie within `reach` of these, in the order of the families.
  std::vector<const Found*> Near(int after, double w, double h, const Probes& probes, double limit,
                                 double reach) const {
    const double slack = 1e-9 * (w + h);
    const double sides = limit + slack, around = reach + slack;
    std::vector<const Found*> found;
    for (const size_t k : index_.Within(KeyOf(w - sides, h - sides, probes, -around),
                                        KeyOf(w + sides, h + sides, probes, around))) {
      const Entry& e = oriented_[k];
      if (e.found.family <= after) continue;
      bool within = true;
      for (size_t p = 0; p < probes.size() && within; ++p) {
        within = std::fabs(e.probes[p] - probes[p]) <= around;
      }
      if (within) found.push_back(&e.found);
    }
    std::sort(found.begin(), found.end(), [](const Found* a, const Found* b) {
      return std::tie(a->family, a->mirrored, a->quarter) <
             std::tie(b->family, b->mirrored, b->quarter);
    });
    return found;
  }

 private:
  static constexpr size_t kFirst = 1 * kProbes + 2, kSecond = 6 * kProbes + 3;

  static PointIndex::Numbers KeyOf(double w, double h, const Probes& p, double off) {
    return {w, h, p[kFirst] + off, p[kSecond] + off};
  }

  std::vector<std::pair<PointIndex::Numbers, size_t>> Points(const std::vector<Family>& families,
                                                             const std::vector<Probes>& probes,
                                                             const SearchOptions& options) {
    std::vector<std::pair<PointIndex::Numbers, size_t>> points;
    for (size_t f = 0; f < families.size(); ++f) {
      const VexBox& b = families[f].box;
      const double w = b.maxX - b.minX, h = b.maxY - b.minY;
      for (const bool mirrored : {false, true}) {
        if (mirrored && !options.mirror) continue;
        for (int quarter = 0; quarter < (options.rotate ? 4 : 1); ++quarter) {
          oriented_.push_back({{static_cast<int>(f), quarter, mirrored},
                               OrientedProbes(probes[f], quarter, mirrored)});
          points.push_back(
              {KeyOf(quarter % 2 ? h : w, quarter % 2 ? w : h, oriented_.back().probes, 0),
               oriented_.size() - 1});
        }
      }
    }
    return points;
  }

  struct Entry {
    Found found;
    Probes probes;
  };
  std::vector<Entry> oriented_;  // made before the index, by Points
  PointIndex index_;
};

}  // namespace

std::vector<NearFamilies> FindAlikeFamilies(const vexhost::Drawing& drawing,
                                            const std::vector<Family>& families,
                                            const std::vector<NearFamilies>& near,
                                            const SearchOptions& options,
                                            const StepProgress& progress) {
  const int n = static_cast<int>(families.size());
  FamilySets sets(n);
  // Families of a near group are one shape already.
  std::vector<int> nearGroup(static_cast<size_t>(n), -1);
  for (size_t g = 0; g < near.size(); ++g) {
    for (const int f : near[g].families) nearGroup[static_cast<size_t>(f)] = static_cast<int>(g);
  }
  // Figure counts and kinds only: families apart for their layers or colours are not drawn
  // otherwise.
  SearchOptions strokes = options;
  strokes.sameLayer = strokes.sameLineAttr = false;
  std::vector<std::string> exact;
  std::vector<std::vector<Piece>> pieces;
  std::vector<Probes> probes;
  for (const Family& family : families) {
    exact.push_back(SignatureOf(drawing, family.part, strokes).exact);
    pieces.push_back(PiecesOf(drawing, family.part, family.box));
    const VexBox& b = family.box;
    probes.push_back(ProbesOf(pieces.back(), b.maxX - b.minX, b.maxY - b.minY));
  }
  const OrientedFamilies oriented(families, probes, options);
  std::vector<double> within(static_cast<size_t>(n), 0);  // per group root, the farthest
  for (int i = 0; i < n; ++i) {
    if (progress && !progress(static_cast<double>(i) / n)) return {};
    const VexBox& a = families[static_cast<size_t>(i)].box;
    const double w = a.maxX - a.minX, h = a.maxY - a.minY;
    const double extent = std::max(w, h), limit = kAlike * extent;
    if (extent <= 0) continue;
    const std::vector<const OrientedFamilies::Found*> found =
        oriented.Near(i, w, h, probes[static_cast<size_t>(i)], limit, 3 * limit);
    for (size_t k = 0; k < found.size();) {
      const int j = found[k]->family;
      double best = INFINITY;
      for (; k < found.size() && found[k]->family == j; ++k) {
        if (exact[static_cast<size_t>(i)] == exact[static_cast<size_t>(j)]) continue;
        if (nearGroup[static_cast<size_t>(i)] >= 0 &&
            nearGroup[static_cast<size_t>(i)] == nearGroup[static_cast<size_t>(j)]) {
          continue;
        }
        const VexBox& b = families[static_cast<size_t>(j)].box;
        const double bw = b.maxX - b.minX, bh = b.maxY - b.minY;
        const int quarter = found[k]->quarter;
        const double ow = quarter % 2 ? bh : bw, oh = quarter % 2 ? bw : bh;
        if (std::fabs(ow - w) > limit || std::fabs(oh - h) > limit) continue;
        const std::vector<Piece> other =
            Oriented(pieces[static_cast<size_t>(j)], quarter, found[k]->mirrored, bw, bh);
        const double step = limit / 2;
        const double d = std::max(Farthest(pieces[static_cast<size_t>(i)], other, step, limit),
                                  Farthest(other, pieces[static_cast<size_t>(i)], step, limit));
        best = std::min(best, d);
      }
      if (best > limit) continue;
      const double farthest = std::max({best, within[static_cast<size_t>(sets.Find(i))],
                                        within[static_cast<size_t>(sets.Find(j))]});
      within[static_cast<size_t>(sets.Join(i, j))] = farthest;
    }
  }
  std::vector<NearFamilies> alike;
  for (const std::vector<int>& members : sets.Groups()) {
    NearFamilies group;
    group.families = members;
    group.within = within[static_cast<size_t>(sets.Find(members.front()))];
    group.alike = true;
    for (const int f : members) {
      group.count += static_cast<int>(families[static_cast<size_t>(f)].members.size());
    }
    alike.push_back(std::move(group));
  }
  return alike;
}

}  // namespace twinfind::survey
