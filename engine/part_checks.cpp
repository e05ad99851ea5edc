#include "engine/part_checks.h"

#include <vector>

#include "engine/geometry.h"
#include "engine/host_lists.h"
#include "engine/shape_model.h"

namespace twinfind {
namespace {
constexpr int kBoxFigureCapacity = 10000;
constexpr int kAnchorFigureCapacity = 1000;
FigureRecord figureBuffer[kBoxFigureCapacity];
}  // namespace

void ExtendBoxBySegment(const SegmentRef& ref, VexBox& box) {
  if (VexSgmGetType(ref.segmentId) != 0 || VexSgmHasAttribute(ref.segmentId, VEX_ATTRIBUTE_5)) {
    return;
  }
  const int count = VexFigGetFigure2(&ref, figureBuffer, kBoxFigureCapacity);
  for (int i = 0; i < count; ++i) {
    const FigureRecord& f = figureBuffer[i];
    switch (f.kind) {
      case VEX_FIG_LINE:
        IncludePoint(box, f.u.line.x1, f.u.line.y1);
        IncludePoint(box, f.u.line.x2, f.u.line.y2);
        break;
      case VEX_FIG_CIRCLE:
        IncludePoint(box, f.u.circle.cx - f.u.circle.r, f.u.circle.cy - f.u.circle.r);
        IncludePoint(box, f.u.circle.cx + f.u.circle.r, f.u.circle.cy + f.u.circle.r);
        break;
      case VEX_FIG_ARC: {
        const FigureArc& a = f.u.arc;
        IncludePoint(box, a.sx, a.sy);
        IncludePoint(box, a.ex, a.ey);
        const VexPoint quadrants[4] = {
            {a.cx - a.r, a.cy}, {a.cx + a.r, a.cy}, {a.cx, a.cy - a.r}, {a.cx, a.cy + a.r}};
        for (const VexPoint& q : quadrants) {
          if (VexAriOnchkArc(&f, &q) == 2) IncludePoint(box, q.x, q.y);
        }
        break;
      }
      case VEX_FIG_POINT:
        IncludePoint(box, f.u.point.x, f.u.point.y);
        break;
      default:
        break;
    }
  }
  // The lines once more, element by element.
  for (int e = VexSgmGetHeadElementId(ref.segmentId); e != -1; e = VexElmGetNextElementId(e)) {
    FigureRecord f{};
    const SegmentRef element{ref.auxId, e};
    if (VexFigGetFigure(&element, &f) == 0 && f.kind == VEX_FIG_LINE) {
      IncludePoint(box, f.u.line.x1, f.u.line.y1);
      IncludePoint(box, f.u.line.x2, f.u.line.y2);
    }
  }
}

bool CheckPartInRange() {
  std::vector<bool> found(partTable.count() + 1, false);
  for (int i = 1; i <= partTable.count(); ++i) found[i] = partTable[i].hasAttr5 != 0;
  const double w = std::fabs(partBox.maxX - partBox.minX);
  const double h = std::fabs(partBox.maxY - partBox.minY);
  const VexBox window{partBox.minX - 0.01 * w, partBox.minY - 0.01 * h, partBox.maxX + 0.01 * w,
                      partBox.maxY + 0.01 * h};
  ResetList(kRangeCheckList);
  if (VexSgmSearchSegment2(&window, AcceptAll, kRangeCheckList) != 0) return false;
  const int handle = VexIddOpenApIdData(kRangeCheckList, 1);
  VexIdRecord record{};
  for (int r = VexIddGetHeadApIdData(handle, &record); r != -1;
       r = VexIddGetNextApIdData(handle, &record)) {
    const SegmentRef ref = RefOfRecord(record);
    for (int i = 1; i <= partTable.count(); ++i) {
      if (partTable[i].ref == ref) {
        found[i] = true;
        break;
      }
    }
  }
  VexIddInitApIdData(handle);
  CloseList(handle);
  for (int i = 1; i <= partTable.count(); ++i) {
    if (!found[i]) return false;
  }
  return true;
}

bool FindAnchorLine() {
  anchorLine.figureIndex = -1;
  for (int i = 1; i <= partTable.count(); ++i) {
    const SegmentRef ref = partTable[i].ref;
    if (VexSgmGetType(ref.segmentId) != 0) continue;
    const int count = VexFigGetFigure2(&ref, figureBuffer, kAnchorFigureCapacity);
    if (count <= 0) return false;
    for (int k = 0; k < count; ++k) {
      const FigureRecord& f = figureBuffer[k];
      if (f.kind != VEX_FIG_LINE) continue;
      const VexPoint start{f.u.line.x1, f.u.line.y1}, end{f.u.line.x2, f.u.line.y2};
      anchorLine.ref = ref;
      anchorLine.figureIndex = k;
      anchorLine.angle = LineAngle(start, end);
      anchorLine.length = VexAriLen2Pnts(&start, &end);
      anchorLine.start = start;
      anchorLine.lineAttr = LineAttr{};
      VexFigGetLineType2(VexSgmGetHeadElementId(ref.segmentId), &anchorLine.lineAttr);
      anchorLine.layer = VexSgmGetLayer(ref.segmentId);
      return true;
    }
  }
  return false;
}

}  // namespace twinfind
