#include "dxf/dxf_save.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <tuple>

#include "common/atomic_file.h"
#include "dxf/aci_palette.h"
#include "dxf/block_save.h"
#include "dxf/block_writer.h"
#include "dxf/entity_fates.h"
#include "dxf/entity_pieces.h"
#include "dxf/file_additions.h"
#include "dxf/file_edits.h"
#include "dxf/file_layers.h"
#include "dxf/file_map.h"
#include "dxf/group_editor.h"
#include "dxf/line_type_names.h"
#include "dxf/owned_objects.h"
#include "dxf/reference_writer.h"
#include "dxf/segment_entities.h"
#include "dxf/twinfind_xdata.h"
#include "host/geometry.h"
#include "host/palette.h"

namespace twinfind::dxf {
namespace {

bool IsTranslation(const PlaneMap& p) { return p.a == 1 && p.b == 0 && p.c == 0 && p.d == 1; }

class Saver {
 public:
  Saver(const vexhost::Drawing& drawing, const DxfSource& source, SaveCounts& counts,
        BlockSave* blocks)
      : drawing_(drawing), source_(source), counts_(counts), blockSave_(blocks) {}

  std::string Run(std::vector<std::string>* warnings) {
    counts_ = SaveCounts{};
    const vexhost::BaselineChanges changes = drawing_.ChangesSinceBaseline();
    const int entityCount = static_cast<int>(source_.entities().size());
    const bool planned = blockSave_ && blockSave_->plan && !blockSave_->plan->families.empty();
    if (changes.deleted.empty() && changes.restyled.empty() && changes.reshaped.empty() &&
        changes.added.empty() && !planned) {
      counts_.kept = entityCount;
      return source_.text();  // nothing changed: the file as it was, byte for byte
    }
    std::string error;
    if (!ParseGroups(source_.text(), file_, error)) throw std::runtime_error(error);
    map_ = MapFile(file_);
    const uint64_t first = std::max(map_.highestHandle + 1, map_.handSeed.value_or(1));
    format_ =
        OutputFormat(map_.modern(), map_.modern() || map_.entityHandles, first, ModelSpaceOwner());
    for (const MappedBlock& b : map_.blocks) format_.TakeBlockName(b.name);
    for (int t = 0; t < static_cast<int>(vexhost::kLineTypes.size()); ++t) {
      const std::string name(DxfNameOfHostLineType(t));
      if (const MappedEntry* e = map_.Entry(map_.Table("LTYPE"), name)) {
        format_.SetLineTypeName(t, std::string(e->name));
      }
    }
    refs_ = std::make_unique<ReferenceWriter>(file_, map_, format_);
    writer_ = std::make_unique<SegmentWriter>(drawing_, entities_, blocks_, notes_, format_);
    layers_ = std::make_unique<FileLayers>(file_, map_, drawing_);

    // Each changed entity's text first: what it no longer writes (a deleted entity, handles a
    // rewritten one does not keep) takes along what it owns, and what stays loses its pointers
    // to it (owned_objects.h).
    OwnedObjects owned(file_, map_.lineEnd);
    std::vector<std::tuple<uint32_t, uint32_t, std::string>> rewritten;
    auto fates = EntityFates(drawing_, source_, changes);
    BlockWriter blockWriter(file_, map_, format_, &owned);
    PlannedBlocks references;
    if (planned) {
      references = ApplyBlockPlan(*blockSave_->plan, source_, file_, blockWriter, fates,
                                  [&](size_t index) { return StayingText(index, fates); });
      blockSave_->outcomes = references.outcomes;
      counts_.added += references.added;
    }
    for (const auto& [index, fate] : fates) {
      const SourceEntity& e = source_.entities()[index];
      std::string text = Rewrite(index, fate);
      if (const auto it = references.referencesAt.find(index);
          it != references.referencesAt.end()) {
        text += it->second;
      }
      owned.Replaced(GroupOf(e.begin), GroupOf(e.end), text);
      rewritten.emplace_back(e.begin, e.end, std::move(text));
    }
    owned.Settle();
    for (auto& [begin, end, text] : rewritten) {
      edits_.Replace(begin, end, owned.Cleaned(std::move(text)));
    }
    owned.AddEdits(edits_);
    counts_.kept = entityCount - counts_.deleted - counts_.changed;
    std::string added = WriteAdded(changes.added);
    Place("ENTITIES", std::move(added));
    Place("BLOCKS", refs_->TakeBlockCopies() + Flush(blocks_) + blockWriter.TakeDefinitions());
    Place("OBJECTS", blockWriter.TakeObjects());
    AddTables(file_, map_, format_, Additions(), edits_);
    SetHeader();
    if (warnings && notes_.figuresWithoutForm > 0) {
      warnings->push_back("warning: " + std::to_string(notes_.figuresWithoutForm) +
                          " figures of kinds 4 and 5 have no DXF form and were not written");
    }
    return edits_.Apply(source_.text());
  }

