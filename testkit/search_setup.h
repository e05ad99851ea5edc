// The search as the command runs it, for tests and benchmarks: a range and a part given by
// segment ids of the open drawing, searched through the engine's one entry point.
#ifndef TESTKIT_SEARCH_SETUP_H
#define TESTKIT_SEARCH_SETUP_H

#include <vector>

#include "engine/twin_finder.h"

namespace drawgen {

// Segment ids of the open drawing as references.
inline std::vector<SegmentRef> RefsOf(const std::vector<int>& ids) {
  std::vector<SegmentRef> refs;
  refs.reserve(ids.size());
  for (const int id : ids) refs.push_back({1, id});
  return refs;
}

// The twins of `part` in `range`, as the part step finds them (without thinning overlaps unless
// asked).
inline twinfind::TwinResult SearchTwins(const std::vector<int>& range, const std::vector<int>& part,
                                        const twinfind::SearchOptions& options,
                                        bool dropOverlaps = false) {
  twinfind::TwinRequest request;
  request.range = RefsOf(range);
  request.part = RefsOf(part);
  request.options = options;
  request.dropOverlaps = dropOverlaps;
  return twinfind::FindTwins(request);
}

// Every segment of the drawing, in drawing order.
inline std::vector<int> AllSegments() {
  std::vector<int> ids;
  const int list = 0;
  if (VexSgmSearchSegment2(nullptr, nullptr, list) != 0) return ids;
  const int handle = VexIddOpenApIdData(list, 1);
  VexIdRecord record{};
  for (int r = VexIddGetHeadApIdData(handle, &record); r != -1;
       r = VexIddGetNextApIdData(handle, &record)) {
    ids.push_back(record.segmentId);
  }
  VexIddInitApIdData(handle);
  VexIddCloseApIdData(handle);
  return ids;
}

}  // namespace drawgen

#endif  // TESTKIT_SEARCH_SETUP_H
