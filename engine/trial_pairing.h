// Judging one trial placement: the placed copy's segments are paired with the drawing segments
// in its window, and the counts decide whether the window holds a twin.
#ifndef ENGINE_TRIAL_PAIRING_H
#define ENGINE_TRIAL_PAIRING_H

#include "engine/door_check.h"

#include <vector>

#include "engine/coincidence_index.h"
#include "engine/part_region.h"
#include "engine/shape_model.h"
#include "engine/trial_copy.h"
#include "settings/search_options.h"

namespace twinfind {

// The line attributes of a segment's first element, which the line-attribute condition
// compares; and whether a segment's are `attr`.
LineAttr HeadLineAttr(int segmentId);
bool SameHeadLineAttr(int segmentId, const LineAttr& attr);

// The layer and line-attribute conditions the options ask for, between two segments.
bool AttributesAgree(const SearchOptions& options, const SegmentRef& a, const SegmentRef& b);

// Works on copyTable (one entry per copy segment, in the part's order) and windowTable (the
// window's segments as the host listed them), marking the paired entries used. The storage is
// kept from one trial to the next, so that a search allocates only while its windows grow.
class TrialPairing {
 public:
  // Reads the figures of every window segment and sorts them for pairing. Call after filling
  // windowTable.
  void ReadWindow();

  // Pairs each copy segment with the first unpaired window segment (in the window's order)
  // that passes the attribute conditions and coincides with it: its own segment when the copy
  // lies on the part itself. Only window segments of the copy segment's figure count whose
  // figures start within the tolerance of its own (or that carry a hole record, compared
  // another way) are looked at: no other can coincide.
  void Pair(const SearchOptions& options, const std::vector<SegmentFigures>& copies);
  // Once the copy fits: every unpaired window segment that coincides with a paired one (the
  // same line drawn twice, as where parts drawn whole lie side by side) joins the twin, paired
  // with the same copy segment (marked used 2), so that a twin's segments do not hang on which
  // of the two the pairing took.
  void TakeDoubles();

  // Whether the paired copy, placed by `motion`, is a twin: every counted copy segment found its
  // own drawing segment, and the window holds nothing else but what is forgiven (a duplicate of
  // a paired segment, or what the part's region forgives).
  bool CopyFits(const PartRegion& region, const PlaneMap& motion);
  // Whether every counted copy segment found its own drawing segment (the window may hold more).
  bool CopyPaired() const;
  // Takes every pairing back, for pairing a copy placed anew with the same window.
  void Unpair();
  // The window's segments as read, window()[w - 1] for windowTable entry w.
  const std::vector<SegmentFigures>& window() const { return window_; }
  // The copy segment (copyTable entry) that window entry w paired with; 0: none.
  int PartnerOf(int w) const { return partner_[static_cast<size_t>(w)]; }

  double tolerance = COINCIDE_EPS;
  // Window segments on layers that are off do not count against a twin (the part lies on
  // shown layers).
  bool forgiveHidden = false;

 private:
  int Forgiven(const PartRegion& region, const PlaneMap& motion);

  std::vector<SegmentFigures> window_;  // window_[w - 1] for windowTable entry w
  std::vector<const SegmentFigures*> indexed_;
  std::vector<int> partner_;  // per windowTable entry (from 1), the copy it paired with
  CoincidenceIndex index_;    // over window_, entry w for windowTable entry w
};

}  // namespace twinfind

#endif  // ENGINE_TRIAL_PAIRING_H
