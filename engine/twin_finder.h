// The one door into the search: a range and a part in, the part's twins out. It runs the whole
// chain the command runs when a part is indicated (the part's table, box and work list, the
// two checks, the search, and on request the general method's thinning of overlapping twins),
// so that the command, the survey and the benchmarks search alike. The engine's working
// tables stay its own: a caller only fills a request and reads a result.
#ifndef ENGINE_TWIN_FINDER_H
#define ENGINE_TWIN_FINDER_H

#include <cstdint>
#include <functional>
#include <vector>

#include "settings/search_options.h"

// The door's own engine headers: the records of a search and its twins (shape_model.h), its
// counts (find_matches.h), the general method's thinning of overlapping twins
// (match_overlaps.h).
#define TWINFIND_THROUGH_ENGINE_DOOR
#include "engine/find_matches.h"
#include "engine/match_overlaps.h"
#include "engine/shape_model.h"
#undef TWINFIND_THROUGH_ENGINE_DOOR

namespace twinfind {

// Which check stopped a search.
enum class TwinFailure {
  kNone,
  kRangeOverCapacity,  // the range holds more segments than the range table (10000)
  kPartEmpty,          // no part segment
  kPartOverCapacity,   // the part holds more segments than the part table (1000)
  kPartListRefused,    // the host's work list refused a part segment
  kPartNotInRange,     // a part segment lies outside the part's enlarged box
  kNoAnchorLine,       // the part has no line to lay a trial copy on
  kSearchFailed,       // a working table overflowed or a copy failed (the user was told)
  kStopped,            // the caller's goOn stopped it
};

struct TwinRequest {
  std::vector<SegmentRef> range;  // the search range, in its order
  // Per range entry, 1 when the twins of an earlier search in the same range took it: it is
  // then no candidate. Empty: none taken.
  std::vector<uint8_t> taken;
  std::vector<SegmentRef> part;  // the indicated part, in its order
  SearchOptions options;
  bool dropOverlaps = false;  // drop every twin sharing a segment with a later one
  // Asked now and then while the search runs; false stops it (engine/find_matches.h).
  std::function<bool()> goOn;
};

struct TwinResult {
  TwinFailure failure = TwinFailure::kNone;
  // The part searched with: the indicated one but its segments that coincide with an earlier one
  // of them (the same line drawn twice). MatchRecord::partOf indexes it.
  std::vector<SegmentRef> part;
  std::vector<MatchRecord> twins;  // in the order the search found them
  std::vector<uint8_t> taken;      // per range entry: taken before, or by a twin of this search
  AnchorLine anchor;               // the part's anchor line (once the part passed its checks)
  SearchStats stats;
  bool ok() const { return failure == TwinFailure::kNone; }
};

// Indicates the part and searches the range for its twins. A failure leaves no trial copy in
// the drawing; `twins` then holds what was found before the search stopped.
TwinResult FindTwins(const TwinRequest& request);

// FindTwins in two halves, for a caller that searches one part in several ranges: the part is
// indicated once (its table, box, work list and anchor line), then searched for in each range.
// A search runs on the part indicated last.
TwinFailure IndicatePart(const std::vector<SegmentRef>& part, AnchorLine* anchor = nullptr);
TwinResult SearchIndicatedPart(const std::vector<SegmentRef>& range,
                               const std::vector<uint8_t>& taken, const SearchOptions& options,
                               bool dropOverlaps, const std::function<bool()>& goOn = {});

// Held by a caller that searches many times and changes nothing in the drawing meanwhile (the
// survey): its searches read each segment's figures from the host once, and screen their trials
// against the whole drawing read and indexed once, not against the drawing around each range
// read again. Answers are the same with it and without it.
class DrawingReadHold {
 public:
  DrawingReadHold();
  ~DrawingReadHold();
  DrawingReadHold(const DrawingReadHold&) = delete;
  DrawingReadHold& operator=(const DrawingReadHold&) = delete;
};

}  // namespace twinfind

#endif  // ENGINE_TWIN_FINDER_H
