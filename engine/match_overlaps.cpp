#include "engine/match_overlaps.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

#include "engine/shape_model.h"

namespace twinfind {

std::vector<bool> OverlappedMatches(const std::vector<std::vector<int>>& matches,
                                    const std::vector<PlaneMap>& motions, const PartCover& cover) {
  // Whether the part at the two places lies on itself: with no ground to tell by (a part along
  // one line), any shared segment says so.
  const auto onEachOther = [&](size_t a, size_t b) {
    return cover.empty() || cover.SharedShare(motions[a], motions[b]) > 0.01;
  };
  // From the last match back: the later matches holding each segment.
  std::unordered_map<int, std::vector<size_t>> later;
  std::vector<bool> dropped(matches.size(), false);
  for (size_t m = matches.size(); m-- > 0;) {
    for (const int id : matches[m]) {
      const auto it = later.find(id);
      if (it == later.end()) continue;
      for (const size_t other : it->second) {
        if (!dropped[m] && onEachOther(m, other)) dropped[m] = true;
      }
      if (dropped[m]) break;
    }
    for (const int id : matches[m]) {
      std::vector<size_t>& holders = later[id];
      if (holders.empty() || holders.back() != m) holders.push_back(m);
    }
  }
  return dropped;
}

void DropOverlappingMatches(std::vector<MatchRecord>& matches, const PartCover& cover) {
  std::vector<std::vector<int>> ids(matches.size());
  std::vector<PlaneMap> motions;
  for (size_t m = 0; m < matches.size(); ++m) {
    for (int i = 1; i <= matches[m].segmentCount(); ++i) {
      ids[m].push_back(matches[m].segment(i).segmentId);
    }
    motions.push_back(matches[m].motion);
  }
  const std::vector<bool> dropped = OverlappedMatches(ids, motions, cover);
  size_t kept = 0;
  for (size_t m = 0; m < matches.size(); ++m) {
    if (dropped[m]) continue;
    if (kept != m) matches[kept] = std::move(matches[m]);
    ++kept;
  }
  matches.resize(kept);
}

}  // namespace twinfind
