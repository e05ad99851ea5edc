#include "dxf/part_file.h"

#include <algorithm>
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
  owned_.emplace(file_, map_.lineEnd);
  for (const SourceEntity& e : source.entities()) {
    const size_t begin = GroupAt(file_, e.begin), end = GroupAt(file_, e.end);
    groups_.emplace_back(begin, end);
    entries_.push_back(owned_->EntriesWithHandles(begin, end));
  }
  inFileOrder_.resize(source.entities().size());
  for (size_t i = 0; i < inFileOrder_.size(); ++i) inFileOrder_[i] = i;
  std::stable_sort(inFileOrder_.begin(), inFileOrder_.end(), [&](size_t a, size_t b) {
    return source.entities()[a].begin < source.entities()[b].begin;
  });
}

std::string PartFileWriter::Text(const std::vector<EntityPiece>& pieces, double dx, double dy,
                                 const VexBox& extent) const {
  const uint64_t first = std::max(map_.highestHandle + 1, map_.handSeed.value_or(1));
  const MappedEntry* model = map_.Entry(map_.Table("BLOCK_RECORD"), "*Model_Space");
  OutputFormat format(map_.modern(), map_.modern() || map_.entityHandles, first,
                      model ? std::string(model->handle) : std::string());
  std::vector<const EntityPiece*> kept(source_.entities().size(), nullptr);
  for (const EntityPiece& piece : pieces) {
    if (piece.entity < kept.size()) kept[piece.entity] = &piece;
  }

  OwnedObjects& owned = *owned_;
  owned.Reset();
  std::vector<std::string> texts(source_.entities().size());
  for (size_t i = 0; i < source_.entities().size(); ++i) {
    const auto [begin, end] = groups_[i];
    if (kept[i] != nullptr) {
      texts[i] = MovedPieceText(file_, map_, format, source_, *kept[i], dx, dy);
      owned.Replaced(begin, end, texts[i]);
    } else {
      owned.Removed(begin, end, entries_[i]);
    }
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
  // Entities that follow one another in the file are one edit: the ENTITIES section is mostly
  // a single stretch holding the part's entities.
  FileEdits edits;
  const std::vector<size_t>& order = inFileOrder_;
  for (size_t k = 0; k < order.size();) {
    const uint32_t begin = source_.entities()[order[k]].begin;
    uint32_t end = begin;
    std::string run;
    for (; k < order.size() && source_.entities()[order[k]].begin == end; ++k) {
      end = source_.entities()[order[k]].end;
      if (!texts[order[k]].empty()) run += owned.Cleaned(std::move(texts[order[k]]));
    }
    edits.Replace(begin, end, std::move(run));
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
