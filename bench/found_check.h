// What a benchmark checks of the search's result before it reports a time: the number of twins,
// how many of them are mirror images, and the segments of each.
#ifndef BENCH_FOUND_CHECK_H
#define BENCH_FOUND_CHECK_H

#include <string>

#include "engine/shape_model.h"

namespace drawgen {

// Empty when the match table holds `twins` matches, `mirrored` of them mirror images, each of
// `segmentsEach` segments; else what differs.
inline std::string FoundDiffers(int twins, int mirrored, int segmentsEach) {
  using twinfind::matchTable;
  int mirroredFound = 0;
  for (int m = 1; m <= matchTable.count(); ++m) {
    mirroredFound += matchTable[m].mirrored;
    if (matchTable[m].segmentCount() != segmentsEach) {
      return "match " + std::to_string(m) + " has " + std::to_string(matchTable[m].segmentCount()) +
             " segments, not " + std::to_string(segmentsEach);
    }
  }
  if (matchTable.count() != twins || mirroredFound != mirrored) {
    return "found " + std::to_string(matchTable.count()) + " twins (" +
           std::to_string(mirroredFound) + " mirrored), not " + std::to_string(twins) + " (" +
           std::to_string(mirrored) + ")";
  }
  return {};
}

}  // namespace drawgen

#endif  // BENCH_FOUND_CHECK_H
