#include "dxf/entity_fates.h"

#include <algorithm>
#include <utility>

namespace twinfind::dxf {
namespace {

bool SameLook(const std::optional<LineAttr>& a, const std::optional<LineAttr>& b) {
  return a.has_value() == b.has_value() &&
         (!a || (a->color == b->color && a->lineType == b->lineType));
}

}  // namespace

std::optional<LineAttr> FirstFigureAttr(const vexhost::Drawing& drawing, int segmentId) {
  const vexhost::Segment* s = drawing.FindSegment(segmentId);
  if (s == nullptr) return std::nullopt;
  for (const int id : s->elements) {
    const vexhost::Element* e = drawing.FindElement(id);
    if (e && !e->comment && e->lineAttr) return e->lineAttr;
  }
  return std::nullopt;
}

std::map<size_t, EntityFate> EntityFates(const vexhost::Drawing& drawing, const DxfSource& source,
                                         const vexhost::BaselineChanges& changes) {
  std::map<size_t, std::vector<std::pair<int, Fate>>> touched;
  auto note = [&](const std::vector<int>& ids, Fate fate) {
    for (const int id : ids) {
      if (const auto entity = source.EntityOf(id)) touched[*entity].emplace_back(id, fate);
    }
  };
  note(changes.restyled, Fate::kRestyled);
  note(changes.reshaped, Fate::kRewritten);
  note(changes.deleted, Fate::kDeleted);

  std::map<size_t, EntityFate> fates;
  for (auto& [index, segments] : touched) {
    std::sort(segments.begin(), segments.end());
    const SourceEntity& e = source.entities()[index];
    EntityFate f;
    for (const auto& [id, fate] : segments) {
      if (fate == Fate::kRestyled && f.restyledSegment == 0) f.restyledSegment = id;
    }
    const int cells = e.reference && e.segmentCount > 0
                          ? source.CellOf(e.firstSegment + e.segmentCount - 1) + 1
                          : 1;
    if (cells <= 1) {
      // The worst that befell any of its segments befalls the entity.
      for (const auto& [id, fate] : segments) f.fate = std::max(f.fate, fate);
      fates[index] = std::move(f);
      continue;
    }
    f.cells.assign(static_cast<size_t>(cells), Fate::kKept);
    std::vector<int> restyledOf(static_cast<size_t>(cells), 0);
    for (const auto& [id, fate] : segments) {
      const auto cell = static_cast<size_t>(source.CellOf(id));
      f.cells[cell] = std::max(f.cells[cell], fate);
      if (fate == Fate::kRestyled && restyledOf[cell] == 0) restyledOf[cell] = id;
    }
    const bool alike = std::all_of(f.cells.begin(), f.cells.end(),
                                   [&](Fate fate) { return fate == f.cells.front(); });
    bool sameLook = true;
    for (const int id : restyledOf) {
      sameLook = sameLook && SameLook(FirstFigureAttr(drawing, id),
                                      FirstFigureAttr(drawing, restyledOf.front()));
    }
    if (alike && (f.cells.front() != Fate::kRestyled || sameLook)) {
      // Every copy alike: the array stays one entity.
      f.fate = f.cells.front();
      f.cells.clear();
    } else {
      f.fate = Fate::kRewritten;  // written copy by copy, each as it fares
    }
    fates[index] = std::move(f);
  }
  return fates;
}

}  // namespace twinfind::dxf
