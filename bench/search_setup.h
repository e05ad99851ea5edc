// Setting up a search the way the part step does, for tests and benchmarks: the range into
// targetTable, the part into partTable, list 5 and partBox, the two checks, empty matches.
#ifndef BENCH_SEARCH_SETUP_H
#define BENCH_SEARCH_SETUP_H

#include <vector>

#include "engine/find_matches.h"
#include "engine/geometry.h"
#include "engine/part_checks.h"
#include "engine/shape_model.h"

namespace drawgen {

// Returns false when the part fails its checks.
inline bool PrepareSearch(const std::vector<int>& range, const std::vector<int>& part) {
  using namespace twinfind;
  targetTable.Clear();
  for (const int id : range) targetTable.Append(MakeTargetEntry({id, 1}));
  partTable.Clear();
  partBox = kResetBox;
  const int list = VexIddOpenApIdData(5, 1);
  VexIddInitApIdData(list);
  for (const int id : part) {
    partTable.Append(MakeTargetEntry({id, 1}));
    ExtendBoxBySegment({1, id}, partBox);
    VexIddSetApIdData(list, id, 1);
  }
  VexIddCloseApIdData(list);
  matchTable.Clear();
  for (int i = 1; i <= kMatchCapacity; ++i) matchTable.slot(i).mirrored = 0;
  return CheckPartInRange() && FindAnchorLine();
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

#endif  // BENCH_SEARCH_SETUP_H
