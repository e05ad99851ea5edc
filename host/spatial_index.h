// A spatial index of segment extents (an R-tree), so that a search looks at the segments near
// its area instead of scanning the whole drawing.
#ifndef HOST_SPATIAL_INDEX_H
#define HOST_SPATIAL_INDEX_H

#include <memory>
#include <unordered_map>
#include <vector>

#include "vexlib/vexlib.h"

namespace vexhost {

class SpatialIndex {
 public:
  SpatialIndex();
  ~SpatialIndex();
  SpatialIndex(const SpatialIndex&) = delete;
  SpatialIndex& operator=(const SpatialIndex&) = delete;

  // Sets the extent of a segment, replacing the one it had.
  void Put(int segmentId, const VexBox& box);
  // Forgets a segment.
  void Remove(int segmentId);
  // The segments whose extents meet the area (edges included), in ascending id order.
  std::vector<int> Query(const VexBox& area) const;
  size_t size() const;

 private:
  struct Tree;
  std::unique_ptr<Tree> tree_;
  std::unordered_map<int, VexBox> boxes_;
};

}  // namespace vexhost

#endif  // HOST_SPATIAL_INDEX_H
