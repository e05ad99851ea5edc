#include "engine/trial_pairing.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace twinfind {
namespace {

bool SameLineAttr(const LineAttr& a, const LineAttr& b) {
  return a.color == b.color && a.lineType == b.lineType && a.attribute == b.attribute;
}

// The layer and line-attribute conditions the options ask for.
bool AttributesAgree(const SearchOptions& options, const SegmentRef& a, const SegmentRef& b) {
  if (options.sameLayer && VexSgmGetLayer(a.segmentId) != VexSgmGetLayer(b.segmentId)) {
    return false;
  }
  return !options.sameLineAttr ||
         SameLineAttr(HeadLineAttr(a.segmentId), HeadLineAttr(b.segmentId));
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
    k.pW += windowTable[i].used;
  }
  return k;
}

bool KeyBefore(size_t countA, double minXA, int wA, size_t countB, double minXB, int wB) {
  if (countA != countB) return countA < countB;
  if (minXA != minXB) return minXA < minXB;
  return wA < wB;
}

}  // namespace

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
  sorted_.clear();
  compareAlways_.clear();
  for (int w = 1; w <= windowTable.count(); ++w) {
    SegmentFigures& read = window_[static_cast<size_t>(w - 1)];
    ReadSegmentFigures(windowTable[w].ref, read);
    if (!read.ok) continue;  // never coincides with anything
    if (read.hasHole || !std::isfinite(read.spread.minX)) {
      compareAlways_.push_back(w);
    } else {
      sorted_.push_back({read.figures.size(), read.spread.minX, w});
    }
  }
  std::sort(sorted_.begin(), sorted_.end(), [](const Key& a, const Key& b) {
    return KeyBefore(a.figureCount, a.minX, a.w, b.figureCount, b.minX, b.w);
  });
}

const std::vector<int>& TrialPairing::MayCoincide(const SegmentFigures& figures) {
  candidates_.clear();
  if (!figures.ok) return candidates_;
  const size_t n = figures.figures.size();
  // The spreads of coinciding segments differ by less than the tolerance; the bounds are
  // taken twice as wide so that rounding here never drops one, and the comparison decides.
  const bool anyPlace = figures.hasHole || !std::isfinite(figures.spread.minX);
  const double from = anyPlace ? -HUGE_VAL : figures.spread.minX - 2 * tolerance;
  const double to = anyPlace ? HUGE_VAL : figures.spread.minX + 2 * tolerance;
  auto it = std::lower_bound(sorted_.begin(), sorted_.end(), from, [n](const Key& k, double x) {
    return KeyBefore(k.figureCount, k.minX, k.w, n, x, INT_MIN);
  });
  for (; it != sorted_.end() && it->figureCount == n && it->minX <= to; ++it) {
    candidates_.push_back(it->w);
  }
  for (const int w : compareAlways_) {
    if (window_[static_cast<size_t>(w - 1)].figures.size() == n) candidates_.push_back(w);
  }
  std::sort(candidates_.begin(), candidates_.end());
  return candidates_;
}

void TrialPairing::Pair(const SearchOptions& options, const std::vector<SegmentFigures>& copies) {
  for (int c = 1; c <= copyTable.count(); ++c) {
    const SegmentFigures& copy = copies[static_cast<size_t>(c - 1)];
    for (const int w : MayCoincide(copy)) {
      TargetEntry& entry = windowTable[w];
      if (entry.used != 0 || !AttributesAgree(options, copyTable[c].ref, entry.ref)) continue;
      if (SegmentsCoincide(copy, window_[static_cast<size_t>(w - 1)], tolerance)) {
        copyTable[c].used = 1;
        entry.used = 1;
        break;
      }
    }
  }
}

// The unpaired window segments that do not count against a twin: those that coincide with a
// paired one (the same line drawn twice), and those that lie outside the outline of the first
// copy segment able to tell (a closed one): a neighbour's geometry inside the window, beside
// the part.
int TrialPairing::Forgiven(const std::vector<CopySource>& sources,
                           const std::vector<SegmentFigures>& copies) {
  const std::vector<FigureRecord>* outline = nullptr;
  for (size_t c = 0; c < sources.size() && !outline; ++c) {
    if (sources[c].closed) outline = &copies[c].figures;
  }
  int forgiven = 0;
  for (int w = 1; w <= windowTable.count(); ++w) {
    if (windowTable[w].used != 0) continue;
    const SegmentFigures& read = window_[static_cast<size_t>(w - 1)];
    bool duplicate = false;
    for (const int v : MayCoincide(read)) {
      if (windowTable[v].used != 0 && SegmentsCoincide(read, window_[static_cast<size_t>(v - 1)],
                                                       tolerance)) {
        duplicate = true;
        break;
      }
    }
    if (!duplicate && outline) {
      const InsideAnswer answer =
          IsInsideOutline(outline->data(), static_cast<int>(outline->size()), read);
      duplicate = answer.handled && !answer.inside;
    }
    if (duplicate) ++forgiven;
  }
  return forgiven;
}

bool TrialPairing::CopyFits(const std::vector<CopySource>& sources,
                            const std::vector<SegmentFigures>& copies) {
  const Counts k = Count();
  const int counted = k.nC - k.aC;
  // A trial decides only on a whole copy: one copy for every segment of the part.
  if (copyTable.count() != partTable.count() || counted != k.pW - k.aW) return false;
  return counted == k.nW - k.aW || counted == k.nW - k.aW - Forgiven(sources, copies);
}

}  // namespace twinfind
