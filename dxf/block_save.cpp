#include "dxf/block_save.h"

#include <set>
#include <utility>

#include "dxf/file_map.h"
#include "dxf/line_type_names.h"

namespace twinfind::dxf {
namespace {

using PieceKey = std::pair<size_t, int>;  // entity, copy (-1: the whole entity)

bool Standing(const std::map<size_t, EntityFate>& fates, const EntityPiece& piece) {
  const auto it = fates.find(piece.entity);
  if (it == fates.end()) return true;
  const EntityFate& f = it->second;
  if (f.cells.empty()) return f.fate == Fate::kKept || f.fate == Fate::kRestyled;
  if (piece.cells.empty()) return false;  // an array written copy by copy is no one entity
  for (const int cell : piece.cells) {
    const Fate fate = f.cells[static_cast<size_t>(cell)];
    if (fate != Fate::kKept && fate != Fate::kRestyled) return false;
  }
  return true;
}

std::vector<PieceKey> KeysOf(const std::vector<EntityPiece>& pieces) {
  std::vector<PieceKey> keys;
  for (const EntityPiece& p : pieces) {
    if (p.cells.empty()) keys.emplace_back(p.entity, -1);
    for (const int cell : p.cells) keys.emplace_back(p.entity, cell);
  }
  return keys;
}

// The twin's pieces leave the file: whole entities deleted, copies of an array taken out of it.
void TakeOut(const DxfSource& source, std::map<size_t, EntityFate>& fates,
             const EntityPiece& piece) {
  EntityFate& f = fates[piece.entity];
  if (piece.cells.empty()) {
    f = EntityFate{};
    f.fate = Fate::kDeleted;
    return;
  }
  if (f.cells.empty()) {
    f.cells.assign(static_cast<size_t>(CellCount(source, source.entities()[piece.entity])), f.fate);
  }
  for (const int cell : piece.cells) f.cells[static_cast<size_t>(cell)] = Fate::kDeleted;
  bool all = true;
  for (const Fate fate : f.cells) all = all && fate == Fate::kDeleted;
  f.fate = all ? Fate::kDeleted : Fate::kRewritten;
  if (all) f.cells.clear();
}

}  // namespace

PlannedBlocks ApplyBlockPlan(const BlockPlan& plan, const DxfSource& source, const GroupList& file,
                             BlockWriter& writer, std::map<size_t, EntityFate>& fates,
                             const std::function<std::string(size_t)>& sourceText) {
  PlannedBlocks planned;
  std::set<PieceKey> taken;
  const auto groupsOf = [&](size_t entity) {
    const SourceEntity& e = source.entities()[entity];
    return std::pair<size_t, size_t>(GroupAt(file, e.begin), GroupAt(file, e.end));
  };
  for (const BlockFamily& family : plan.families) {
    if (family.source.empty()) continue;
    bool usable = true;
    for (const EntityPiece& piece : family.source) usable = usable && Standing(fates, piece);
    if (!usable) continue;
    BlockOutcome outcome;
    outcome.number = family.number;
    ReferenceForm form;
    if (family.existing) {
      const auto [begin, end] = groupsOf(family.source.front().entity);
      const auto found = writer.FormOf(begin, end, outcome.name);
      if (!found) continue;
      form = *found;
    } else {
      std::vector<std::string> texts;
      for (const EntityPiece& piece : family.source) texts.push_back(sourceText(piece.entity));
      outcome.name = writer.NewBlockName(family.name);
      writer.Define(outcome.name, texts, -family.baseX, -family.baseY);
      form.x = family.baseX;
      form.y = family.baseY;
    }
    for (const BlockTwin& twin : family.twins) {
      if (twin.pieces.empty()) continue;
      if (twin.stays) {
        ++outcome.references;
        continue;
      }
      const std::vector<PieceKey> keys = KeysOf(twin.pieces);
      bool free = true;
      for (const EntityPiece& piece : twin.pieces) free = free && Standing(fates, piece);
      for (const PieceKey& key : keys) free = free && taken.count(key) == 0;
      if (!free) continue;
      taken.insert(keys.begin(), keys.end());
      const auto [begin, end] = groupsOf(twin.pieces.front().entity);
      const std::string layer = HeadValue(file, begin, end, 8);
      planned.referencesAt[twin.pieces.front().entity] +=
          writer.Reference(outcome.name, form, twin.placement, layer);
      for (const EntityPiece& piece : twin.pieces) TakeOut(source, fates, piece);
      ++outcome.references;
      ++outcome.replaced;
      ++planned.added;
    }
    planned.outcomes.push_back(std::move(outcome));
  }
  return planned;
}

}  // namespace twinfind::dxf
