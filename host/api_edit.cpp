// VexSgm searches and edits, VexFigReverse, VexFigIsClosed.
#include <vector>

#include "host/api_util.h"
#include "host/host.h"
#include "host/outline.h"
#include "host/search.h"
#include "host/transform.h"

using vexhost::Drawing;
using vexhost::PlaneMap;
using vexhost::TheHost;

namespace {

int Search(const VexBox* area, VexElementFilter filter, int list, vexhost::SearchMode mode) {
  vexhost::Host& host = TheHost();
  if (!vexhost::IdLists::ValidList(list)) return -1;
  std::vector<VexIdRecord> records;
  for (const int id : vexhost::SearchSegments(host.drawing, area, filter, mode)) {
    records.push_back({id, host.drawing.FindSegment(id)->auxId});
  }
  const bool found = !records.empty();
  host.lists.Replace(list, std::move(records));
  return found ? 0 : -1;
}

bool IsIdentity(const PlaneMap& p) {
  return p.a == 1 && p.b == 0 && p.c == 0 && p.d == 1 && p.tx == 0 && p.ty == 0;
}

// Applies the placement to a segment's figures in place (nothing to do for the identity, as
// for the unmoved copies the comparison of segments makes).
void Place(Drawing& drawing, int segmentId, const PlaneMap& placement) {
  if (IsIdentity(placement)) return;
  drawing.PlaceSegment(segmentId, placement);
}

// Copies (move 0) or moves (move non-zero) every segment of a list under the placement; the
// resulting segments replace the destination list. Fails, changing nothing, when a list number
// is wrong or a listed segment no longer exists.
int PlaceList(int list, const PlaneMap& placement, bool move, int destinationList) {
  vexhost::Host& host = TheHost();
  if (!vexhost::IdLists::ValidList(list) || !vexhost::IdLists::ValidList(destinationList)) {
    return -1;
  }
  const std::vector<VexIdRecord> sources = host.lists.Contents(list);
  for (const VexIdRecord& r : sources) {
    const vexhost::Segment* s = host.drawing.FindSegment(r.segmentId);
    if (s == nullptr || s->auxId != r.auxId) return -1;
    // Nothing is placed beyond the drawing's reach.
    if (!IsIdentity(placement) && !host.drawing.CanPlace(r.segmentId, placement)) return -1;
  }
  std::vector<VexIdRecord> results;
  for (const VexIdRecord& r : sources) {
    const int id = move ? r.segmentId : host.drawing.CopySegment(r.segmentId);
    Place(host.drawing, id, placement);
    results.push_back({id, r.auxId});
  }
  host.lists.Replace(destinationList, std::move(results));
  return 0;
}

}  // namespace

extern "C" {

VEXAPI int VexSgmSearchSegment2(const VexBox* area, VexElementFilter filter, int list) {
  VEXHOST_FAULT_POINT(return -1);
  return Search(area, filter, list, vexhost::SearchMode::kCrossing);
}

VEXAPI int VexSgmSearchSegment4(const VexBox* area, VexElementFilter filter, int list) {
  VEXHOST_FAULT_POINT(return -1);
  return Search(area, filter, list, vexhost::SearchMode::kWindow);
}

VEXAPI int VexSgmEditSegment(int segmentId, const VexPoint* base, const VexPoint* target,
                             double angleDegrees, double scale, int flag) {
  VEXHOST_FAULT_POINT(return -1);
  Drawing& drawing = TheHost().drawing;
  if (base == nullptr || target == nullptr || drawing.FindSegment(segmentId) == nullptr) return -1;
  const PlaneMap placement = PlaneMap::MoveTurnScale(*base, *target, angleDegrees, scale);
  if (!IsIdentity(placement) && !drawing.CanPlace(segmentId, placement)) return -1;
  const int id = flag != 0 ? segmentId : drawing.CopySegment(segmentId);
  Place(drawing, id, placement);
  return id;
}

VEXAPI int VexSgmEditSegment2(int list, const VexPoint* base, const VexPoint* target,
                              double angleDegrees, double scale, int flag, int destinationList) {
  VEXHOST_FAULT_POINT(return -1);
  if (base == nullptr || target == nullptr) return -1;
  return PlaceList(list, PlaneMap::MoveTurnScale(*base, *target, angleDegrees, scale), flag != 0,
                   destinationList);
}

VEXAPI int VexSgmMirrorSegment2(int list, const VexPoint* p1, const VexPoint* p2, int /*reserved*/,
                                int move, int destinationList) {
  VEXHOST_FAULT_POINT(return -1);
  PlaneMap mirror;
  if (p1 == nullptr || p2 == nullptr || !PlaneMap::Mirror(*p1, *p2, mirror)) return -1;
  return PlaceList(list, mirror, move != 0, destinationList);
}

VEXAPI int VexFigReverse(int segmentId) {
  VEXHOST_FAULT_POINT(return -1);
  Drawing& drawing = TheHost().drawing;
  if (!drawing.UpdateFigures(segmentId, vexhost::Reverse)) return -1;
  drawing.ReverseElementOrder(segmentId);
  return 0;
}

VEXAPI int VexFigIsClosed(int segmentId) {
  VEXHOST_FAULT_POINT(return 0);
  Drawing& drawing = TheHost().drawing;
  const vexhost::Segment* s = drawing.FindSegment(segmentId);
  if (s == nullptr) return 0;
  std::vector<FigureRecord> figures;
  for (const int e : s->elements) figures.push_back(drawing.FindElement(e)->figure);
  return vexhost::IsClosedChain(figures) ? 1 : 0;
}

}  // extern "C"
