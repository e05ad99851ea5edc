// What an import keeps of a DXF file so that the drawing can be saved back into it: the file's
// bytes, and for each entity of its ENTITIES section where it lies, its handle and the host
// segments it became.
#ifndef DXF_DXF_SOURCE_H
#define DXF_DXF_SOURCE_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace twinfind::dxf {

// One entity of the ENTITIES section (model or paper space), with its VERTEX, SEQEND and
// ATTRIB parts.
struct SourceEntity {
  uint32_t begin = 0, end = 0;  // its bytes in the file
  uint32_t handleAt = 0;        // its handle (group 5) in the file's bytes
  uint16_t handleLength = 0;    // 0: it has none
  bool reference = false;       // a block reference the host holds as its figures and texts
  int firstSegment = 0;         // the host segments it became: firstSegment and on
  int segmentCount = 0;
};

class DxfSource {
 public:
  DxfSource(std::string text, std::vector<SourceEntity> entities,
            std::vector<std::pair<int, int>> cells);

  const std::string& text() const { return text_; }
  const std::vector<SourceEntity>& entities() const { return entities_; }

  // The index of the entity a segment came from; nothing for a segment the file did not give.
  std::optional<size_t> EntityOf(int segmentId) const;
  std::string_view HandleOf(const SourceEntity& entity) const {
    return std::string_view(text_).substr(entity.handleAt, entity.handleLength);
  }
  // The copy of an array reference (MINSERT) a segment stands for, counted row by row from 0;
  // 0 for a segment of any other entity.
  int CellOf(int segmentId) const;

  // The handles of the entities the segments came from, each once, in the order of the file.
  // Segments the file did not give, and entities without a handle, add none.
  std::vector<std::string> SourceHandles(std::span<const int> segmentIds) const;

  // The other way: for each handle, the segments the entity with that handle gave (handles
  // compared ignoring letter case, as they are hexadecimal numbers), ascending; empty for a
  // handle no entity of the section has, or whose entity gave none.
  std::vector<std::vector<int>> SegmentsOfHandles(std::span<const std::string> handles) const;

 private:
  std::string text_;
  std::vector<SourceEntity> entities_;
  std::vector<std::pair<int, size_t>> bySegment_;  // first segment -> entity, ascending
  std::vector<std::pair<int, int>> cells_;         // segment -> array copy, ascending
};

}  // namespace twinfind::dxf

#endif  // DXF_DXF_SOURCE_H
