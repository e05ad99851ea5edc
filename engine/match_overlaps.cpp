#include "engine/match_overlaps.h"

#include <unordered_set>
#include <utility>

#include "engine/shape_model.h"

namespace twinfind {

std::vector<bool> OverlappedMatches(const std::vector<std::vector<int>>& matches) {
  // From the last match back.
  std::unordered_set<int> later;
  std::vector<bool> dropped(matches.size(), false);
  for (size_t m = matches.size(); m-- > 0;) {
    for (const int id : matches[m]) {
      if (later.count(id) != 0) {
        dropped[m] = true;
        break;
      }
    }
    later.insert(matches[m].begin(), matches[m].end());
  }
  return dropped;
}

void DropOverlappingMatches(std::vector<MatchRecord>& matches) {
  std::vector<std::vector<int>> ids(matches.size());
  for (size_t m = 0; m < matches.size(); ++m) {
    for (int i = 1; i <= matches[m].segmentCount(); ++i) {
      ids[m].push_back(matches[m].segment(i).segmentId);
    }
  }
  const std::vector<bool> dropped = OverlappedMatches(ids);
  size_t kept = 0;
  for (size_t m = 0; m < matches.size(); ++m) {
    if (dropped[m]) continue;
    if (kept != m) matches[kept] = std::move(matches[m]);
    ++kept;
  }
  matches.resize(kept);
}

}  // namespace twinfind
