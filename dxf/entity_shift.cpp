#include "dxf/entity_shift.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/dxf_writer.h"
#include "dxf/line_type_names.h"

namespace twinfind::dxf {
namespace {

bool ReadNumber(std::string_view text, double& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc{} && result.ptr == text.data() + text.size() &&
         std::isfinite(value);
}

// +1 for an entity seen from above, -1 from below (its plane's x runs against the world's).
double SideOf(const GroupEditor& e, size_t head) {
  const size_t at = FindInHead(e, head, 230);
  double z = 1;
  if (at < e.HeadEnd(head) && ReadNumber(e.value(at), z) && z < 0) return -1;
  return 1;
}

// Adds `by` to the value of group i, when it is a number.
void AddTo(GroupEditor& e, size_t i, double by) {
  double value = 0;
  if (by != 0 && ReadNumber(e.value(i), value)) e.Set(i, RealText(value + by));
}

// Shifts every point of the codes (x, x + 10) in [from, to): each group x by dx, each y by dy.
void ShiftCodes(GroupEditor& e, size_t from, size_t to, const std::vector<int>& xCodes, double dx,
                double dy) {
  for (size_t i = from; i < to; ++i) {
    for (const int x : xCodes) {
      if (e.code(i) == x) AddTo(e, i, dx);
      if (e.code(i) == x + 10) AddTo(e, i, dy);
    }
  }
}

// The points an entity type keeps, and whether they lie in its own plane.
struct PointCodes {
  std::vector<int> xCodes;
  bool ownPlane = false;
};

PointCodes CodesOf(std::string_view type, int polylineFlags) {
  if (type == "LINE") return {{10, 11}, false};
  if (type == "POINT" || type == "MTEXT" || type == "ELLIPSE") return {{10}, false};
  if (type == "SPLINE") return {{10, 11}, false};  // control and fit points
  if (type == "CIRCLE" || type == "ARC" || type == "LWPOLYLINE" || type == "INSERT") {
    return {{10}, true};
  }
  if (type == "TEXT" || type == "ATTRIB" || type == "ATTDEF") return {{10, 11}, true};
  if (type == "SOLID" || type == "TRACE") return {{10, 11, 12, 13}, true};
  if (type == "3DFACE") return {{10, 11, 12, 13}, false};
  // A 3D polyline's and a mesh's vertices are in world coordinates, a 2D polyline's in its plane.
  if (type == "VERTEX") return {{10}, (polylineFlags & (8 | 16 | 64)) == 0};
  return {};
}

}  // namespace

void ShiftEntities(GroupEditor& e, double dx, double dy) {
  int polylineFlags = 0;
  double polylineSide = 1;
  for (const size_t head : e.Heads()) {
    const std::string type = UpperCase(e.value(head));
    const size_t end = e.HeadEnd(head);
    const size_t xdata = e.Find(1001, head + 1, end);
    if (type == "POLYLINE") {
      const size_t flags = FindInHead(e, head, 70);
      double value = 0;
      polylineFlags =
          flags < end && ReadNumber(e.value(flags), value) ? static_cast<int>(value) : 0;
      polylineSide = SideOf(e, head);
      continue;
    }
    const PointCodes codes = CodesOf(type, polylineFlags);
    if (codes.xCodes.empty()) continue;
    double side = 1;
    if (codes.ownPlane) side = type == "VERTEX" ? polylineSide : SideOf(e, head);
    // An attribute's or a text's embedded MTEXT (after group 101) repeats the codes with other
    // meanings: its 10 is its insertion point, its 11 a direction.
    const size_t embedded = e.Find(101, head + 1, xdata);
    if (embedded < xdata) ShiftCodes(e, embedded, xdata, {10}, side * dx, dy);
    ShiftCodes(e, head + 1, embedded, codes.xCodes, side * dx, dy);
  }
}

}  // namespace twinfind::dxf
