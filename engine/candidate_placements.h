// Where a trial copy of the part may be placed: on each figure of a range segment that can take
// the part's anchor (a line of its length, from either end; a circle or arc of its size, turned
// by the point that fixes the part's turn), as far as the layer and line-attribute conditions
// allow.
#ifndef ENGINE_CANDIDATE_PLACEMENTS_H
#define ENGINE_CANDIDATE_PLACEMENTS_H

#include "engine/door_check.h"

#include <vector>

#include "engine/shape_model.h"
#include "settings/search_options.h"
#include "vexlib/vexlib.h"

namespace twinfind {

// One trial placement of the part: its anchor's start lands on `start`, turned so that the
// anchor runs in the direction `theta`; `end` lies on that direction from `start` (the line a
// mirrored copy is reflected across).
struct Placement {
  VexPoint start{}, end{};
  double theta = 0.0;
  bool reversed = false;  // from a candidate line's end point
  bool mirrorable = true;
};

// The placements on the figures of the part indicated last (anchorLine).
class CandidatePlacements {
 public:
  CandidatePlacements(const SearchOptions& options, double tolerance)
      : options_(options), tolerance_(tolerance) {}

  // Every placement on the segment's figures (read before, as `figures`), into `out`; none
  // when the segment fails the layer or line-attribute condition.
  void Of(const SegmentRef& ref, const std::vector<FigureRecord>& figures,
          std::vector<Placement>& out) const;

 private:
  bool PassesFilters(const SegmentRef& ref) const;
  void Line(const FigureLine& line, std::vector<Placement>& out) const;
  void Round(const FigureRecord& f, std::vector<Placement>& out) const;
  // (Without turns the direction is still compared within mTolerance.)
  double LengthSlack() const { return AnchorLengthSlack(options_); }
  double RadiusSlack() const { return AnchorRadiusSlack(options_); }

  const SearchOptions options_;
  const double tolerance_;
};

}  // namespace twinfind

#endif  // ENGINE_CANDIDATE_PLACEMENTS_H
