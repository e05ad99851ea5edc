// Drawings with known twins, for tests and benchmarks: a seeded random part, placed any number
// of times with known moves, turns, mirrorings, layers and colours, among clutter that must
// not be taken for a twin.
#ifndef TESTKIT_TWIN_DRAWING_H
#define TESTKIT_TWIN_DRAWING_H

#include <cstdint>
#include <vector>

#include "common/plane_map.h"
#include "vexlib/vexlib.h"

namespace drawgen {

// How one copy of the part is placed: mirrored across its anchor line first (when asked),
// then turned about the anchor's start and moved there.
struct Placement {
  double x = 0, y = 0;  // where the anchor line starts
  double degrees = 0;
  bool mirrored = false;
  int layer = 0;
  int color = 0;
};

// The map that takes the part's own coordinates to a placement's.
twinfind::PlaneMap MapOf(const Placement& placement);

// What is drawn at a placement besides (or instead of) a true twin.
enum class Variant {
  kTwin,          // the part itself
  kNearTwin,      // one line of the open polyline 0.002 longer
  kExtraHole,     // a twin with one more hole inside its outline
  kCrossedTwin,   // a twin with a long unrelated line cutting across its window
  kReversedTwin,  // a twin with every segment drawn the other way
};

struct Placed {
  Placement placement;
  Variant variant;
  std::vector<int> segments;  // the segments of the placed copy (without crossing clutter)
};

class TwinDrawing {
 public:
  // A random part of `segmentCount` segments (at least 5): a closed outline of lines and
  // arcs whose first line is the anchor, one to three holes, a slot, an open polyline, and
  // further small holes up to the count. Its anchor line is the only line of its length.
  TwinDrawing(uint32_t seed, int segmentCount = 6);

  // Draws the part (or a variant of it) into the host's drawing.
  Placed Place(const Placement& placement, Variant variant = Variant::kTwin);
  // Unrelated geometry: long lines and big circles that never match, spread over an area.
  void AddClutter(int count, double minX, double minY, double maxX, double maxY);

  // The size of the part, for spacing placements apart.
  double width() const { return width_; }
  double height() const { return height_; }
  // A grid cell wide enough that twins turned any way never meet each other's windows.
  double spacing() const { return 3.0 * (width_ + height_); }
  int segmentCount() const { return static_cast<int>(part_.size()); }
  const std::vector<Placed>& placed() const { return placed_; }

 private:
  std::vector<std::vector<FigureRecord>> part_;  // segments in the part's own coordinates
  int polylineIndex_ = 0;
  double width_ = 0, height_ = 0, cornerRadius_ = 0;
  std::vector<Placed> placed_;
  uint32_t clutterSeed_;
};

}  // namespace drawgen

#endif  // TESTKIT_TWIN_DRAWING_H
