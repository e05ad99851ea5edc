#include "parts/sheet_parts.h"

#include <algorithm>
#include <map>

#include "parts/part_outline.h"
#include "survey/candidate_parts.h"
#include "survey/part_signature.h"
#include "survey/twin_search.h"

namespace twinfind::parts {
namespace {

using survey::CandidateForest;

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

  // An outline around parts: two or more of the closed groups it holds hold something.
  bool Frame(int p) const {
    int holding = 0;
    for (const int c : At(p).children) holding += At(c).closed && !At(c).children.empty() ? 1 : 0;
    return holding >= 2;
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
    for (const int c : g.children) InPart(c, part, out);
    std::sort(part.begin(), part.end());
    parts_.push_back(std::move(part));
  }

  // A group lying inside a part's outline: a hole or a mark of it; what lies in a hole is in
  // open space again.
  void InPart(int p, std::vector<int>& part, SheetParts& out) {
    const survey::CandidatePart& g = At(p);
    part.insert(part.end(), g.own.begin(), g.own.end());
    for (const int c : g.children) {
      if (g.closed) {
        InOpenSpace(c, out);
      } else {
        InPart(c, part, out);
      }
    }
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
