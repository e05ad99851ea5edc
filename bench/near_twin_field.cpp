#include "bench/near_twin_field.h"

#include <cmath>
#include <stdexcept>

#include "host/geometry.h"
#include "host/host.h"
#include "testkit/twin_drawing.h"

namespace drawgen {
namespace {

constexpr int kPartSegments = 5;

// The first seed whose random part has exactly five segments (an outline, one or two holes,
// the slot, the open polyline and small holes up to five).
uint32_t FiveSegmentSeed() {
  for (uint32_t seed = 1;; ++seed) {
    if (TwinDrawing(seed, kPartSegments).segmentCount() == kPartSegments) return seed;
  }
}

}  // namespace

VexBox BoxOfSegments(const std::vector<int>& segments, double margin) {
  VexBox box = vexhost::EmptyBox();
  for (const int id : segments) {
    if (const auto bounds = vexhost::TheHost().drawing.SegmentBounds(id)) {
      vexhost::Include(box, *bounds);
    }
  }
  return {box.minX - margin, box.minY - margin, box.maxX + margin, box.maxY + margin};
}

NearTwinField BuildNearTwinField(int segments, int twins, bool oneColumn) {
  const int parts = segments / kPartSegments;
  if (segments % kPartSegments != 0 || twins < 1 || parts < twins) {
    throw std::invalid_argument("a near-twin field needs a multiple of 5 segments, 5 per twin");
  }
  TwinDrawing drawing(FiveSegmentSeed(), kPartSegments);
  const int stride = parts / twins;
  const int columns =
      oneColumn ? 1 : static_cast<int>(std::ceil(std::sqrt(static_cast<double>(parts))));
  const double cell = drawing.spacing();
  NearTwinField field;
  for (int i = 0; i < parts; ++i) {
    const bool twin = i % stride == 0 && i / stride < twins;
    // Turned by angles that do not repeat soon; the part itself (i = 0) lies as drawn.
    const double degrees = oneColumn ? 0 : std::fmod(37.3 * i, 360.0);
    const bool mirrored = !oneColumn && (twin ? (i / stride) % 2 == 1 : i % 2 == 1);
    const Placed placed =
        drawing.Place({cell * (i % columns), cell * (i / columns), degrees, mirrored},
                      twin ? Variant::kTwin : Variant::kNearTwin);
    if (i == 0) field.part = placed.segments;
    if (twin) {
      ++field.twins;
      if (mirrored) ++field.mirroredTwins;
    }
  }
  const std::vector<int> all = vexhost::TheHost().drawing.SegmentIds();
  field.segments = static_cast<int>(all.size());
  // Neighbours lie a whole grid cell apart: a small margin keeps the part's window to itself.
  field.partWindow = BoxOfSegments(field.part, 0.01 * drawing.width());
  field.rangeWindow = BoxOfSegments(all, 1.0);
  return field;
}

}  // namespace drawgen
