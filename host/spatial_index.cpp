#include "host/spatial_index.h"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/point.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <iterator>

namespace vexhost {
namespace {
namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using Point = bg::model::point<double, 2, bg::cs::cartesian>;
using Box = bg::model::box<Point>;
using Entry = std::pair<Box, int>;

// How many recent segments queries scan beside the tree before they join it.
constexpr size_t kYoungLimit = 256;

Box ToBox(const VexBox& b) { return Box(Point(b.minX, b.minY), Point(b.maxX, b.maxY)); }

bool Meets(const VexBox& a, const VexBox& b) {
  return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}
}  // namespace

struct SpatialIndex::Tree {
  bgi::rtree<Entry, bgi::quadratic<16>> rtree;
};

SpatialIndex::SpatialIndex() : tree_(std::make_unique<Tree>()) {}
SpatialIndex::~SpatialIndex() = default;
SpatialIndex::SpatialIndex(SpatialIndex&&) noexcept = default;
SpatialIndex& SpatialIndex::operator=(SpatialIndex&&) noexcept = default;

void SpatialIndex::Put(int segmentId, const VexBox& box) {
  if (deferred_) {
    places_[segmentId] = {box, -1};
    return;
  }
  const auto it = places_.find(segmentId);
  if (it != places_.end() && it->second.young >= 0) {
    it->second.box = box;
    young_[static_cast<size_t>(it->second.young)].second = box;
    return;
  }
  Remove(segmentId);
  AddYoung(segmentId, box);
}

void SpatialIndex::AddYoung(int segmentId, const VexBox& box) {
  if (young_.size() >= kYoungLimit) Settle();
  places_[segmentId] = {box, static_cast<int>(young_.size())};
  young_.emplace_back(segmentId, box);
}

void SpatialIndex::Settle() {
  for (const auto& [id, box] : young_) {
    tree_->rtree.insert({ToBox(box), id});
    places_[id].young = -1;
  }
  young_.clear();
}

void SpatialIndex::Remove(int segmentId) {
  const auto it = places_.find(segmentId);
  if (it == places_.end()) return;
  if (deferred_) {
    places_.erase(it);
    return;
  }
  if (it->second.young >= 0) {
    // The last young one takes the freed place.
    const size_t at = static_cast<size_t>(it->second.young);
    if (at + 1 != young_.size()) {
      young_[at] = young_.back();
      places_[young_[at].first].young = static_cast<int>(at);
    }
    young_.pop_back();
  } else {
    tree_->rtree.remove(Entry{ToBox(it->second.box), segmentId});
  }
  places_.erase(segmentId);
}

std::vector<int> SpatialIndex::Query(const VexBox& area) const {
  std::vector<Entry> hits;
  tree_->rtree.query(bgi::intersects(ToBox(area)), std::back_inserter(hits));
  std::vector<int> ids;
  ids.reserve(hits.size() + young_.size());
  for (const Entry& e : hits) ids.push_back(e.second);
  for (const auto& [id, box] : young_) {
    if (Meets(box, area)) ids.push_back(id);
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

size_t SpatialIndex::size() const { return places_.size(); }

void SpatialIndex::Defer() {
  if (deferred_) return;
  Settle();
  deferred_ = true;
}

void SpatialIndex::Resume() {
  if (!deferred_) return;
  deferred_ = false;
  std::vector<Entry> entries;
  entries.reserve(places_.size());
  for (const auto& [id, place] : places_) entries.push_back({ToBox(place.box), id});
  // The packing constructor builds the whole tree at once.
  tree_->rtree = bgi::rtree<Entry, bgi::quadratic<16>>(entries.begin(), entries.end());
}

}  // namespace vexhost
