// A trial placement fitted to the whole part. A trial lays the part's anchor line on a candidate
// line; where the drawing's coordinates were rounded, the turn read off that one line is off by
// up to twice the tolerance over the line's length, and the error grows across the part, so
// that far figures miss their twins. The fit takes the part's points from the anchor outwards,
// finds each one's twin point near where the placement put it, and lays the part anew by the
// least-squares turn and move over all of them (a mirror image stays one), so that what is left
// is the rounding of each point alone.
#ifndef ENGINE_PLACEMENT_FIT_H
#define ENGINE_PLACEMENT_FIT_H

#include "engine/door_check.h"

#include <optional>
#include <vector>

#include "common/plane_map.h"
#include "engine/segment_compare.h"
#include "engine/trial_copy.h"

namespace twinfind {

class PlacementFit {
 public:
  // The part's points (line ends, centres, arc ends, points), nearest the anchor's start first,
  // and how far the placement by a line of `anchorLength` may put each of them off: the
  // tolerance at the start, growing by twice the tolerance over the anchor's length with the
  // distance (nothing turns a part placed by a move alone).
  void Prepare(const std::vector<CopySource>& sources, VexPoint anchorStart, double anchorLength,
               bool turns, double tolerance);

  // How far the placement may put a point at `distance` from the anchor's start off.
  double Slack(double distance) const;
  // How far from the anchor's start the part's farthest point lies.
  double reach() const { return reach_; }

  // The placement refitted to the window's figures; nothing when too few of the part's points
  // find a twin point, or the fit does not move the part.
  std::optional<PlaneMap> Refit(const PlaneMap& placement,
                                const std::vector<SegmentFigures>& window, size_t count);

 private:
  struct PartPoint {
    VexPoint at;      // in the part's coordinates
    double distance;  // from the anchor's start
  };
  void FileWindow(const std::vector<SegmentFigures>& window, size_t count);
  // The window point nearest `p` within `radius`, if any.
  std::optional<VexPoint> Nearest(VexPoint p, double radius) const;

  std::vector<PartPoint> points_;
  VexPoint start_{};
  double length_ = 0, tolerance_ = 0, reach_ = 0;
  bool turns_ = true;
  // The window's points, by x.
  std::vector<VexPoint> window_;
};

}  // namespace twinfind

#endif  // ENGINE_PLACEMENT_FIT_H
