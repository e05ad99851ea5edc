#include "parts/sheet_parts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "host/geometry.h"
#include "parts/part_outline.h"
#include "survey/candidate_parts.h"
#include "survey/part_signature.h"
#include "survey/twin_search.h"

namespace twinfind::parts {
namespace {

using survey::CandidateForest;

// Whether an outline is one closed loop of straight lines with four right-angled corners
// (lines running on in the same direction are one side).
bool Rectangle(const PartOutline& outline) {
  if (outline.loops.size() != 1 || !outline.loops.front().closed) return false;
  std::vector<std::pair<double, double>> sides;  // each step's direction, start to end
  for (const OutlineStep& step : outline.loops.front().steps) {
    if (step.figure.kind != VEX_FIG_LINE) return false;
    const FigureLine& l = step.figure.u.line;
    const double dx = l.x2 - l.x1, dy = l.y2 - l.y1;
    if (dx == 0 && dy == 0) continue;
    sides.emplace_back(step.backwards ? -dx : dx, step.backwards ? -dy : dy);
  }
  int corners = 0;
  for (size_t i = 0; i < sides.size(); ++i) {
    const auto [ax, ay] = sides[i];
    const auto [bx, by] = sides[(i + 1) % sides.size()];
    const double size = std::hypot(ax, ay) * std::hypot(bx, by);
    const double cross = ax * by - ay * bx, dot = ax * bx + ay * by;
    if (std::abs(cross) <= 1e-6 * size && dot > 0) continue;  // the side runs on
    if (std::abs(dot) > 1e-3 * size) return false;            // a corner that is no right angle
    ++corners;
  }
  return corners == 4;
}

// The parts of the forest: each a sorted list of segments.
class PartCollector {
 public:
  PartCollector(const vexhost::Drawing& drawing, const CandidateForest& forest, double joint)
      : drawing_(drawing), forest_(forest), joint_(joint) {}

  void Collect(SheetParts& out) {
    for (const int root : forest_.roots) InOpenSpace(root, out);
  }
  std::vector<std::vector<int>>& parts() { return parts_; }

 private:
  const survey::CandidatePart& At(int p) const { return forest_.parts[static_cast<size_t>(p)]; }

  // An outline around parts: a rectangle, two or more of whose closed groups hold something.
  // A plate of any other shape whose holes hold pieces (a board whose cut-outs each hold a
  // smaller square) stays a plate.
  bool Frame(int p) const {
    int holding = 0;
    for (const int c : At(p).children) holding += At(c).closed && !At(c).children.empty() ? 1 : 0;
    return holding >= 2 && Rectangle(OutlineOf(drawing_, At(p).own, joint_));
  }

  // Whether an open group is a part drawn in one piece all the same: every figure of it lies
  // in a closed loop (a block reference of a plate with its holes, say).
  bool WholePiece(const survey::CandidatePart& g) const {
    const PartOutline outline = OutlineOf(drawing_, g.own, joint_);
    return !outline.loops.empty() &&
           std::all_of(outline.loops.begin(), outline.loops.end(),
                       [](const OutlineLoop& loop) { return loop.closed; });
  }

  // A group lying where there is no material: a part when it is closed, else a loose stroke.
  void InOpenSpace(int p, SheetParts& out) {
    const survey::CandidatePart& g = At(p);
    if (!g.closed && !WholePiece(g)) {
      out.strokeSegments += static_cast<int>(g.own.size());
      return;
    }
    if (Frame(p)) {
      out.frameSegments += static_cast<int>(g.own.size());
      for (const int c : g.children) InOpenSpace(c, out);
      return;
    }
    std::vector<int> part = g.own;
    Inside(p, false, Side(g.box), part, out);
    std::sort(part.begin(), part.end());
    parts_.push_back(std::move(part));
  }

  // The smaller side of a box.
  static double Side(const VexBox& b) { return std::min(b.maxX - b.minX, b.maxY - b.minY); }

  // What lies inside the closed group `p`: in a part's material (`hole` false) its holes and
  // marks, in a hole open space again; either way the outline's other edge (a line drawn as its
  // two edges) is of the part and leaves the inside as it was. `side`: the part's smaller side.
  void Inside(int p, bool hole, double side, std::vector<int>& part, SheetParts& out) {
    for (const int c : At(p).children) {
      if (OtherSide(p, c, side)) {
        part.insert(part.end(), At(c).own.begin(), At(c).own.end());
        Inside(c, hole, side, part, out);
      } else if (hole) {
        InOpenSpace(c, out);
      } else {
        InPart(c, side, part, out);
      }
    }
  }

  // A group lying inside a part's outline: a hole or a mark of it.
  void InPart(int p, double side, std::vector<int>& part, SheetParts& out) {
    const survey::CandidatePart& g = At(p);
    part.insert(part.end(), g.own.begin(), g.own.end());
    if (g.closed) {
      Inside(p, true, side, part, out);
    } else {
      for (const int c : g.children) InPart(c, side, part, out);
    }
  }

