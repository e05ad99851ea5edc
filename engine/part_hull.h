// The region a part covers, the same however the part lies: the convex hull of its figures.
// Something the search finds beside a placed copy counts against the twin only when it lies
// wholly inside this region carried to the placement; what the axis-parallel window around a
// turned copy takes in besides (the neighbours in the corners a turn adds) never does, so that
// a part and its turned copy are judged alike.
#ifndef ENGINE_PART_HULL_H
#define ENGINE_PART_HULL_H

#include "engine/door_check.h"

#include <vector>

#include "common/plane_map.h"
#include "engine/segment_compare.h"
#include "engine/trial_copy.h"

namespace twinfind {

class PartHull {
 public:
  // The hull of the part's figures (their curves taken in whole), grown by `tolerance`.
  void Build(const std::vector<CopySource>& sources, double tolerance);

  // Whether every point of the segment's figures lies inside the hull carried by `motion` (the
  // map from the part's coordinates to the placement's). A part along one line has the thin
  // rectangle around it as its hull; a part of no figure holds everything.
  bool Holds(const SegmentFigures& segment, const PlaneMap& motion) const;

 private:
  std::vector<VexPoint> hull_;  // counter-clockwise, in the part's coordinates
};

// The points that bound a figure: a line's ends, the corners of polygons drawn just outside its
// circle or arc, a point, the points of the other kinds.
void BoundingPoints(const FigureRecord& figure, std::vector<VexPoint>& out);

}  // namespace twinfind

#endif  // ENGINE_PART_HULL_H
