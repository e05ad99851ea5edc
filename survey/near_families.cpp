#include "survey/near_families.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_set>

#include "survey/family_sets.h"
#include "survey/part_signature.h"
#include "survey/point_index.h"
#include "survey/twin_search.h"

namespace twinfind::survey {
namespace {

// Differences above this part of a member's extent are no rounding.
constexpr double kRounding = 0.002;
// The largest tolerance tried, as a part of a member's extent: a short anchor line turns a
// small difference in its length into a larger one at the far end of the part.
constexpr double kWidest = 0.01;
// Groups checked by searches at most, in the order of their first family: a drawing of many
// rounded shapes costs no more than this many groups' searches.
constexpr size_t kMostChecked = 20;

double LargestDifference(const PartSignature& a, const PartSignature& b) {
  double d = 0;
  for (size_t i = 0; i < a.sizes.size(); ++i) d = std::max(d, std::fabs(a.sizes[i] - b.sizes[i]));
  return d;
}

// 1, 2 or 5 times a power of ten, the smallest not below v.
double RoundUp(double v) {
  const double ten = std::pow(10.0, std::floor(std::log10(v)));
  for (const double step : {1.0, 2.0, 5.0, 10.0}) {
    if (step * ten >= v * (1 - 1e-9)) return step * ten;
  }
  return 10 * ten;
}

double NextRound(double v) {
  const double ten = std::pow(10.0, std::floor(std::log10(v) + 1e-9));
  const double step = v / ten;
  return step < 1.5 ? 2 * ten : step < 3.5 ? 5 * ten : 10 * ten;
}

}  // namespace

std::vector<NearFamilies> FindNearFamilies(const vexhost::Drawing& drawing,
                                           const std::vector<int>& range,
                                           const std::vector<Family>& families,
                                           const SearchOptions& options,
                                           const StepProgress& progress) {
  const int n = static_cast<int>(families.size());
  std::vector<PartSignature> signatures;
  std::map<std::string, std::vector<int>> byExact;
  for (int f = 0; f < n; ++f) {
    signatures.push_back(SignatureOf(drawing, families[f].part, options));
    byExact[signatures.back().exact].push_back(f);
  }
  const double slack = SizeSlack(options);
  FamilySets sets(n);
  int passed = 0;  // families looked at, for the progress
  for (const auto& [exact, alike] : byExact) {
    // Sizes that differ by d at most have their smallest, middle, largest and mean within d.
    const auto keyOf = [&](int f, double off) {
      const std::vector<double>& s = signatures[static_cast<size_t>(f)].sizes;
      const double mean = s.empty() ? 0 : signatures[static_cast<size_t>(f)].total / s.size();
      return s.empty() ? PointIndex::Numbers{off, off, off, mean + off}
                       : PointIndex::Numbers{s.front() + off, s[s.size() / 2] + off, s.back() + off,
                                             mean + off};
    };
    std::vector<std::pair<PointIndex::Numbers, size_t>> points;
    for (size_t i = 0; i < alike.size(); ++i) points.push_back({keyOf(alike[i], 0), i});
    const PointIndex index(points);
    for (size_t i = 0; i < alike.size(); ++i) {
      if (progress && !progress(static_cast<double>(passed++) / n)) return {};
      const Family& a = families[alike[i]];
      const double extent = std::max(a.box.maxX - a.box.minX, a.box.maxY - a.box.minY);
      const double most = std::max(slack, kRounding * extent);
      const double reach = most * (1 + 1e-9) + 1e-12;
      std::vector<size_t> others = index.Within(keyOf(alike[i], -reach), keyOf(alike[i], reach));
      std::sort(others.begin(), others.end());
      for (const size_t j : others) {
        if (j <= i) continue;
        const double d = LargestDifference(signatures[alike[i]], signatures[alike[j]]);
        // Equal sizes are no rounding: such families are other shapes of the same strokes.
        if (d > 0 && d <= most) sets.Join(alike[i], alike[j]);
      }
    }
  }
  std::vector<NearFamilies> near;
  std::unordered_set<int> inRange(range.begin(), range.end());
  size_t checked = 0;
  for (const std::vector<int>& members : sets.Groups()) {
    NearFamilies group;
    group.families = members;
    // The largest difference of any two members: of each size, the largest less the smallest.
    const size_t sizes = signatures[static_cast<size_t>(members.front())].sizes.size();
    for (size_t k = 0; k < sizes; ++k) {
      double low = INFINITY, high = -INFINITY;
      for (const int f : members) {
        low = std::min(low, signatures[static_cast<size_t>(f)].sizes[k]);
        high = std::max(high, signatures[static_cast<size_t>(f)].sizes[k]);
      }
      group.within = std::max(group.within, high - low);
    }
    if (checked++ < kMostChecked) {
      // From the searched member of the family with the most parts, over the places of the
      // group's members and what lies around them: as many segments as the group holds, not
      // the drawing's, and the count is of the group's places.
      const int largest = *std::max_element(members.begin(), members.end(), [&](int a, int b) {
        return families[a].members.size() < families[b].members.size();
      });
      const Family& most = families[static_cast<size_t>(largest)];
      const double extent = std::max(most.box.maxX - most.box.minX, most.box.maxY - most.box.minY);
      const double widest = kWidest * extent;
      std::unordered_set<int> wanted, near;
      for (const int f : members) {
        for (const FoundTwin& t : families[f].members) {
          wanted.insert(t.segments.begin(), t.segments.end());
          VexBox b = BoxOf(drawing, t.segments);
          b = {b.minX - widest, b.minY - widest, b.maxX + widest, b.maxY + widest};
          for (const int id : drawing.SegmentsNear(b)) {
            const auto within = drawing.SegmentBounds(id);
            if (inRange.count(id) != 0 && within && within->minX >= b.minX &&
                within->minY >= b.minY && within->maxX <= b.maxX && within->maxY <= b.maxY) {
              near.insert(id);
            }
          }
        }
      }
      std::vector<int> area(near.begin(), near.end());
      std::sort(area.begin(), area.end());
      const double inForce = CoordinateTolerance(options);
      for (double t = RoundUp(group.within / 2); t <= widest; t = NextRound(t)) {
        if (t <= inForce) continue;
        SearchOptions wider = options;
        wider.tolerance = t;
        TwinSearch search(drawing, wider, area);
        const auto twins = search.Search(most.part);
        if (!twins) break;
        size_t held = 0;
        for (const FoundTwin& twin : *twins) {
          for (const int id : twin.segments) held += wanted.count(id);
        }
        if (held == wanted.size()) {
          group.tolerance = t;
          group.count = static_cast<int>(twins->size());
          break;
        }
      }
    }
    // Only families that one search finds together are reported.
    if (group.tolerance > 0) near.push_back(std::move(group));
  }
  std::sort(near.begin(), near.end(),
            [](const NearFamilies& a, const NearFamilies& b) { return a.families < b.families; });
  return near;
}

}  // namespace twinfind::survey
