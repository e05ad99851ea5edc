#include "survey/joined_families.h"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <map>
#include <numeric>

#include "host/geometry.h"
#include "survey/candidate_parts.h"
#include "survey/twin_search.h"

namespace twinfind::survey {
namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using Point = bg::model::point<double, 2, bg::cs::cartesian>;
using Box = bg::model::box<Point>;

// One member of one family, with its figures.
struct Piece {
  size_t family = 0;
  std::vector<int> segments;  // sorted
  std::vector<FigureRecord> figures;
  VexBox box{};
};

// The ends of lines and arcs.
std::vector<std::pair<double, double>> Ends(const std::vector<FigureRecord>& figures) {
  std::vector<std::pair<double, double>> ends;
  for (const FigureRecord& f : figures) {
    if (f.kind == VEX_FIG_LINE) {
      ends.push_back({f.u.line.x1, f.u.line.y1});
      ends.push_back({f.u.line.x2, f.u.line.y2});
    } else if (f.kind == VEX_FIG_ARC) {
      ends.push_back({f.u.arc.sx, f.u.arc.sy});
      ends.push_back({f.u.arc.ex, f.u.arc.ey});
    }
  }
  return ends;
}

// Whether an end of one piece's lines and arcs lies on a figure of the other.
bool EndOn(const Piece& a, const Piece& b, double joint) {
  for (const auto& [x, y] : Ends(a.figures)) {
    if (x < b.box.minX - joint || x > b.box.maxX + joint || y < b.box.minY - joint ||
        y > b.box.maxY + joint) {
      continue;
    }
    for (const FigureRecord& f : b.figures) {
      const std::optional<double> d = vexhost::DistanceToFigure(f, x, y);
      if (d && *d <= joint) return true;
    }
  }
  return false;
}

size_t Root(std::vector<size_t>& root, size_t i) {
  while (root[i] != i) i = root[i] = root[root[i]];
  return i;
}

}  // namespace

bool JoinTouchingFamilies(const vexhost::Drawing& drawing, const std::vector<int>& range,
                          const SearchOptions& options, std::vector<Family>& families,
                          const StepProgress& progress) {
  const double joint = CoordinateTolerance(options);
  std::vector<Piece> pieces;
  std::vector<std::pair<Box, size_t>> boxes;
  for (size_t f = 0; f < families.size(); ++f) {
    for (const FoundTwin& member : families[f].members) {
      Piece piece;
      piece.family = f;
      piece.segments = member.segments;
      std::sort(piece.segments.begin(), piece.segments.end());
      for (const int id : piece.segments) {
        const std::vector<FigureRecord> figures = FiguresOf(drawing, id);
        piece.figures.insert(piece.figures.end(), figures.begin(), figures.end());
      }
      piece.box = BoxOf(drawing, piece.segments);
      boxes.push_back({Box(Point(piece.box.minX - joint, piece.box.minY - joint),
                           Point(piece.box.maxX + joint, piece.box.maxY + joint)),
                       pieces.size()});
      pieces.push_back(std::move(piece));
    }
  }
  // The pieces of other families each touches, joined into groups.
  const bgi::rtree<std::pair<Box, size_t>, bgi::quadratic<16>> tree(boxes.begin(), boxes.end());
  std::vector<size_t> root(pieces.size());
  std::iota(root.begin(), root.end(), size_t{0});
  std::vector<std::pair<Box, size_t>> near;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i % 64 == 0 && !progress(0.5 * static_cast<double>(i) / static_cast<double>(pieces.size())))
      return false;
    near.clear();
    tree.query(bgi::intersects(boxes[i].first), std::back_inserter(near));
    for (const auto& [box, j] : near) {
      if (j <= i || pieces[j].family == pieces[i].family || Root(root, i) == Root(root, j)) {
        continue;
      }
      if (EndOn(pieces[i], pieces[j], joint) || EndOn(pieces[j], pieces[i], joint)) {
        root[Root(root, j)] = Root(root, i);
      }
    }
  }
  std::map<size_t, std::vector<size_t>> groups;  // by root, in the order of the families
  for (size_t i = 0; i < pieces.size(); ++i) groups[Root(root, i)].push_back(i);

  // Groups of two or more pieces, by the families they hold (each as often as it is held).
  std::map<std::vector<size_t>, std::vector<const std::vector<size_t>*>> byFamilies;
  for (const auto& [r, group] : groups) {
    if (group.size() < 2) continue;
    std::vector<size_t> held;
    for (const size_t p : group) held.push_back(pieces[p].family);
    std::sort(held.begin(), held.end());
    byFamilies[held].push_back(&group);
  }
  std::vector<bool> gone(families.size(), false);
  std::vector<std::pair<size_t, Family>> joined;  // in the place of a family
  size_t done = 0;
  for (const auto& [held, alike] : byFamilies) {
    if (!progress(0.5 +
                  0.5 * static_cast<double>(done++) / static_cast<double>(byFamilies.size()))) {
      return false;
    }
    if (alike.size() < 2) continue;
    // Every member of each family in one of the groups, no family joined already.
    std::map<size_t, size_t> count;
    for (const size_t f : held) ++count[f];
    bool whole = true;
    for (const auto& [f, n] : count) {
      whole = whole && !gone[f] && n * alike.size() == families[f].members.size();
    }
    if (!whole) continue;
    std::vector<std::vector<int>> expected;
    for (const std::vector<size_t>* group : alike) {
      std::vector<int> segments;
      for (const size_t p : *group) {
        segments.insert(segments.end(), pieces[p].segments.begin(), pieces[p].segments.end());
      }
      std::sort(segments.begin(), segments.end());
      expected.push_back(std::move(segments));
    }
    TwinSearch search(drawing, options, range);
    std::optional<std::vector<FoundTwin>> twins = search.Search(expected.front());
    if (!twins) continue;
    std::vector<std::vector<int>> found;
    for (const FoundTwin& t : *twins) {
      std::vector<int> sorted = t.segments;
      std::sort(sorted.begin(), sorted.end());
      found.push_back(std::move(sorted));
    }
    const size_t self = static_cast<size_t>(
        std::find(found.begin(), found.end(), expected.front()) - found.begin());
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    if (found != expected) continue;
    std::rotate(twins->begin(), twins->begin() + static_cast<long>(self),
                twins->begin() + static_cast<long>(self) + 1);
    Family family;
    family.part = twins->front().segments;
    std::sort(family.part.begin(), family.part.end());
    for (const int id : family.part) {
      family.figures += static_cast<int>(FiguresOf(drawing, id).size());
    }
    family.box = BoxOf(drawing, family.part);
    family.partFound = true;
    family.found = static_cast<int>(twins->size());
    for (const FoundTwin& t : *twins) family.mirrored += t.mirrored ? 1 : 0;
    family.members = std::move(*twins);
    for (const auto& [f, n] : count) gone[f] = true;
    joined.emplace_back(held.front(), std::move(family));
  }
  if (joined.empty()) return true;
  std::vector<Family> kept;
  for (size_t f = 0; f < families.size(); ++f) {
    for (auto& [at, family] : joined) {
      if (at == f) kept.push_back(std::move(family));
    }
    if (!gone[f]) kept.push_back(std::move(families[f]));
  }
  families = std::move(kept);
  return true;
}

}  // namespace twinfind::survey
