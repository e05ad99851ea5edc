#include "dxf/dxf_source.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

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

std::vector<std::vector<int>> DxfSource::SegmentsOfHandles(
    std::span<const std::string> handles) const {
  const auto upper = [](std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
  };
  std::unordered_map<std::string, size_t> wanted;  // upper-case handle -> its first place
  for (size_t i = 0; i < handles.size(); ++i) wanted.emplace(upper(handles[i]), i);
  std::vector<std::vector<int>> segments(handles.size());
  for (const SourceEntity& entity : entities_) {
    if (entity.handleLength == 0 || entity.segmentCount == 0) continue;
    const auto it = wanted.find(upper(HandleOf(entity)));
    if (it == wanted.end()) continue;
    for (int s = 0; s < entity.segmentCount; ++s) {
      segments[it->second].push_back(entity.firstSegment + s);
    }
  }
  for (size_t i = 0; i < handles.size(); ++i) {
    const size_t first = wanted.at(upper(handles[i]));
    if (first != i) segments[i] = segments[first];  // the same handle given twice
  }
  return segments;
}

}  // namespace twinfind::dxf
