#include "engine/trial_copy.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "engine/engine_texts.h"
#include "engine/host_lists.h"
#include "engine/shape_model.h"

namespace twinfind {
namespace {

void Move(const CopyPlacement& p, double& x, double& y) {
  const double nx = p.a * x + p.b * y + p.tx, ny = p.c * x + p.d * y + p.ty;
  x = nx;
  y = ny;
}

double ScaleOf(const CopyPlacement& p) { return std::sqrt(std::fabs(p.a * p.d - p.b * p.c)); }

int Flipped(int direction) {
  if (direction == VEX_ARC_CCW) return VEX_ARC_CW;
  if (direction == VEX_ARC_CW) return VEX_ARC_CCW;
  return direction;
}

}  // namespace

CopyPlacement CopyPlacement::MoveTurn(VexPoint base, VexPoint target, double degrees) {
  const double t = degrees * std::numbers::pi / 180.0;
  const double cs = std::cos(t) * 1.0, sn = std::sin(t) * 1.0;
  return {cs,
          -sn,
          sn,
          cs,
          target.x - (cs * base.x - sn * base.y),
          target.y - (sn * base.x + cs * base.y)};
}

CopyPlacement CopyPlacement::Mirror(VexPoint p1, VexPoint p2) {
  const double dx = p2.x - p1.x, dy = p2.y - p1.y;
  const double length2 = dx * dx + dy * dy;
  CopyPlacement m;
  m.a = (dx * dx - dy * dy) / length2;
  m.b = 2 * dx * dy / length2;
  m.c = m.b;
  m.d = -m.a;
  m.tx = p1.x - (m.a * p1.x + m.b * p1.y);
  m.ty = p1.y - (m.c * p1.x + m.d * p1.y);
  return m;
}

FigureRecord CopyPlacement::Apply(const FigureRecord& figure) const {
  FigureRecord f = figure;
  if (identity()) return f;  // the host leaves a segment placed onto itself as it is
  switch (f.kind) {
    case VEX_FIG_LINE:
      Move(*this, f.u.line.x1, f.u.line.y1);
      Move(*this, f.u.line.x2, f.u.line.y2);
      break;
    case VEX_FIG_CIRCLE:
      Move(*this, f.u.circle.cx, f.u.circle.cy);
      f.u.circle.r *= ScaleOf(*this);
      break;
    case VEX_FIG_ARC:
      Move(*this, f.u.arc.cx, f.u.arc.cy);
      Move(*this, f.u.arc.sx, f.u.arc.sy);
      Move(*this, f.u.arc.ex, f.u.arc.ey);
      f.u.arc.r *= ScaleOf(*this);
      if (a * d - b * c < 0) f.u.arc.direction = Flipped(f.u.arc.direction);
      break;
    case VEX_FIG_KIND4:
      Move(*this, f.u.kind4.x1, f.u.kind4.y1);
      Move(*this, f.u.kind4.x2, f.u.kind4.y2);
      break;
    case VEX_FIG_KIND5:
      Move(*this, f.u.kind5.x1, f.u.kind5.y1);
      Move(*this, f.u.kind5.x2, f.u.kind5.y2);
      Move(*this, f.u.kind5.x3, f.u.kind5.y3);
      break;
    case VEX_FIG_POINT:
      Move(*this, f.u.point.x, f.u.point.y);
      break;
    default:
      break;
  }
  return f;
}

bool ReadCopySources(int workList, std::vector<CopySource>& sources) {
  sources.clear();
  const int handle = VexIddOpenApIdData(workList, 1);
  VexIdRecord record{};
  std::vector<SegmentRef> refs;
  for (int r = VexIddGetHeadApIdData(handle, &record); r != -1;
       r = VexIddGetNextApIdData(handle, &record)) {
    refs.push_back(RefOfRecord(record));
  }
  CloseList(handle);
  for (const SegmentRef& ref : refs) {
    CopySource source;
    source.ref = ref;
    ReadSegmentFigures(ref, source.figures);
    if (!source.figures.ok) {
      VexMsgPutErrorMessage(texts::kCopyErrorT03);
      return false;
    }
    source.hasAttr5 = VexSgmHasAttribute(ref.segmentId, VEX_ATTRIBUTE_5) != 0 ? 1 : 0;
    source.closed = VexFigIsClosed(ref.segmentId) != 0;
    sources.push_back(std::move(source));
  }
  if (sources.size() > static_cast<size_t>(kWorkCapacity)) {
    VexDlgMessageBox(texts::kCopyOverflowT04);
    return false;
  }
  return true;
}

void PlaceSegment(const CopySource& source, const CopyPlacement& first, const CopyPlacement* then,
                  SegmentFigures& to) {
  const SegmentFigures& from = source.figures;
  to.ref = from.ref;
  to.ok = from.ok;
  to.hasHole = from.hasHole;
  to.figures.resize(from.figures.size());
  for (size_t k = 0; k < from.figures.size(); ++k) {
    to.figures[k] = first.Apply(from.figures[k]);
    if (then != nullptr) to.figures[k] = then->Apply(to.figures[k]);
  }
  to.spread = SpreadOfFigures(to.figures);
}

void PlaceCopy(const std::vector<CopySource>& sources, const CopyPlacement& first,
               const CopyPlacement* then, std::vector<SegmentFigures>& out) {
  out.resize(sources.size());
  for (size_t i = 0; i < sources.size(); ++i) PlaceSegment(sources[i], first, then, out[i]);
}

}  // namespace twinfind
