#include "engine/trial_pairing.h"

#include <algorithm>

namespace twinfind {
namespace {

bool SameLineAttr(const LineAttr& a, const LineAttr& b) {
  return a.color == b.color && a.lineType == b.lineType && a.attribute == b.attribute;
}

// The counts that decide a trial, taken after pairing:
//   nC  segments of the trial copy (copyTable): one per segment of the part;
//   aC  of those, the ones with attribute 5, which are carried along but never counted;
//   nW  drawing segments found in the window (windowTable);
//   aW  of those, the ones with attribute 5;
//   pW  window segments paired with a copy segment (same figures in the same place).
// nC - aC is the number of part segments that must be found. The copy is a twin when
//   nC - aC == pW - aW   every counted copy segment found its own drawing segment, and
//   nC - aC == nW - aW   the window holds nothing else (after forgiving segments lying
//                        outside the copy's outline and segments coinciding with a paired one).
// aW counts every attribute-5 window segment, paired or not, so an unpaired one in the window
// makes the first equality fail: such a window is never a twin.
struct Counts {
  int nC = 0, aC = 0, nW = 0, aW = 0, pW = 0;
};

Counts Count() {
  Counts k;
  k.nC = copyTable.count();
  for (int i = 1; i <= copyTable.count(); ++i) k.aC += copyTable[i].hasAttr5;
  k.nW = windowTable.count();
  for (int i = 1; i <= windowTable.count(); ++i) {
    k.aW += windowTable[i].hasAttr5;
    k.pW += windowTable[i].used != 0 ? 1 : 0;
  }
  return k;
}

}  // namespace

bool AttributesAgree(const SearchOptions& options, const SegmentRef& a, const SegmentRef& b) {
  if (options.sameLayer && VexSgmGetLayer(a.segmentId) != VexSgmGetLayer(b.segmentId)) {
    return false;
  }
  return !options.sameLineAttr ||
         SameLineAttr(HeadLineAttr(a.segmentId), HeadLineAttr(b.segmentId));
}

LineAttr HeadLineAttr(int segmentId) {
  LineAttr attr{};
  VexFigGetLineType2(VexSgmGetHeadElementId(segmentId), &attr);
  return attr;
}

bool SameHeadLineAttr(int segmentId, const LineAttr& attr) {
  return SameLineAttr(HeadLineAttr(segmentId), attr);
}

void TrialPairing::ReadWindow() {
  const size_t n = static_cast<size_t>(windowTable.count());
  if (window_.size() < n) window_.resize(n);
  indexed_.clear();
  partner_.assign(n + 1, 0);
  for (int w = 1; w <= windowTable.count(); ++w) {
    ReadSegmentFigures(windowTable[w].ref, window_[static_cast<size_t>(w - 1)]);
    indexed_.push_back(&window_[static_cast<size_t>(w - 1)]);
  }
  index_.Build(indexed_);
}

void TrialPairing::Pair(const SearchOptions& options, const std::vector<SegmentFigures>& copies) {
  for (int c = 1; c <= copyTable.count(); ++c) {
    const SegmentFigures& copy = copies[static_cast<size_t>(c - 1)];
    int chosen = 0;
    for (const int w : index_.MayCoincide(copy, tolerance)) {
      TargetEntry& entry = windowTable[w];
      if (entry.used != 0 || !AttributesAgree(options, copyTable[c].ref, entry.ref)) continue;
      if (!SegmentsCoincide(copy, window_[static_cast<size_t>(w - 1)], tolerance)) continue;
      if (chosen == 0) chosen = w;
      if (entry.ref == copyTable[c].ref) {
        chosen = w;  // the part's own segment, at the part's own place
        break;
      }
    }
    if (chosen != 0) {
      copyTable[c].used = 1;
      windowTable[chosen].used = 1;
      partner_[static_cast<size_t>(chosen)] = c;
    }
  }
}

void TrialPairing::TakeDoubles() {
  for (int w = 1; w <= windowTable.count(); ++w) {
    if (windowTable[w].used != 0) continue;
    const SegmentFigures& read = window_[static_cast<size_t>(w - 1)];
    for (const int v : index_.MayCoincide(read, tolerance)) {
      if (windowTable[v].used == 1 &&
          SegmentsCoincide(read, window_[static_cast<size_t>(v - 1)], tolerance)) {
        windowTable[w].used = 2;
        partner_[static_cast<size_t>(w)] = partner_[static_cast<size_t>(v)];
        break;
      }
    }
  }
}

// The unpaired window segments that do not count against a twin: those that coincide with a
// paired one (the same line drawn twice), those the part's region forgives (part_region.h): a
// neighbour's geometry inside the window, beside the part; and, for a part drawn on shown
// layers, those on layers that are off, which nobody sees.
int TrialPairing::Forgiven(const PartRegion& region, const PlaneMap& motion) {
  int forgiven = 0;
  for (int w = 1; w <= windowTable.count(); ++w) {
    if (windowTable[w].used != 0) continue;
    const SegmentFigures& read = window_[static_cast<size_t>(w - 1)];
    bool duplicate = false;
    for (const int v : index_.MayCoincide(read, tolerance)) {
      if (windowTable[v].used != 0 &&
          SegmentsCoincide(read, window_[static_cast<size_t>(v - 1)], tolerance)) {
        duplicate = true;
        break;
      }
    }
    const bool unseen =
        forgiveHidden && VexLyrGetVisibility(VexSgmGetLayer(read.ref.segmentId)) == 0;
    if (duplicate || unseen || region.Forgives(read, motion)) ++forgiven;
  }
  return forgiven;
}

void TrialPairing::Unpair() {
  for (int c = 1; c <= copyTable.count(); ++c) copyTable[c].used = 0;
  for (int w = 1; w <= windowTable.count(); ++w) windowTable[w].used = 0;
  std::fill(partner_.begin(), partner_.end(), 0);
}

bool TrialPairing::CopyPaired() const {
  const Counts k = Count();
  // A trial decides only on a whole copy: one copy for every segment of the part.
  return copyTable.count() == partTable.count() && k.nC - k.aC == k.pW - k.aW;
}

bool TrialPairing::CopyFits(const PartRegion& region, const PlaneMap& motion) {
  if (!CopyPaired()) return false;
  const Counts k = Count();
  const int counted = k.nC - k.aC;
  return counted == k.nW - k.aW || counted == k.nW - k.aW - Forgiven(region, motion);
}

}  // namespace twinfind
