// What a benchmark checks of the search's result before it reports a time: the number of twins,
// how many of them are mirror images, and the segments of each.
#ifndef BENCH_FOUND_CHECK_H
#define BENCH_FOUND_CHECK_H

#include <string>

#include "engine/twin_finder.h"

namespace drawgen {

// Empty when the search found `twins` twins, `mirrored` of them mirror images, each of
// `segmentsEach` segments; else what differs.
inline std::string FoundDiffers(const twinfind::TwinResult& found, int twins, int mirrored,
                                int segmentsEach) {
  if (!found.ok()) return "the search failed";
  int mirroredFound = 0;
  for (size_t m = 0; m < found.twins.size(); ++m) {
    mirroredFound += found.twins[m].mirrored;
    if (found.twins[m].segmentCount() != segmentsEach) {
      return "twin " + std::to_string(m + 1) + " has " +
             std::to_string(found.twins[m].segmentCount()) + " segments, not " +
             std::to_string(segmentsEach);
    }
  }
  if (static_cast<int>(found.twins.size()) != twins || mirroredFound != mirrored) {
    return "found " + std::to_string(found.twins.size()) + " twins (" +
           std::to_string(mirroredFound) + " mirrored), not " + std::to_string(twins) + " (" +
           std::to_string(mirrored) + ")";
  }
  return {};
}

}  // namespace drawgen

#endif  // BENCH_FOUND_CHECK_H
