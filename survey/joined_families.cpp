#include "survey/joined_families.h"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <map>
#include <optional>

#include "host/geometry.h"
#include "survey/candidate_parts.h"
#include "survey/touching_ends.h"
#include "survey/twin_search.h"

namespace twinfind::survey {
namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using Point = bg::model::point<double, 2, bg::cs::cartesian>;
using Box = bg::model::box<Point>;

// One member of one family, with its figures and the ends of its lines and arcs.
struct Piece {
  size_t family = 0;
  std::vector<int> segments;  // sorted
  std::vector<FigureRecord> figures;
  std::vector<End> ends;
  VexBox box{};
};

// Whether an end of one piece's lines and arcs lies on a figure of the other.
bool EndOn(const Piece& a, const Piece& b, double joint) {
  for (const End& end : a.ends) {
    if (end.x < b.box.minX - joint || end.x > b.box.maxX + joint || end.y < b.box.minY - joint ||
        end.y > b.box.maxY + joint) {
      continue;
    }
    for (const FigureRecord& f : b.figures) {
      const std::optional<double> d = vexhost::DistanceToFigure(f, end.x, end.y);
      if (d && *d <= joint) return true;
    }
  }
  return false;
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
      piece.figures = FiguresOf(drawing, piece.segments);
      for (const FigureRecord& f : piece.figures) AddEnds(f, 0, piece.ends);
      piece.box = BoxOf(drawing, piece.segments);
      boxes.push_back({Box(Point(piece.box.minX - joint, piece.box.minY - joint),
                           Point(piece.box.maxX + joint, piece.box.maxY + joint)),
                       pieces.size()});
      pieces.push_back(std::move(piece));
    }
  }
  // The pieces of other families each touches, joined into groups.
  const bgi::rtree<std::pair<Box, size_t>, bgi::quadratic<16>> tree(boxes.begin(), boxes.end());
  Joins touching(pieces.size());
  std::vector<std::pair<Box, size_t>> near;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i % 64 == 0 && !progress(0.5 * static_cast<double>(i) / static_cast<double>(pieces.size())))
      return false;
    near.clear();
    tree.query(bgi::intersects(boxes[i].first), std::back_inserter(near));
    for (const auto& [box, j] : near) {
      if (j <= i || pieces[j].family == pieces[i].family || touching.Find(i) == touching.Find(j)) {
        continue;
      }
      if (EndOn(pieces[i], pieces[j], joint) || EndOn(pieces[j], pieces[i], joint)) {
        touching.Join(i, j);
      }
    }
  }
  std::map<size_t, std::vector<size_t>> groups;  // by root, in the order of the families
  for (size_t i = 0; i < pieces.size(); ++i) groups[touching.Find(i)].push_back(i);

  // Groups of two or more pieces, by the families they hold (each as often as it is held).
  std::map<std::vector<size_t>, std::vector<const std::vector<size_t>*>> byFamilies;
  for (const auto& [r, group] : groups) {
    if (group.size() < 2) continue;
    std::vector<size_t> held;
    for (const size_t p : group) held.push_back(pieces[p].family);
    std::sort(held.begin(), held.end());
    byFamilies[held].push_back(&group);
  }
  std::optional<TwinSearch> search;
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
    if (!search) search.emplace(drawing, options, range);  // once, for every group searched
    std::optional<std::vector<FoundTwin>> twins = search->Search(expected.front());
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
    family.figures = static_cast<int>(FiguresOf(drawing, family.part).size());
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
