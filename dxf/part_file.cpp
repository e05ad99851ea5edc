#include "dxf/part_file.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "dxf/file_additions.h"
#include "dxf/file_edits.h"
#include "dxf/line_type_names.h"
#include "dxf/output_format.h"
#include "dxf/owned_objects.h"

namespace twinfind::dxf {

PartFileWriter::PartFileWriter(const DxfSource& source) : source_(source) {
  std::string error;
  if (!ParseGroups(source.text(), file_, error)) throw std::runtime_error(error);
  map_ = MapFile(file_);
}

std::string PartFileWriter::Text(const std::vector<EntityPiece>& pieces, double dx, double dy,
                                 const VexBox& extent) const {
  const uint64_t first = std::max(map_.highestHandle + 1, map_.handSeed.value_or(1));
  const MappedEntry* model = map_.Entry(map_.Table("BLOCK_RECORD"), "*Model_Space");
  OutputFormat format(map_.modern(), map_.modern() || map_.entityHandles, first,
                      model ? std::string(model->handle) : std::string());
  std::map<size_t, const EntityPiece*> kept;
  for (const EntityPiece& piece : pieces) kept[piece.entity] = &piece;

  OwnedObjects owned(file_, map_.lineEnd);
  std::vector<std::string> texts(source_.entities().size());
  for (size_t i = 0; i < source_.entities().size(); ++i) {
    const SourceEntity& e = source_.entities()[i];
    if (const auto it = kept.find(i); it != kept.end()) {
      texts[i] = MovedPieceText(file_, map_, format, source_, *it->second, dx, dy);
    }
    owned.Replaced(GroupAt(file_, e.begin), GroupAt(file_, e.end), texts[i]);
  }
  // The paper-space layouts' contents are no part either: their blocks are left empty.
  std::vector<std::pair<size_t, size_t>> layouts;
  for (const MappedBlock& b : map_.blocks) {
    if (UpperCase(b.name).rfind("*PAPER_SPACE", 0) != 0) continue;
    size_t head = b.begin + 1;
    while (head < b.end && file_.groups[head].code != 0) ++head;
    while (head < b.end && UpperCase(Trimmed(file_.groups[head].value)) != "ENDBLK") {
      size_t next = head + 1;
      while (next < b.end && file_.groups[next].code != 0) ++next;
      owned.Replaced(head, next, "");
      layouts.emplace_back(head, next);
      head = next;
    }
  }
  owned.Settle();
  FileEdits edits;
  for (size_t i = 0; i < source_.entities().size(); ++i) {
    const SourceEntity& e = source_.entities()[i];
    edits.Replace(e.begin, e.end, owned.Cleaned(std::move(texts[i])));
  }
  for (const auto& [begin, end] : layouts) {
    edits.Replace(OffsetOf(file_, begin), OffsetOf(file_, end), "");
  }
  owned.AddEdits(edits);
  HeaderEdits header(file_, map_, edits);
  header.Point("$EXTMIN", extent.minX, extent.minY);
  header.Point("$EXTMAX", extent.maxX, extent.maxY);
  if (format.handles() && format.nextHandle() != first) {
    header.Handle("$HANDSEED", HandleText(format.nextHandle()));
  }
  header.Finish();
  return edits.Apply(source_.text());
}

}  // namespace twinfind::dxf
