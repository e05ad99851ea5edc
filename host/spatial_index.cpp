#include "host/spatial_index.h"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/point.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <iterator>
#include <utility>

namespace vexhost {
namespace {
namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using Point = bg::model::point<double, 2, bg::cs::cartesian>;
using Box = bg::model::box<Point>;
using Entry = std::pair<Box, int>;

Box ToBox(const VexBox& b) { return Box(Point(b.minX, b.minY), Point(b.maxX, b.maxY)); }
}  // namespace

struct SpatialIndex::Tree {
  // Quadratic splits: inserts stay cheap, which matters because searches copy and delete
  // segments all the time.
  bgi::rtree<Entry, bgi::quadratic<16>> rtree;
};

SpatialIndex::SpatialIndex() : tree_(std::make_unique<Tree>()) {}
SpatialIndex::~SpatialIndex() = default;

void SpatialIndex::Put(int segmentId, const VexBox& box) {
  Remove(segmentId);
  tree_->rtree.insert({ToBox(box), segmentId});
  boxes_[segmentId] = box;
}

void SpatialIndex::Remove(int segmentId) {
  const auto it = boxes_.find(segmentId);
  if (it == boxes_.end()) return;
  tree_->rtree.remove(Entry{ToBox(it->second), segmentId});
  boxes_.erase(it);
}

std::vector<int> SpatialIndex::Query(const VexBox& area) const {
  std::vector<Entry> hits;
  tree_->rtree.query(bgi::intersects(ToBox(area)), std::back_inserter(hits));
  std::vector<int> ids;
  ids.reserve(hits.size());
  for (const Entry& e : hits) ids.push_back(e.second);
  std::sort(ids.begin(), ids.end());
  return ids;
}

size_t SpatialIndex::size() const { return boxes_.size(); }

}  // namespace vexhost
