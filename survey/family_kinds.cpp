#include "survey/family_kinds.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "survey/candidate_parts.h"

namespace twinfind::survey {
namespace {

// Ends and centres closer than this (relative to the member's size) are the same point.
constexpr double kSamePoint = 1e-6;

bool Round(const FigureRecord& f) { return f.kind == VEX_FIG_CIRCLE; }

// Whether the figures' open ends all meet another figure's end: a closed outline (a
// rectangle of four lines, a slot of two arcs and two lines, a round slot of two arcs).
bool Closed(const std::vector<FigureRecord>& figures, double near) {
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
  if (ends.size() < 4) return false;
  for (size_t i = 0; i < ends.size(); ++i) {
    bool met = false;
    for (size_t j = 0; j < ends.size() && !met; ++j) {
      // The other end of the same figure does not count.
      met = j != i && j != (i ^ 1) && std::fabs(ends[i].first - ends[j].first) <= near &&
            std::fabs(ends[i].second - ends[j].second) <= near;
    }
    if (!met) return false;
  }
  return true;
}

}  // namespace

FamilyKind KindOf(const vexhost::Drawing& drawing, const Family& family) {
  const VexBox& b = family.box;
  const double size = std::max(b.maxX - b.minX, b.maxY - b.minY);
  const double near = kSamePoint * std::max(1.0, size);
  if (!(b.maxX - b.minX > near) || !(b.maxY - b.minY > near)) return FamilyKind::kStroke;
  std::vector<FigureRecord> figures;
  for (const int id : family.part) {
    for (const FigureRecord& f : FiguresOf(drawing, id)) figures.push_back(f);
  }
  if (figures.empty()) return FamilyKind::kStroke;
  const FigureRecord& first = figures.front();
  const bool concentric = std::all_of(figures.begin(), figures.end(), [&](const FigureRecord& f) {
    return Round(f) && Round(first) && std::fabs(f.u.circle.cx - first.u.circle.cx) <= near &&
           std::fabs(f.u.circle.cy - first.u.circle.cy) <= near;
  });
  if (concentric) return FamilyKind::kHoles;
  if (figures.size() >= 3) return FamilyKind::kPart;
  // Two figures (or one) make a part only as a closed outline.
  return Closed(figures, near) ? FamilyKind::kPart : FamilyKind::kStroke;
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

int RankAndKeepParts(const vexhost::Drawing& drawing, std::vector<Family>& families, bool all) {
  std::stable_sort(families.begin(), families.end(),
                   [](const Family& a, const Family& b) { return Weight(a) > Weight(b); });
  if (all) return 0;
  const size_t before = families.size();
  families.erase(
      std::remove_if(families.begin(), families.end(),
                     [&](const Family& f) { return KindOf(drawing, f) == FamilyKind::kStroke; }),
      families.end());
  return static_cast<int>(before - families.size());
}

}  // namespace twinfind::survey