 private:
  std::string Flush(DxfWriter& out) const { return WithLineEnds(out.Take(), map_.lineEnd); }

  std::string ModelSpaceOwner() const {
    const MappedEntry* e = map_.Entry(map_.Table("BLOCK_RECORD"), "*Model_Space");
    return e ? std::string(e->handle) : std::string();
  }

  size_t GroupOf(uint32_t offset) const { return GroupAt(file_, offset); }

  // The look a segment's figures have now, in the file's terms.
  std::optional<EntityLook> LookOf(int segmentId) {
    const auto attr = FirstFigureAttr(drawing_, segmentId);
    if (!attr) return std::nullopt;
    return EntityLook{AciOfHostColor(attr->color), LineTypeName(attr->lineType)};
  }

  // A host line type's DXF name as the file's table spells it; noted for the table when the
  // file lacks it.
  std::string LineTypeName(int lineType) {
    const std::string name(DxfNameOfHostLineType(lineType));
    if (const MappedEntry* e = map_.Entry(map_.Table("LTYPE"), name)) return std::string(e->name);
    if (std::find(newLineTypes_.begin(), newLineTypes_.end(), lineType) == newLineTypes_.end()) {
      newLineTypes_.push_back(lineType);
    }
    return name;
  }

  // What the host holds of an entity's segments (or of one array copy's), written anew.
  std::string Afresh(const SourceEntity& e, int cell) {
    for (int id = e.firstSegment; id < e.firstSegment + e.segmentCount; ++id) {
      const vexhost::Segment* s = drawing_.FindSegment(id);
      if (s == nullptr || (cell >= 0 && source_.CellOf(id) != cell)) continue;
      afreshCount_ += writer_->Write(*s, layers_->NameOf(s->layer));
    }
    return Flush(entities_);
  }

  // The text an entity that changed is written as: none for a deleted one.
  std::string Rewrite(size_t index, const EntityFate& fate) {
    const SourceEntity& e = source_.entities()[index];
    const size_t begin = GroupOf(e.begin), end = GroupOf(e.end);
    if (fate.fate == Fate::kDeleted) {
      ++counts_.deleted;
      return {};
    }
    ++counts_.changed;
    std::string text;
    if (!fate.cells.empty()) {
      text = WriteCells(e, begin, end, fate);
    } else if (fate.fate == Fate::kRewritten) {
      afreshCount_ = 0;
      text = Afresh(e, -1);
      counts_.added += std::max(0, afreshCount_ - 1);
    } else {
      text = RestyledText(index, fate);
    }
    return text;
  }

  // An entity recoloured (or kept: as it was) in its own groups.
  std::string RestyledText(size_t index, const EntityFate& fate) {
    const SourceEntity& e = source_.entities()[index];
    const size_t begin = GroupOf(e.begin), end = GroupOf(e.end);
    if (fate.fate != Fate::kRestyled) {
      return GroupEditor(file_, begin, end, map_.lineEnd).Text();
    }
    if (e.reference) {
      ReferenceWriter::How how;
      how.look = LookOf(fate.restyledSegment);
      return refs_->Write(begin, end, how);
    }
    GroupEditor editor(file_, begin, end, map_.lineEnd);
    if (const auto look = LookOf(fate.restyledSegment)) {
      SetEntityStyle(editor, 0, look->aci, look->lineType);
    }
    return editor.Text();
  }

  // The text of an entity that stays whole, as it is written now.
  std::string StayingText(size_t index, const std::map<size_t, EntityFate>& fates) {
    const auto it = fates.find(index);
    return RestyledText(index, it == fates.end() ? EntityFate{} : it->second);
  }

