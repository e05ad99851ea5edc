// The region a part covers, the same however the part lies and however it is drawn: the convex
// hull of its figures, and its outer outline (the closed chain its lines and arcs form that
// reaches farthest, whichever segments hold them). Something the search finds beside a placed
// copy counts against the twin only when it lies wholly inside the hull carried to the
// placement and not outside the outline: what the axis-parallel window around a turned copy
// takes in besides (the neighbours in the corners a turn adds) never does, nor a neighbour
// lying in a bay of the outline, whether the outline is one polyline or loose lines.
#ifndef ENGINE_PART_REGION_H
#define ENGINE_PART_REGION_H

#include "engine/door_check.h"

#include <vector>

#include "common/plane_map.h"
#include "engine/part_cover.h"
#include "engine/segment_compare.h"
#include "engine/trial_copy.h"

namespace twinfind {

class PartRegion {
 public:
  // The hull of the part's figures (their curves taken in whole), grown by `tolerance`, and its
  // outer outline, figure ends within `tolerance` taken as joined.
  void Build(const std::vector<CopySource>& sources, double tolerance);

  // Whether a segment found beside the copy placed by `motion` (the map from the part's
  // coordinates to the placement's) is no part of the twin: it does not lie wholly inside the
  // hull, or it lies outside the outer outline.
  bool Forgives(const SegmentFigures& segment, const PlaneMap& motion) const;

  // The centre of the hull (its area's), and its distance to the hull's nearest side.
  VexPoint centre() const { return centre_; }
  double inradius() const { return inradius_; }
  const std::vector<VexPoint>& hull() const { return hull_; }
  // The ground the part covers, for the rule on overlapping twins.
  PartCover Cover() const { return PartCover(hull_, ground_); }

 private:
  // Whether every point of the figures (in the part's coordinates) lies inside the hull. A part
  // along one line has the thin rectangle around it as its hull; a part of no figure holds
  // everything.
  bool HullHolds(const std::vector<FigureRecord>& figures) const;
  void FindOuterOutline(const std::vector<CopySource>& sources, double tolerance);
  void MeasureHull();

  std::vector<VexPoint> hull_;  // counter-clockwise, in the part's coordinates
  VexPoint centre_{};
  double inradius_ = 0;
  std::vector<FigureRecord> outline_;  // in the part's coordinates; empty: none
  // Every closed outline of the part and its circles: inside an odd number of them is the
  // part's material (a plate, not its holes; both of two plates).
  std::vector<FigureRecord> ground_;
  mutable SegmentFigures placed_;  // a segment found, in the part's coordinates
};

// The points that bound a figure: a line's ends, the corners of polygons drawn just outside its
// circle or arc (few, or many close to it), a point, the points of the other kinds.
enum class FigureSide { kOutside, kCloseOutside };
void BoundingPoints(const FigureRecord& figure, std::vector<VexPoint>& out,
                    FigureSide side = FigureSide::kOutside);

}  // namespace twinfind

#endif  // ENGINE_PART_REGION_H
