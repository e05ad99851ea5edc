// What becomes of each entity of a file's ENTITIES section when the drawing is saved back,
// from what became of the segments it gave: one entity acts as a whole (deleting any segment of
// a block reference deletes the reference), except that the copies of an array reference
// (MINSERT) may fare differently, and the array is then written copy by copy.
#ifndef DXF_ENTITY_FATES_H
#define DXF_ENTITY_FATES_H

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "dxf/dxf_source.h"
#include "host/drawing.h"

namespace twinfind::dxf {

enum class Fate : uint8_t {
  kKept,       // as it was
  kRestyled,   // the colour or line type of its figures changed
  kRewritten,  // changed otherwise: written as the host now holds it
  kDeleted,    // gone
};

struct EntityFate {
  Fate fate = Fate::kKept;
  // For an array whose copies fare differently: the fate of each copy (row by row).
  std::vector<Fate> cells;
  int restyledSegment = 0;  // a restyled segment of it, whose figures give the new look
};

// The entities that changed, by their index in the source; the others are kept.
std::map<size_t, EntityFate> EntityFates(const vexhost::Drawing& drawing, const DxfSource& source,
                                         const vexhost::BaselineChanges& changes);

// The colour and line type (host numbers) of a segment's first figure; nothing without one.
std::optional<LineAttr> FirstFigureAttr(const vexhost::Drawing& drawing, int segmentId);

}  // namespace twinfind::dxf

#endif  // DXF_ENTITY_FATES_H
