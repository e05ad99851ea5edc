// A spatial index of segment extents (an R-tree), so that a search looks at the segments near
// its area instead of scanning the whole drawing.
//
// Segments put in recently are kept beside the tree in a short list that queries scan, and
// join the tree when the list is full: the search makes, moves, mirrors and deletes its trial
// copies within one trial, and so never touches the tree for them. A drawing being read in
// defers the index altogether and builds the tree at once (bulk loading) when it is complete.
#ifndef HOST_SPATIAL_INDEX_H
#define HOST_SPATIAL_INDEX_H

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "vexlib/vexlib.h"

namespace vexhost {

class SpatialIndex {
 public:
  SpatialIndex();
  ~SpatialIndex();
  SpatialIndex(const SpatialIndex&) = delete;
  SpatialIndex& operator=(const SpatialIndex&) = delete;
  // Moving hands the whole index over, so that a drawing can be moved (a caller that keeps
  // several drawings swaps one into the host). An index moved from is only assigned to or
  // destroyed.
  SpatialIndex(SpatialIndex&&) noexcept;
  SpatialIndex& operator=(SpatialIndex&&) noexcept;

  // Sets the extent of a segment (its id positive), replacing the one it had.
  void Put(int segmentId, const VexBox& box);
  // Forgets a segment.
  void Remove(int segmentId);
  // The segments whose extents meet the area (edges included), in ascending id order.
  std::vector<int> Query(const VexBox& area) const;
  // The extent last put for the segment; nothing when it has none.
  std::optional<VexBox> BoxOf(int segmentId) const;
  size_t size() const { return count_; }

  // While deferred, Put and Remove only note the extents; Query must not be asked. Resume
  // builds the tree from every extent at once.
  void Defer();
  void Resume();

 private:
  struct Tree;
  void AddYoung(int segmentId, const VexBox& box);
  void Settle();  // the young segments into the tree

  std::unique_ptr<Tree> tree_;
  // Every segment's extent, and where it is: in the tree, or at a place in young_. By segment
  // id: ids are handed out in ascending order, so the table is as long as the drawing's ids.
  static constexpr int kNone = -2;
  struct Place {
    VexBox box{};
    int young = kNone;  // index in young_, -1 when in the tree (or deferred), kNone: no extent
  };
  Place* Find(int segmentId);
  const Place* Find(int segmentId) const;
  Place& Make(int segmentId);
  std::vector<Place> places_;
  size_t count_ = 0;
  std::vector<std::pair<int, VexBox>> young_;
  bool deferred_ = false;
};

}  // namespace vexhost

#endif  // HOST_SPATIAL_INDEX_H
