#include "dxf/part_file.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "dxf/file_additions.h"
#include "dxf/file_edits.h"
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
  owned.Settle();
  FileEdits edits;
  for (size_t i = 0; i < source_.entities().size(); ++i) {
    const SourceEntity& e = source_.entities()[i];
    edits.Replace(e.begin, e.end, owned.Cleaned(std::move(texts[i])));
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
