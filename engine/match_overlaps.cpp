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

void DropOverlappingMatches() {
  std::vector<std::vector<int>> ids(static_cast<size_t>(matchTable.count()));
  for (int m = 1; m <= matchTable.count(); ++m) {
    for (int i = 1; i <= matchTable[m].segmentCount(); ++i) {
      ids[static_cast<size_t>(m - 1)].push_back(matchTable[m].segment(i).segmentId);
    }
  }
  const std::vector<bool> dropped = OverlappedMatches(ids);
  int kept = 0;
  for (int m = 1; m <= matchTable.count(); ++m) {
    if (dropped[static_cast<size_t>(m - 1)]) continue;
    ++kept;
    if (kept != m) matchTable[kept] = std::move(matchTable[m]);
  }
  matchTable.Truncate(kept);
}

}  // namespace twinfind
