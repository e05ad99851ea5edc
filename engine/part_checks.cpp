#include "engine/part_checks.h"

#include <vector>

#include "engine/geometry.h"
#include "engine/host_lists.h"
#include "engine/segment_compare.h"
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

namespace {

VexPoint CentreOf(const FigureRecord& f) {
  return f.kind == VEX_FIG_CIRCLE ? VexPoint{f.u.circle.cx, f.u.circle.cy}
                                  : VexPoint{f.u.arc.cx, f.u.arc.cy};
}

double RadiusOf(const FigureRecord& f) {
  return f.kind == VEX_FIG_CIRCLE ? f.u.circle.r : f.u.arc.r;
}

void SetAnchorSegment(AnchorLine& anchor, const SegmentRef& ref, int figureIndex) {
  anchor.ref = ref;
  anchor.figureIndex = figureIndex;
  anchor.lineAttr = LineAttr{};
  VexFigGetLineType2(VexSgmGetHeadElementId(ref.segmentId), &anchor.lineAttr);
  anchor.layer = VexSgmGetLayer(ref.segmentId);
}

// A part without a line: its largest circle or arc (the first of equals), and what fixes the
// turn of a twin: an arc's own start; else the point of another circle (its centre) or arc
// (its ends) farthest from the anchor's centre; else nothing, when every other figure is
// centred on it.
bool FindRoundAnchor() {
  struct Found {
    SegmentRef ref;
    int index;
    FigureRecord figure;
  };
  std::vector<Found> round;
  for (int i = 1; i <= partTable.count(); ++i) {
    const SegmentRef ref = partTable[i].ref;
    if (VexSgmGetType(ref.segmentId) != 0) continue;
    const int count = VexFigGetFigure2(&ref, figureBuffer, kAnchorFigureCapacity);
    for (int k = 0; k < count; ++k) {
      const int kind = figureBuffer[k].kind;
      if (kind == VEX_FIG_CIRCLE || kind == VEX_FIG_ARC) round.push_back({ref, k, figureBuffer[k]});
    }
  }
  if (round.empty()) return false;
  size_t largest = 0;
  for (size_t i = 1; i < round.size(); ++i) {
    if (RadiusOf(round[i].figure) > RadiusOf(round[largest].figure)) largest = i;
  }
  const FigureRecord& f = round[largest].figure;
  AnchorLine anchor;
  SetAnchorSegment(anchor, round[largest].ref, round[largest].index);
  anchor.kind = f.kind;
  anchor.start = CentreOf(f);
  anchor.radius = RadiusOf(f);
  if (f.kind == VEX_FIG_ARC) {
    anchor.arcLength = ArcLength(f.u.arc);
    anchor.turn = AnchorTurn::kOwnEnd;
    const VexPoint end{f.u.arc.sx, f.u.arc.sy};
    anchor.angle = LineAngle(anchor.start, end);
    anchor.length = VexAriLen2Pnts(&anchor.start, &end);
  } else {
    double farthest = COINCIDE_EPS;
    for (size_t i = 0; i < round.size(); ++i) {
      if (i == largest) continue;
      const FigureRecord& g = round[i].figure;
      std::vector<VexPoint> points;
      if (g.kind == VEX_FIG_CIRCLE) {
        points.push_back(CentreOf(g));
      } else {
        points.push_back({g.u.arc.sx, g.u.arc.sy});
        points.push_back({g.u.arc.ex, g.u.arc.ey});
      }
      for (const VexPoint& p : points) {
        const double d = VexAriLen2Pnts(&anchor.start, &p);
        if (d <= farthest) continue;
        farthest = d;
        anchor.turn = AnchorTurn::kFeature;
        anchor.featureKind = g.kind;
        anchor.featureRadius = RadiusOf(g);
        anchor.featureArcLength = g.kind == VEX_FIG_ARC ? ArcLength(g.u.arc) : 0.0;
        anchor.angle = LineAngle(anchor.start, p);
        anchor.length = d;
      }
    }
  }
  anchorLine = anchor;
  return true;
}

}  // namespace

bool FindAnchorLine() {
  anchorLine = AnchorLine{};
  bool sawLine = false;
  for (int i = 1; i <= partTable.count() && !sawLine; ++i) {
    const SegmentRef ref = partTable[i].ref;
    if (VexSgmGetType(ref.segmentId) != 0) continue;
    const int count = VexFigGetFigure2(&ref, figureBuffer, kAnchorFigureCapacity);
    if (count <= 0) return false;
    for (int k = 0; k < count; ++k) {
      const FigureRecord& f = figureBuffer[k];
      if (f.kind != VEX_FIG_LINE) continue;
      const VexPoint start{f.u.line.x1, f.u.line.y1}, end{f.u.line.x2, f.u.line.y2};
      SetAnchorSegment(anchorLine, ref, k);
      anchorLine.angle = LineAngle(start, end);
      anchorLine.length = VexAriLen2Pnts(&start, &end);
      anchorLine.start = start;
      sawLine = true;
      break;
    }
  }
  // A part without a line is anchored on a circle or an arc.
  return sawLine || FindRoundAnchor();
}

}  // namespace twinfind
