#include "engine/segment_compare.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/drawing_read.h"
#include "engine/figure_match.h"

namespace twinfind {
namespace {

constexpr int kCompareCapacity = 100;
constexpr int kLargeCapacity = 10000;

FigureRecord small[kCompareCapacity];
FigureRecord outline[kLargeCapacity];
FigureRecord others[kLargeCapacity];

// A hole record read from the host, freed again when it goes out of scope.
struct HoleRecordRead {
  HoleData data{};
  bool obtained = false;

  explicit HoleRecordRead(const SegmentRef& ref) {
    const int id = VexHolGetHoleId(&ref);
    obtained = id != -1 && VexHolGetHoleData(id, &data) != -1;
  }
  ~HoleRecordRead() {
    if (obtained) VexHoleFreeHoleData(&data);
  }
  HoleRecordRead(const HoleRecordRead&) = delete;
  HoleRecordRead& operator=(const HoleRecordRead&) = delete;

  // Drops the items on invisible layers, keeping the order of the rest.
  void DropInvisibleItems() {
    int kept = 0;
    for (int i = 0; i < data.itemCount; ++i) {
      if (VexLyrGetVisibility(data.items[i].layer) != 0) data.items[kept++] = data.items[i];
    }
    data.itemCount = kept;
  }
};

bool SameText(const char16_t* a, const char16_t* b, int capacity) {
  for (int i = 0; i < capacity; ++i) {
    if (a[i] != b[i]) return false;
    if (a[i] == u'\0') return true;
  }
  return true;
}

bool HoleItemsAgree(const HoleItem& a, const HoleItem& b, double t) {
  if (a.kind != b.kind || a.layer != b.layer || !Within(a.diameter, b.diameter, t)) return false;
  if (a.throughFlag != b.throughFlag) return false;
  if (a.throughFlag == 0 && !Within(a.depth, b.depth, t)) return false;
  if (a.standard != b.standard || a.threadKind != b.threadKind) return false;
  if (!SameText(a.name, b.name, 20)) return false;
  if (a.count != b.count || !Within(a.pitch, b.pitch, t)) return false;
  if (a.finish != b.finish || a.tolerance != b.tolerance || a.mode != b.mode) return false;
  return a.mode != 2 || a.modeValue == b.modeValue;
}

// Segments with hole records: their circles, figure by figure index, and their visible items.
bool HoleRecordsCoincide(HoleRecordRead& a, HoleRecordRead& b, const SegmentFigures& fa,
                         const SegmentFigures& fb, double t) {
  a.DropInvisibleItems();
  b.DropInvisibleItems();
  for (size_t k = 0; k < fa.figures.size(); ++k) {
    if (fa.figures[k].kind != VEX_FIG_CIRCLE) continue;
    const FigureCircle &ca = fa.figures[k].u.circle, &cb = fb.figures[k].u.circle;
    if (!PointsWithin(ca.cx, ca.cy, cb.cx, cb.cy, t) || !Within(ca.r, cb.r, t)) {
      return false;
    }
  }
  if (a.data.itemCount != b.data.itemCount) return false;
  for (int i = 0; i < a.data.itemCount; ++i) {
    if (!HoleItemsAgree(a.data.items[i], b.data.items[i], t)) return false;
  }
  return true;
}

// b's figures as VexFigReverse leaves them: in the other order, each drawn the other way. The
// storage is kept from one comparison to the next.
const FigureRecord* Reversed(const std::vector<FigureRecord>& figures) {
  static std::vector<FigureRecord> reversed;
  reversed.resize(figures.size());
  for (size_t i = 0; i < figures.size(); ++i) {
    reversed[i] = ReversedFigure(figures[figures.size() - 1 - i]);
  }
  return reversed.data();
}

}  // namespace

VexBox SpreadOfFigures(const std::vector<FigureRecord>& figures) {
  VexBox s{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  auto x = [&s](double v) {
    s.minX = std::min(s.minX, v);
    s.maxX = std::max(s.maxX, v);
  };
  auto y = [&s](double v) {
    s.minY = std::min(s.minY, v);
    s.maxY = std::max(s.maxY, v);
  };
  for (const FigureRecord& f : figures) {
    switch (f.kind) {
      case VEX_FIG_LINE:
        x(f.u.line.x1), x(f.u.line.x2), y(f.u.line.y1), y(f.u.line.y2);
        break;
      case VEX_FIG_CIRCLE:
        x(f.u.circle.cx), y(f.u.circle.cy);
        break;
      case VEX_FIG_ARC:
        x(f.u.arc.cx), x(f.u.arc.sx), x(f.u.arc.ex), y(f.u.arc.cy), y(f.u.arc.sy), y(f.u.arc.ey);
        break;
      case VEX_FIG_KIND4:
        x(f.u.kind4.x1), x(f.u.kind4.x2), y(f.u.kind4.y1), y(f.u.kind4.y2);
        break;
      case VEX_FIG_KIND5:
        x(f.u.kind5.x1), x(f.u.kind5.x2), x(f.u.kind5.x3);
        y(f.u.kind5.y1), y(f.u.kind5.y2), y(f.u.kind5.y3);
        break;
      case VEX_FIG_POINT:
        x(f.u.point.x), y(f.u.point.y);
        break;
      default:
        break;
    }
  }
  return s;
}

namespace {

// Apart by the tolerance or more, rounding forgiven (false for NaN, which the figures' own
// comparison refuses).
bool Apart(double p, double q, double t) { return std::fabs(p - q) >= t && !Within(p, q, t); }

// False only when the spreads are apart somewhere: points within the tolerance of each other
// have their coordinates within it too.
bool SpreadsAgree(const VexBox& a, const VexBox& b, double t) {
  return !Apart(a.minX, b.minX, t) && !Apart(a.maxX, b.maxX, t) && !Apart(a.minY, b.minY, t) &&
         !Apart(a.maxY, b.maxY, t);
}

}  // namespace

SegmentFigures ReadSegmentFigures(const SegmentRef& ref) {
  SegmentFigures read;
  ReadSegmentFigures(ref, read);
  return read;
}

void ReadSegmentFigures(const SegmentRef& ref, SegmentFigures& read) {
  if (const SegmentFigures* held = HeldSegment(ref)) {
    read.ref = ref;
    read.figures.assign(held->figures.begin(), held->figures.end());
    read.ok = held->ok;
    read.hasHole = held->hasHole;
    read.spread = held->spread;
    return;
  }
  ReadHostSegmentFigures(ref, read);
}

void ReadHostSegmentFigures(const SegmentRef& ref, SegmentFigures& read) {
  read.ref = ref;
  read.figures.clear();
  // Fixed storage for the usual sizes; a segment that fills it is read again in full, so that
  // every figure is compared.
  int n = VexFigGetFigure2(&ref, small, kCompareCapacity);
  if (n >= kCompareCapacity) {
    read.figures.resize(kLargeCapacity);
    n = VexFigGetFigure2(&ref, read.figures.data(), kLargeCapacity);
    read.figures.resize(n > 0 ? static_cast<size_t>(n) : 0);
  } else if (n > 0) {
    read.figures.assign(small, small + n);
  }
  read.ok = n != -1;
  read.hasHole = VexHolGetHoleId(&ref) != -1;
  read.spread = SpreadOfFigures(read.figures);
}

bool SegmentsCoincide(const SegmentFigures& a, const SegmentFigures& b, double tolerance) {
  if (!a.ok || !b.ok || a.figures.size() != b.figures.size()) return false;
  // Figures that agree have their coordinates within the tolerance, and so their spreads; the
  // hole route compares only circles, so it is not cut short this way.
  if (!a.hasHole && !b.hasHole && !SpreadsAgree(a.spread, b.spread, tolerance)) return false;
  const int n = static_cast<int>(a.figures.size());
  // Every hole record there is, is read (and freed); the hole route needs both.
  if (a.hasHole || b.hasHole) {
    HoleRecordRead holeA(a.ref);
    HoleRecordRead holeB(b.ref);
    if (holeA.obtained && holeB.obtained && holeA.data.variant == 0 && holeB.data.variant == 0) {
      return HoleRecordsCoincide(holeA, holeB, a, b, tolerance);
    }
  }
  if (AllFiguresMatched(a.figures.data(), b.figures.data(), n, tolerance)) return true;
  // The drawing direction of b reversed.
  return AllFiguresMatched(a.figures.data(), Reversed(b.figures), n, tolerance);
}

bool SegmentsCoincide(const SegmentRef& a, const SegmentRef& b, double tolerance) {
  return SegmentsCoincide(ReadSegmentFigures(a), ReadSegmentFigures(b), tolerance);
}

InsideAnswer IsInsideClosedSegment(const SegmentRef& closed, const SegmentRef& other) {
  if (VexFigIsClosed(closed.segmentId) == 0) return {};
  const int outlineCount = VexFigGetFigure2(&closed, outline, kLargeCapacity);
  if (outlineCount == -1) return {};
  return IsInsideOutline(outline, outlineCount, other);
}

namespace {

InsideAnswer PointsInside(const FigureRecord* outlineFigures, int outlineCount,
                          const FigureRecord* otherFigures, int otherCount) {
  InsideAnswer answer;
  auto outside = [&](double x, double y) {
    const VexPoint p{x, y};
    return VexAriIochkPnt(outlineFigures, outlineCount, &p) == 1;
  };
  answer.inside = true;
  for (int i = 0; i < otherCount && answer.inside; ++i) {
    const FigureRecord& f = otherFigures[i];
    switch (f.kind) {
      case VEX_FIG_LINE:
        answer.inside = !outside(f.u.line.x1, f.u.line.y1) && !outside(f.u.line.x2, f.u.line.y2);
        break;
      case VEX_FIG_CIRCLE: {
        const FigureCircle& c = f.u.circle;
        answer.inside = !outside(c.cx, c.cy) && !outside(c.cx - c.r, c.cy) &&
                        !outside(c.cx + c.r, c.cy) && !outside(c.cx, c.cy - c.r) &&
                        !outside(c.cx, c.cy + c.r);
        break;
      }
      case VEX_FIG_ARC: {
        const FigureArc& c = f.u.arc;
        answer.inside = !outside(c.cx, c.cy) && !outside(c.sx, c.sy) && !outside(c.ex, c.ey);
        break;
      }
      case VEX_FIG_POINT:
        answer.inside = !outside(f.u.point.x, f.u.point.y);
        break;
      default:
        break;
    }
  }
  answer.handled = true;
  return answer;
}

}  // namespace

InsideAnswer IsInsideOutline(const FigureRecord* outlineFigures, int outlineCount,
                             const SegmentRef& other) {
  if (VexSgmGetType(other.segmentId) != 0) return {};
  const int otherCount = VexFigGetFigure2(&other, others, kLargeCapacity);
  if (otherCount == -1) return {};
  return PointsInside(outlineFigures, outlineCount, others, otherCount);
}

InsideAnswer IsInsideOutline(const FigureRecord* outlineFigures, int outlineCount,
                             const SegmentFigures& other) {
  if (VexSgmGetType(other.ref.segmentId) != 0 || !other.ok) return {};
  return PointsInside(outlineFigures, outlineCount, other.figures.data(),
                      static_cast<int>(other.figures.size()));
}

}  // namespace twinfind
