// An index of segments read before, for finding the ones that may coincide with a given
// segment without comparing it with all of them.
#ifndef ENGINE_COINCIDENCE_INDEX_H
#define ENGINE_COINCIDENCE_INDEX_H

#include "engine/door_check.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/segment_compare.h"

namespace twinfind {

// Readable segments without a hole record are sorted by figure count, then by a column of the
// smallest x of their figures (a few times the tolerance wide), then by their smallest y: a
// segment's neighbours within the tolerance are found by halving in one or two columns, however
// many segments share its x (copies one above the other); those with a hole record (compared by
// their circles) or without a finite spread are kept aside and offered for every segment of their
// figure count. A few segments (a trial's window, mostly) are not sorted but looked through in
// turn. Entries are numbered from 1, in the order of the segments indexed.
class CoincidenceIndex {
 public:
  // Indexes `segments` (entry i + 1 is segments[i]), which must outlive the queries.
  void Build(const std::vector<const SegmentFigures*>& segments);

  // The entries (in their order) that may coincide with `figures` within `tolerance`: the
  // comparison itself decides.
  const std::vector<int>& MayCoincide(const SegmentFigures& figures, double tolerance);

 private:
  struct Key {
    size_t figureCount;
    int64_t column;
    double minY;
    double minX;
    int entry;
    bool operator<(const Key& o) const;
  };
  std::vector<const SegmentFigures*> segments_;
  std::vector<Key> sorted_;
  std::vector<int> compareAlways_;
  std::vector<int> candidates_;
};

}  // namespace twinfind

#endif  // ENGINE_COINCIDENCE_INDEX_H