  // An array whose copies fared differently: one reference per copy that is left, the first
  // keeping the array's handle and attributes.
  std::string WriteCells(const SourceEntity& e, size_t begin, size_t end, const EntityFate& fate) {
    const int columns = ColumnsOf(e);
    std::string text;
    int written = 0;
    for (size_t cell = 0; cell < fate.cells.size(); ++cell) {
      const Fate f = fate.cells[cell];
      if (f == Fate::kDeleted) continue;
      if (f == Fate::kRewritten) {
        afreshCount_ = 0;
        text += Afresh(e, static_cast<int>(cell));
        written += afreshCount_;
        continue;
      }
      ReferenceWriter::How how;
      how.cell = true;
      how.column = static_cast<int>(cell) % columns;
      how.row = static_cast<int>(cell) / columns;
      how.keepParts = cell == 0;
      how.newHandles = written > 0;
      if (f == Fate::kRestyled) {
        for (int id = e.firstSegment; id < e.firstSegment + e.segmentCount; ++id) {
          if (source_.CellOf(id) == static_cast<int>(cell) && LookOf(id)) how.look = LookOf(id);
        }
      }
      text += refs_->Write(begin, end, how);
      ++written;
    }
    counts_.added += std::max(0, written - 1);
    return text;
  }

  // New segments: a moved copy of a block reference's figures as a reference of the same
  // block (its texts come with it); everything else as the host holds it.
  std::string WriteAdded(const std::vector<int>& added) {
    using Key = std::tuple<size_t, int, double, double>;  // entity, copy, move
    std::map<int, Key> references;
    for (const int id : added) {
      const auto origin = drawing_.CopyOriginOf(id);
      if (!origin || !IsTranslation(origin->placement)) continue;
      const auto index = source_.EntityOf(origin->source);
      if (!index || !source_.entities()[*index].reference) continue;
      references[id] = {*index, source_.CellOf(origin->source), origin->placement.tx,
                        origin->placement.ty};
    }
    std::set<Key> figureCopies;
    for (const auto& [id, key] : references) {
      if (drawing_.FindSegment(id)->kind == VEX_SEGMENT_FIGURES) figureCopies.insert(key);
    }
    std::string text;
    std::set<Key> written;
    for (const int id : added) {
      const auto it = references.find(id);
      if (it != references.end() && figureCopies.count(it->second) > 0) {
        if (!written.insert(it->second).second) continue;  // drawn by the copy already written
        const auto& [index, cell, dx, dy] = it->second;
        const SourceEntity& e = source_.entities()[index];
        const int cells = source_.CellOf(e.firstSegment + e.segmentCount - 1) + 1;
        ReferenceWriter::How how;
        how.cell = cells > 1;
        if (how.cell) {
          const int columns = ColumnsOf(e);
          how.column = cell % columns;
          how.row = cell / columns;
        }
        how.dx = dx;
        how.dy = dy;
        how.keepParts = cell == 0;
        how.newHandles = true;
        if (drawing_.CopyOriginOf(id)->restyled) how.look = LookOf(id);
        text += refs_->Write(GroupOf(e.begin), GroupOf(e.end), how);
        ++counts_.added;
        continue;
      }
      const vexhost::Segment* s = drawing_.FindSegment(id);
      if (const auto curve = CurveCopy(id)) {
        text += *curve;
        ++counts_.added;
        continue;
      }
      counts_.added += writer_->Write(*s, layers_->NameOf(s->layer));
      text += Flush(entities_);
    }
    return text;
  }

  // A moved copy of a spline or an ellipse (the host holds it as lines) is the curve's own
  // entity moved, in the copy's colour and line type; nothing for any other segment.
  std::optional<std::string> CurveCopy(int id) {
    const auto origin = drawing_.CopyOriginOf(id);
    if (!origin || !IsTranslation(origin->placement)) return std::nullopt;
    const auto index = source_.EntityOf(origin->source);
    if (!index) return std::nullopt;
    const std::string type = EntityType(source_, *index);
    if (type != "SPLINE" && type != "ELLIPSE") return std::nullopt;
    return MovedCopyText(file_, map_, format_, source_, *index, origin->placement.tx,
                         origin->placement.ty, origin->restyled ? LookOf(id) : std::nullopt);
  }

  int ColumnsOf(const SourceEntity& e) const {
    const std::string columns = HeadValue(file_, GroupOf(e.begin), GroupOf(e.end), 70);
    return std::max(1, std::atoi(columns.c_str()));
  }

