// Screening trial placements in the command's own memory before the host is asked for their
// window: the drawing around the range is read once, and a trial whose copy cannot pair with
// enough of it is failed at once. A trial that passes is judged as before, so the screen
// changes no decision.
#ifndef ENGINE_TRIAL_SCREEN_H
#define ENGINE_TRIAL_SCREEN_H

#include "engine/door_check.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

#include "engine/coincidence_index.h"
#include "engine/segment_compare.h"
#include "engine/trial_copy.h"
#include "vexlib/vexlib.h"

namespace twinfind {

class TrialScreen {
 public:
  // Reads the `range` segments, then every drawing segment the host finds wholly inside the
  // reach (the range's figures grown by `grow` on every side; through application list `list`,
  // left empty), compared as the window's segments are. `windowReach` bounds how far any
  // trial's window reaches from its placement's start on each side. The screen stays off when
  // the host's search fails or finds more than `capacity` segments.
  void Prepare(const std::vector<SegmentRef>& range, double grow, double windowReach, int list,
               double tolerance, size_t capacity);
  void Clear();
  bool on() const { return on_; }

  // False only when the trial cannot be a twin and the host's list of its window could not
  // have overflowed: the window lies within the reach, at most `windowCapacity` of the
  // segments read can lie in it, and fewer than `counted` of the copy's segments coincide
  // with any segment read. Every segment inside the window is among those read, so a copy
  // segment without a partner here has none in the window either. The copy's segments are
  // placed one at a time, in `order`, until the answer is known.
  // Copy segment i is forgiven `slack[i]` beside the tolerance (a placement fitted to the whole
  // part may lay it that much elsewhere).
  bool MayFit(VexPoint start, const std::vector<CopySource>& sources,
              const std::vector<size_t>& order, const PlaneMap& first, const PlaneMap* then,
              int counted, int windowCapacity, const std::vector<double>& slack);

 private:
  // What the screen reads and how it is indexed: the drawing around one search's range, or,
  // while a caller holds the drawing read (engine/drawing_read.h), the whole drawing, read and
  // indexed once for every search of the hold.
  struct Ground {
    VexBox reach{};
    bool whole = false;  // every segment a window search can find is among `segments`
    std::vector<const SegmentFigures*> segments;
    std::deque<SegmentFigures> own;  // the segments read for this ground alone
    CoincidenceIndex index;
    // Where the segments lie, for the overflow bound: a grid over the reach whose cells list the
    // segments whose spread meets them. A segment whose place cannot be told from its figures
    // (unreadable, or of another kind than lines, arcs and circles) counts in every window.
    double cell = 0;
    size_t nx = 0, ny = 0;
    std::vector<size_t> cellFrom;  // cell k's segments are inCells[cellFrom[k]] up to [k + 1]
    std::vector<int> inCells;
    // Summed counts: areaSum[y * (nx + 1) + x] counts the entries of the cells left of column x
    // and below row y, so that a window's entries are bounded without visiting its cells.
    std::vector<size_t> areaSum;
    int placeless = 0;

    void BuildGrid();
    // The grid column (or row) of coordinate v, clamped to the grid.
    size_t Cell(double v, double low, size_t n) const;
  };
  // The hold's ground, built at its first search; nullptr when the whole drawing cannot be read.
  static std::shared_ptr<Ground> HeldGround(int list);

  // Whether more than `capacity` of the segments read may lie in the window.
  bool MayOverflow(const VexBox& window, int capacity);

  bool on_ = false;
  double windowReach_ = 0;
  SegmentFigures placed_;  // the copy segment being screened
  double tolerance_ = COINCIDE_EPS;
  std::shared_ptr<Ground> ground_;
  std::vector<unsigned> stamp_;
  unsigned query_ = 0;
};

}  // namespace twinfind

#endif  // ENGINE_TRIAL_SCREEN_H
