// The records of the search: the segments of the range and of the part, the part's box and
// anchor line, the found parts; and the geometry shared by the whole engine.
#ifndef ENGINE_SHAPE_MODEL_H
#define ENGINE_SHAPE_MODEL_H

#include "engine/door_check.h"

#include <cstdint>
#include <vector>

#include "common/plane_map.h"
#include "engine/table.h"
#include "settings/settings.h"
#include "vexlib/vexlib.h"

namespace twinfind {

inline bool operator==(const SegmentRef& a, const SegmentRef& b) {
  return a.auxId == b.auxId && a.segmentId == b.segmentId;
}

// A SegmentRef from a host list record {segmentId, auxId}.
inline SegmentRef RefOfRecord(const VexIdRecord& record) {
  return {record.auxId, record.segmentId};
}

// One segment in a table.
struct TargetEntry {
  SegmentRef ref{};
  uint8_t used = 0;      // 1: already part of a found match (in the work tables: paired)
  uint8_t hasAttr5 = 0;  // 1: the segment carries attribute 5 and is carried along uncounted
};

// The search range holds what the setting mRangeLimit allows (10000 unless it is set), up to
// this many segments.
inline constexpr int kTargetCapacity = kMostRangeLimit;
inline constexpr int kPartCapacity = 1000;
inline constexpr int kWorkCapacity = 1000;
inline constexpr int kMatchCapacity = 499;
inline constexpr int kMatchRefCapacity = 49;

using TargetTable = Table<TargetEntry, kTargetCapacity>;
using PartTable = Table<TargetEntry, kPartCapacity>;
using WorkTable = Table<TargetEntry, kWorkCapacity>;

// How the turn of a twin is found when the part is anchored on a circle or an arc.
enum class AnchorTurn {
  kNone,     // it is not: a move alone places the part (one circle, concentric circles)
  kOwnEnd,   // from the anchor arc's own end
  kFeature,  // from another figure of the part: a circle's centre or an arc's end
};

// The part's reference, chosen by FindAnchorLine: its first line; or, for a part without a
// line, its largest circle or arc. For those `start` is the centre, and `angle` and `length`
// lead from it to the point that fixes the twin's turn (the anchor arc's start, or the
// feature's point), if there is one.
struct AnchorLine {
  SegmentRef ref{};
  int32_t figureIndex = -1;
  double angle = 0.0;
  double length = 0.0;
  VexPoint start{};
  LineAttr lineAttr{};
  int32_t layer = 0;
  int32_t kind = VEX_FIG_LINE;  // VEX_FIG_LINE, VEX_FIG_CIRCLE or VEX_FIG_ARC
  double radius = 0.0;          // of a circle or arc anchor
  double arcLength = 0.0;       // of an arc anchor
  AnchorTurn turn = AnchorTurn::kNone;
  int32_t featureKind = 0;  // VEX_FIG_CIRCLE or VEX_FIG_ARC, with kFeature
  double featureRadius = 0.0, featureArcLength = 0.0;
};

// An arc's length along its sweep, which runs from start to end in its direction.
double ArcLength(const FigureArc& arc);

// One found part: its first 49 segments in `refs`, the rest of them (up to the 1000 a working
// table holds) in `moreRefs`. Callers walk every segment with segmentCount() and segment(i).
// The search tells how the twin lies as it found it: the motion that laid the part's copy on it
// and, for each of its segments, the part segment whose copy it paired with; nobody lays the
// part on a twin again.
struct MatchRecord {
  Table<SegmentRef, kMatchRefCapacity> refs;  // the found drawing segments, in window order
  VexBox box{};
  uint8_t mirrored = 0;  // 1: found by the mirror trial
  // 1: the indicated part at its own place, found though its window holds what would keep any
  // other placement from being a twin.
  uint8_t ownPlaceOnly = 0;
  std::vector<SegmentRef> moreRefs;  // the segments after the 49th, in window order
  // Part coordinates to the twin's: a turn and a move, after a mirroring when `mirrored`. Of the
  // turns that lay a part that looks the same turned on the same segments, the smallest.
  PlaneMap motion;
  // Per segment 1..segmentCount(), at i - 1: the index (from 0, in the part's order) of the part
  // segment it paired with.
  std::vector<int32_t> partOf;

  int32_t refCount() const { return refs.count(); }
  // Every segment of the part: refs, then moreRefs.
  int32_t segmentCount() const { return refs.count() + static_cast<int32_t>(moreRefs.size()); }
  // Segment 1..segmentCount().
  const SegmentRef& segment(int32_t i) const {
    return i <= refs.count() ? refs[i] : moreRefs.at(static_cast<size_t>(i - refs.count() - 1));
  }
  // Appends a segment to refs while it has room, else to moreRefs.
  void AddSegment(const SegmentRef& ref) {
    if (!refs.Append(ref)) moreRefs.push_back(ref);
  }
};

using MatchTable = Table<MatchRecord, kMatchCapacity>;

// The module-level records; each command run overwrites them.
extern TargetTable targetTable;
extern PartTable partTable;
extern WorkTable windowTable;
extern WorkTable copyTable;
extern VexBox partBox;
extern AnchorLine anchorLine;
extern MatchTable matchTable;

// A new TargetEntry for a segment named by a host list record.
TargetEntry MakeTargetEntry(const VexIdRecord& record);

// Element filters: CompareElementType accepts element types 0 to 8 (compared unsigned, so
// negative codes are refused); AcceptAll accepts everything.
int CompareElementType(int elementId);
int AcceptAll(int elementId);

}  // namespace twinfind

#endif  // ENGINE_SHAPE_MODEL_H
