// The ground a part covers, in its own coordinates, as the rule on overlapping twins weighs it:
// its material, inside its closed outlines (its slots, bays and holes left out) or, with none,
// inside its hull; and points spread evenly over it. Two twins that share a segment lie on each
// other when many of the one's points fall on the other's ground; interlocked parts, or parts side
// by side on a common edge, share none.
#ifndef ENGINE_PART_COVER_H
#define ENGINE_PART_COVER_H

#include "engine/door_check.h"

#include <optional>
#include <vector>

#include "common/plane_map.h"
#include "vexlib/vexlib.h"

namespace twinfind {

class PartCover {
 public:
  PartCover() = default;
  // `hull` counter-clockwise; `outlines` the lines, arcs and circles of closed outlines, or
  // nothing.
  PartCover(std::vector<VexPoint> hull, std::vector<FigureRecord> outlines);

  // Whether the point lies on the ground: inside the hull and an odd number of the outlines.
  bool Holds(VexPoint p) const;
  // The share of this part's points that the part moved by `a` lays on the part moved by `b`.
  double SharedShare(const PlaneMap& a, const PlaneMap& b) const;
  // No ground to weigh by (a part along one line).
  bool empty() const { return Samples().empty(); }

 private:
  // Points spread evenly over the ground, found when first asked for.
  const std::vector<VexPoint>& Samples() const;

  std::vector<VexPoint> hull_;
  std::vector<FigureRecord> outlines_;
  mutable std::optional<std::vector<VexPoint>> samples_;
};

}  // namespace twinfind

#endif  // ENGINE_PART_COVER_H
