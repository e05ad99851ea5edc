#include "survey/family_claims.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

namespace twinfind::survey {

void ClaimSegments(std::vector<Family>& families) {
  std::vector<size_t> order(families.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    if (families[a].part.size() != families[b].part.size()) {
      return families[a].part.size() > families[b].part.size();
    }
    return families[a].members.size() > families[b].members.size();
  });
  std::unordered_set<int> claimed;
  std::vector<bool> kept(families.size(), false);
  for (const size_t f : order) {
    Family& family = families[f];
    std::vector<FoundTwin> own;
    for (FoundTwin& member : family.members) {
      const bool free = std::none_of(member.segments.begin(), member.segments.end(),
                                     [&](int id) { return claimed.count(id) != 0; });
      // Within one family the search gives each segment to one twin already.
      if (free) own.push_back(std::move(member));
    }
    if (own.size() < 2) continue;
    kept[f] = true;
    for (const FoundTwin& member : own)
      claimed.insert(member.segments.begin(), member.segments.end());
    // The searched member stays first when it is its own.
    family.partFound = family.partFound && own.front().segments.size() == family.part.size() &&
                       std::is_permutation(own.front().segments.begin(), own.front().segments.end(),
                                           family.part.begin());
    family.members = std::move(own);
    family.mirrored =
        static_cast<int>(std::count_if(family.members.begin(), family.members.end(),
                                       [](const FoundTwin& t) { return t.mirrored; }));
  }
  size_t next = 0;
  for (size_t f = 0; f < families.size(); ++f) {
    if (!kept[f]) continue;
    if (next != f) families[next] = std::move(families[f]);
    ++next;
  }
  families.resize(next);
}

}  // namespace twinfind::survey
