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

SpatialIndex::Place* SpatialIndex::Find(int segmentId) {
  if (segmentId <= 0 || static_cast<size_t>(segmentId) >= places_.size()) return nullptr;
  Place& place = places_[static_cast<size_t>(segmentId)];
  return place.young == kNone ? nullptr : &place;
}

const SpatialIndex::Place* SpatialIndex::Find(int segmentId) const {
  return const_cast<SpatialIndex*>(this)->Find(segmentId);
}

SpatialIndex::Place& SpatialIndex::Make(int segmentId) {
  const size_t at = static_cast<size_t>(segmentId);
  if (at >= places_.size()) places_.resize(std::max(at + 1, places_.size() * 3 / 2));
  Place& place = places_[at];
  if (place.young == kNone) ++count_;
  return place;
}

void SpatialIndex::Put(int segmentId, const VexBox& box) {
  if (segmentId <= 0) return;  // the host's ids are positive
  if (deferred_) {
    Make(segmentId) = {box, -1};
    return;
  }
  Place* place = Find(segmentId);
  if (place != nullptr && place->young >= 0) {
    place->box = box;
    young_[static_cast<size_t>(place->young)].second = box;
    return;
  }
  Remove(segmentId);
  AddYoung(segmentId, box);
}

void SpatialIndex::AddYoung(int segmentId, const VexBox& box) {
  if (young_.size() >= kYoungLimit) Settle();
  Make(segmentId) = {box, static_cast<int>(young_.size())};
  young_.emplace_back(segmentId, box);
}

void SpatialIndex::Settle() {
  for (const auto& [id, box] : young_) {
    tree_->rtree.insert({ToBox(box), id});
    places_[static_cast<size_t>(id)].young = -1;
  }
  young_.clear();
}

void SpatialIndex::Remove(int segmentId) {
  Place* place = Find(segmentId);
  if (place == nullptr) return;
  if (!deferred_) {
    if (place->young >= 0) {
      // The last young one takes the freed place.
      const size_t at = static_cast<size_t>(place->young);
      if (at + 1 != young_.size()) {
        young_[at] = young_.back();
        places_[static_cast<size_t>(young_[at].first)].young = static_cast<int>(at);
      }
      young_.pop_back();
    } else {
      tree_->rtree.remove(Entry{ToBox(place->box), segmentId});
    }
  }
  *place = Place{};
  --count_;
}

std::optional<VexBox> SpatialIndex::BoxOf(int segmentId) const {
  const Place* place = Find(segmentId);
  if (place == nullptr) return std::nullopt;
  return place->box;
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

void SpatialIndex::Defer() {
  if (deferred_) return;
  Settle();
  deferred_ = true;
}

void SpatialIndex::Resume() {
  if (!deferred_) return;
  deferred_ = false;
  std::vector<Entry> entries;
  entries.reserve(count_);
  for (size_t id = 0; id < places_.size(); ++id) {
    if (places_[id].young != kNone)
      entries.push_back({ToBox(places_[id].box), static_cast<int>(id)});
  }
  // The packing constructor builds the whole tree at once.
  tree_->rtree = bgi::rtree<Entry, bgi::quadratic<16>>(entries.begin(), entries.end());
}

}  // namespace vexhost
