#include "dxf/dxf_source.h"

#include <algorithm>

namespace twinfind::dxf {

DxfSource::DxfSource(std::string text, std::vector<SourceEntity> entities,
                     std::vector<std::pair<int, int>> cells)
    : text_(std::move(text)), entities_(std::move(entities)), cells_(std::move(cells)) {
  for (size_t i = 0; i < entities_.size(); ++i) {
    if (entities_[i].segmentCount > 0) bySegment_.emplace_back(entities_[i].firstSegment, i);
  }
  std::sort(bySegment_.begin(), bySegment_.end());
  std::sort(cells_.begin(), cells_.end());
}

std::optional<size_t> DxfSource::EntityOf(int segmentId) const {
  auto it = std::upper_bound(bySegment_.begin(), bySegment_.end(), segmentId,
                             [](int id, const auto& entry) { return id < entry.first; });
  if (it == bySegment_.begin()) return std::nullopt;
  --it;
  const SourceEntity& e = entities_[it->second];
  if (segmentId >= e.firstSegment + e.segmentCount) return std::nullopt;
  return it->second;
}

int DxfSource::CellOf(int segmentId) const {
  const auto it = std::lower_bound(cells_.begin(), cells_.end(), std::pair<int, int>(segmentId, 0));
  return it != cells_.end() && it->first == segmentId ? it->second : 0;
}

std::vector<std::string> DxfSource::SourceHandles(std::span<const int> segmentIds) const {
  std::vector<size_t> indexes;
  for (const int id : segmentIds) {
    if (const auto index = EntityOf(id)) indexes.push_back(*index);
  }
  std::sort(indexes.begin(), indexes.end());
  indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
  std::vector<std::string> handles;
  for (const size_t i : indexes) {
    if (entities_[i].handleLength > 0) handles.emplace_back(HandleOf(entities_[i]));
  }
  return handles;
}

}  // namespace twinfind::dxf