  TableAdditions Additions() {
    TableAdditions add;
    for (const int t : writer_->lineTypesUsed()) LineTypeName(t);
    add.lineTypes = newLineTypes_;
    add.layers = layers_->added();
    add.twinfindApp = writer_->wroteXData() && !map_.Entry(map_.Table("APPID"), kXDataApp);
    return add;
  }

  // New text at the end of a section, or in a section of its own when the file has none.
  void Place(const std::string& section, std::string text) {
    if (text.empty()) return;
    if (const MappedSection* s = map_.Section(section)) {
      edits_.Insert(OffsetOf(file_, s->end), std::move(text));
      return;
    }
    DxfWriter head, tail;
    head.Add(0, "SECTION");
    head.Add(2, section);
    tail.Add(0, "ENDSEC");
    edits_.Insert(PlaceOfNewSection(file_, map_, section),
                  Flush(head) + std::move(text) + Flush(tail));
  }

  // $EXTMIN and $EXTMAX cover what the file held and what the drawing holds now, texts
  // included; $HANDSEED lies beyond every handle.
  void SetHeader() {
    HeaderEdits header(file_, map_, edits_);
    VexBox extent = vexhost::EmptyBox();
    for (const int id : drawing_.SegmentIds()) {
      const vexhost::Segment* s = drawing_.FindSegment(id);
      if (s->life != VEX_LIFE_LASTING) continue;
      if (const auto box = drawing_.ComputeBounds(id)) vexhost::Include(extent, *box);
    }
    double oldMin[2], oldMax[2];
    if (ReadHeaderPoint(file_, map_, "$EXTMIN", oldMin) &&
        ReadHeaderPoint(file_, map_, "$EXTMAX", oldMax) && oldMin[0] <= oldMax[0] &&
        oldMin[1] <= oldMax[1]) {
      vexhost::Include(extent, oldMin[0], oldMin[1]);
      vexhost::Include(extent, oldMax[0], oldMax[1]);
      if (extent.minX != oldMin[0] || extent.minY != oldMin[1]) {
        header.Point("$EXTMIN", extent.minX, extent.minY);
      }
      if (extent.maxX != oldMax[0] || extent.maxY != oldMax[1]) {
        header.Point("$EXTMAX", extent.maxX, extent.maxY);
      }
    } else if (!vexhost::IsEmpty(extent)) {
      header.Point("$EXTMIN", extent.minX, extent.minY);
      header.Point("$EXTMAX", extent.maxX, extent.maxY);
    }
    const uint64_t first = std::max(map_.highestHandle + 1, map_.handSeed.value_or(1));
    if (format_.handles() && format_.nextHandle() != first) {
      header.Handle("$HANDSEED", HandleText(format_.nextHandle()));
    }
    header.Finish();
  }

  const vexhost::Drawing& drawing_;
  const DxfSource& source_;
  SaveCounts& counts_;
  GroupList file_;
  FileMap map_;
  OutputFormat format_;
  std::unique_ptr<ReferenceWriter> refs_;
  DxfWriter entities_, blocks_;
  ExportNotes notes_;
  std::unique_ptr<SegmentWriter> writer_;
  FileEdits edits_;
  int afreshCount_ = 0;
  std::unique_ptr<FileLayers> layers_;
  std::vector<int> newLineTypes_;
  BlockSave* blockSave_ = nullptr;
};

}  // namespace

std::string SavedDxfText(const vexhost::Drawing& drawing, const DxfSource& source,
                         SaveCounts& counts, std::vector<std::string>* warnings,
                         BlockSave* blocks) {
  return Saver(drawing, source, counts, blocks).Run(warnings);
}

bool SaveDxf(const vexhost::Drawing& drawing, const DxfSource& source, const std::string& path,
             SaveCounts& counts, std::string& error, std::vector<std::string>* warnings,
             BlockSave* blocks) {
  try {
    return WriteFileAtomically(path, SavedDxfText(drawing, source, counts, warnings, blocks),
                               error);
  } catch (const std::exception& e) {
    error = "cannot write " + path + ": " + e.what();
    return false;
  }
}

std::string SaveLine(const std::string& path, const SaveCounts& counts) {
  return "wrote " + path + ": " + std::to_string(counts.kept) + " entities kept, " +
         std::to_string(counts.deleted) + " deleted, " + std::to_string(counts.changed) +
         " changed, " + std::to_string(counts.added) + " added";
}

}  // namespace twinfind::dxf