  // Whether the closed group `inner`, lying in the closed group `outer`, is the other edge of
  // the same drawn line (outlines exported as the two edges of a wide pen's stroke): it runs
  // along all of `outer` at one small distance, under a fifth of its own width and a fiftieth
  // of the part's (`side`, the part's smaller side): a strip of material or a gap far too thin
  // for the part around it. Corners may stand off up to half as far again (a stroke's rounded
  // outer corner around its sharp inner one). A disc drawn in a washer's hole stands farther off.
  bool OtherSide(int outer, int inner, double side) const {
    const survey::CandidatePart& o = At(outer);
    const survey::CandidatePart& i = At(inner);
    if (!o.closed || !i.closed) return false;
    const double thin = std::min(Side(i.box) / 5, side / 50);
    const double insets[] = {i.box.minX - o.box.minX, i.box.minY - o.box.minY,
                             o.box.maxX - i.box.maxX, o.box.maxY - i.box.maxY};
    // A box inset is at most the distance times the square root of two (a turned corner).
    if (*std::max_element(std::begin(insets), std::end(insets)) > 1.5 * std::sqrt(2.0) * thin) {
      return false;
    }
    const std::vector<FigureRecord> of = survey::FiguresOf(drawing_, o.own),
                                    inf = survey::FiguresOf(drawing_, i.own);
    double nearMin = std::numeric_limits<double>::infinity(), nearMax = 0;
    const auto measure = [&](const std::vector<FigureRecord>& points,
                             const std::vector<FigureRecord>& line) {
      for (const auto& [x, y] : survey::TestPoints(points)) {
        double nearest = std::numeric_limits<double>::infinity();
        for (const FigureRecord& f : line) {
          nearest = std::min(nearest, vexhost::DistanceToFigure(f, x, y).value_or(nearest));
        }
        nearMin = std::min(nearMin, nearest);
        nearMax = std::max(nearMax, nearest);
      }
    };
    measure(inf, of);
    measure(of, inf);
    return nearMin > joint_ && nearMin <= thin && nearMax <= 1.5 * nearMin + joint_;
  }

  const vexhost::Drawing& drawing_;
  const CandidateForest& forest_;
  double joint_;
  std::vector<std::vector<int>> parts_;
};

}  // namespace

SheetParts FindSheetParts(const vexhost::Drawing& drawing, const std::vector<int>& range,
                          const survey::SurveyResult& survey, const SearchOptions& options) {
  SheetParts out;
  const double joint = CoordinateTolerance(options);
  const CandidateForest forest = survey::FormCandidates(drawing, range, joint);
  PartCollector collector(drawing, forest, joint);
  collector.Collect(out);
  std::vector<std::vector<int>>& parts = collector.parts();
  std::map<std::vector<int>, size_t> partOf;
  for (size_t i = 0; i < parts.size(); ++i) partOf.emplace(parts[i], i);
  std::vector<bool> listed(parts.size(), false);

  // The survey's families, with their members that are parts.
  for (const survey::Family& family : survey.families) {
    PartFamily kept;
    for (const survey::FoundTwin& twin : family.members) {
      std::vector<int> sorted = twin.segments;
      std::sort(sorted.begin(), sorted.end());
      const auto it = partOf.find(sorted);
      if (it == partOf.end() || listed[it->second]) continue;
      listed[it->second] = true;
      kept.members.push_back({twin.segments, twin.motion});
    }
    if (!kept.members.empty()) out.families.push_back(std::move(kept));
  }

  // The parts left, searched for among those left with the same invariant (a part's twins
  // share it), each twin found taken; a part whose search finds no other stands alone.
  std::map<std::string, std::vector<size_t>> byInvariant;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (!listed[i]) byInvariant[survey::SignatureOf(drawing, parts[i], options).exact].push_back(i);
  }
  std::vector<std::pair<size_t, PartFamily>> found;  // by the part's first segment
  for (const auto& [invariant, group] : byInvariant) {
    std::vector<int> area;
    for (const size_t i : group) area.insert(area.end(), parts[i].begin(), parts[i].end());
    std::sort(area.begin(), area.end());
    std::optional<survey::TwinSearch> search;
    if (group.size() > 1) search.emplace(drawing, options, area);
    for (const size_t i : group) {
      if (listed[i]) continue;
      listed[i] = true;
      PartFamily family;
      family.members.push_back({parts[i], PlaneMap{}});
      const auto twins = search ? search->Search(parts[i]) : std::nullopt;
      for (const survey::FoundTwin& twin : twins ? *twins : std::vector<survey::FoundTwin>{}) {
        std::vector<int> sorted = twin.segments;
        std::sort(sorted.begin(), sorted.end());
        const auto it = partOf.find(sorted);
        if (it == partOf.end()) continue;
        if (it->second == i) {
          family.members.front() = {twin.segments, twin.motion};  // as the search laid it
        } else if (!listed[it->second]) {
          listed[it->second] = true;
          family.members.push_back({twin.segments, twin.motion});
        }
      }
      found.emplace_back(parts[i].front(), std::move(family));
    }
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [first, family] : found) out.families.push_back(std::move(family));
  size_t inParts = 0;
  for (const std::vector<int>& part : parts) inParts += part.size();
  for (size_t f = 0; f < out.families.size(); ++f) {
    out.families[f].number = static_cast<int>(f) + 1;
    out.parts += static_cast<int>(out.families[f].members.size());
  }
  out.otherSegments =
      static_cast<int>(range.size() - inParts) - out.strokeSegments - out.frameSegments;
  return out;
}

}  // namespace twinfind::parts
