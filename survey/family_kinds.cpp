#include "survey/family_kinds.h"

#include <algorithm>
#include <cmath>

#include "survey/candidate_parts.h"
#include "survey/touching_ends.h"

namespace twinfind::survey {
namespace {

// Ends and centres closer than this (relative to the member's size) are the same point.
constexpr double kSamePoint = 1e-6;

bool Round(const FigureRecord& f) { return f.kind == VEX_FIG_CIRCLE; }

// Whether some of the lines and arcs close a loop, their ends within `near` taken as one
// point: a closed outline, or one inside a larger drawing (a symbol's frame, a part with its
// marks). Open strokes (a letter, dashes, a zigzag) close none.
bool ClosesALoop(const std::vector<FigureRecord>& figures, double near) {
  // The ends joined into points: each end its own, every two within `near` one.
  std::vector<End> ends;
  std::vector<bool> lone;  // a line of no length: its ends meet, and it closes nothing
  for (const FigureRecord& f : figures) {
    const size_t before = ends.size();
    AddEnds(f, 0, ends);
    if (ends.size() == before) continue;
    for (size_t e = before; e < ends.size(); ++e) ends[e].segment = e;
    lone.push_back(f.kind == VEX_FIG_LINE && std::fabs(f.u.line.x2 - f.u.line.x1) <= near &&
                   std::fabs(f.u.line.y2 - f.u.line.y1) <= near);
  }
  Joins points(ends.size());
  JoinTouching(ends, near, points);
  // Each figure then joins its two points; one that joins two points already joined (by the
  // same point, or by figures before it) closes a loop (an arc of a whole turn closes itself).
  Joins figuresJoined(ends.size());
  for (size_t e = 0; e + 1 < ends.size(); e += 2) {
    const size_t a = figuresJoined.Find(points.Find(e)), b = figuresJoined.Find(points.Find(e + 1));
    if (a == b && !lone[e / 2]) return true;
    figuresJoined.Join(a, b);
  }
  return false;
}

}  // namespace

FamilyKind KindOf(const vexhost::Drawing& drawing, const Family& family, double joint,
                  const DrawnAsBlock& drawnAsBlock) {
  if (drawnAsBlock && !family.part.empty() &&
      std::all_of(family.part.begin(), family.part.end(), drawnAsBlock)) {
    return FamilyKind::kPart;  // a block the drawing inserts again and again
  }
  const VexBox& b = family.box;
  const double size = std::max(b.maxX - b.minX, b.maxY - b.minY);
  const double near = kSamePoint * std::max(1.0, size);
  if (!(b.maxX - b.minX > near) || !(b.maxY - b.minY > near)) return FamilyKind::kStroke;
  const std::vector<FigureRecord> figures = FiguresOf(drawing, family.part);
  if (figures.empty()) return FamilyKind::kStroke;
  const FigureRecord& first = figures.front();
  const bool concentric = std::all_of(figures.begin(), figures.end(), [&](const FigureRecord& f) {
    return Round(f) && Round(first) && std::fabs(f.u.circle.cx - first.u.circle.cx) <= near &&
           std::fabs(f.u.circle.cy - first.u.circle.cy) <= near;
  });
  if (concentric) return FamilyKind::kHoles;
  if (std::any_of(figures.begin(), figures.end(), Round) ||
      ClosesALoop(figures, std::max(near, joint))) {
    return FamilyKind::kPart;
  }
  return FamilyKind::kStroke;
}

namespace {

// What a person looks for first: parts that repeat often, then larger ones. A part's size counts
// one more for each doubling of its figures, so that a tree drawn in a thousand strokes that
// occurs twice does not come before ten chairs.
double Weight(const Family& family) {
  return static_cast<double>(family.members.size()) *
         (1.0 + std::log2(static_cast<double>(std::max(family.figures, 1))));
}

}  // namespace

int RankAndKeepParts(const vexhost::Drawing& drawing, std::vector<Family>& families, bool all,
                     double joint, const DrawnAsBlock& drawnAsBlock) {
  std::stable_sort(families.begin(), families.end(),
                   [](const Family& a, const Family& b) { return Weight(a) > Weight(b); });
  if (all) return 0;
  const size_t before = families.size();
  families.erase(std::remove_if(families.begin(), families.end(),
                                [&](const Family& f) {
                                  return KindOf(drawing, f, joint, drawnAsBlock) ==
                                         FamilyKind::kStroke;
                                }),
                 families.end());
  return static_cast<int>(before - families.size());
}

}  // namespace twinfind::survey
