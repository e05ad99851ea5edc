#include "engine/twin_finder.h"

#include "engine/coincidence_index.h"
#include "engine/drawing_read.h"
#include "engine/geometry.h"
#include "engine/host_lists.h"
#include "engine/match_overlaps.h"
#include "engine/part_checks.h"

namespace twinfind {
namespace {

VexIdRecord RecordOf(const SegmentRef& ref) {
  VexIdRecord record{};
  record.segmentId = ref.segmentId;
  record.auxId = ref.auxId;
  return record;
}

// The part's segments but those that coincide with an earlier one of them: where parts are drawn
// whole side by side, a window over one takes its neighbour's edge lying on its own too, and the
// same line drawn twice is one line of the part.
std::vector<SegmentRef> WithoutDoubles(const std::vector<SegmentRef>& part) {
  std::vector<SegmentFigures> read(part.size());
  for (size_t i = 0; i < part.size(); ++i) ReadSegmentFigures(part[i], read[i]);
  std::vector<const SegmentFigures*> all;
  for (const SegmentFigures& r : read) all.push_back(&r);
  CoincidenceIndex index;
  index.Build(all);
  std::vector<SegmentRef> kept;
  std::vector<char> dropped(part.size(), 0);
  for (size_t i = 0; i < part.size(); ++i) {
    for (const int entry : index.MayCoincide(read[i], COINCIDE_EPS)) {
      const size_t j = static_cast<size_t>(entry - 1);
      if (j >= i) break;  // entries come in their order
      if (dropped[j] == 0 && SegmentsCoincide(read[i], read[j], COINCIDE_EPS)) {
        dropped[i] = 1;
        break;
      }
    }
    if (dropped[i] == 0) kept.push_back(part[i]);
  }
  return kept;
}

// The part into partTable, partBox and the work list, as the part step collects it.
TwinFailure CollectPart(const std::vector<SegmentRef>& indicated) {
  if (indicated.size() > static_cast<size_t>(kPartCapacity)) {
    return TwinFailure::kPartOverCapacity;
  }
  const std::vector<SegmentRef> part = WithoutDoubles(indicated);
  partBox = kResetBox;
  partTable.Clear();
  ResetList(kWorkList);
  const int workList = VexIddOpenApIdData(kWorkList, 1);
  VexIddInitApIdData(workList);
  TwinFailure failure = TwinFailure::kNone;
  for (const SegmentRef& ref : part) {
    const VexIdRecord record = RecordOf(ref);
    partTable.Append(MakeTargetEntry(record));
    ExtendBoxBySegment(ref, partBox);
    if (VexIddSetApIdData(workList, record.segmentId, record.auxId) == -1) {
      failure = TwinFailure::kPartListRefused;
      break;
    }
  }
  CloseList(workList);  // on every path
  return failure;
}

}  // namespace

TwinFailure IndicatePart(const std::vector<SegmentRef>& part, AnchorLine* anchor) {
  if (const TwinFailure failure = CollectPart(part); failure != TwinFailure::kNone) {
    return failure;
  }
  if (partTable.count() == 0) return TwinFailure::kPartEmpty;
  if (!CheckPartInRange()) return TwinFailure::kPartNotInRange;
  if (!FindAnchorLine()) return TwinFailure::kNoAnchorLine;
  if (anchor != nullptr) *anchor = anchorLine;
  return TwinFailure::kNone;
}

TwinResult SearchIndicatedPart(const std::vector<SegmentRef>& range,
                               const std::vector<uint8_t>& taken, const SearchOptions& options,
                               bool dropOverlaps, const std::function<bool()>& goOn) {
  TwinResult result;
  result.anchor = anchorLine;
  for (int p = 1; p <= partTable.count(); ++p) result.part.push_back(partTable[p].ref);
  if (range.size() > static_cast<size_t>(options.rangeLimit)) {
    result.failure = TwinFailure::kRangeOverCapacity;
    return result;
  }
  targetTable.Clear();
  for (size_t i = 0; i < range.size(); ++i) {
    TargetEntry entry = MakeTargetEntry(RecordOf(range[i]));
    entry.used = i < taken.size() && taken[i] != 0 ? 1 : 0;
    targetTable.Append(entry);
  }
  matchTable.Clear();
  for (int i = 1; i <= kMatchCapacity; ++i) matchTable.slot(i).mirrored = 0;
  if (!FindMatches(options, goOn)) {
    result.failure = LastSearchStats().stopped ? TwinFailure::kStopped : TwinFailure::kSearchFailed;
  }
  result.stats = LastSearchStats();
  result.twins.reserve(static_cast<size_t>(matchTable.count()));
  for (int m = 1; m <= matchTable.count(); ++m) result.twins.push_back(matchTable[m]);
  if (result.ok() && dropOverlaps) DropOverlappingMatches(result.twins, result.stats.cover);
  result.taken.reserve(range.size());
  for (int t = 1; t <= targetTable.count(); ++t) result.taken.push_back(targetTable[t].used);
  return result;
}

DrawingReadHold::DrawingReadHold() { HoldDrawingRead(); }

DrawingReadHold::~DrawingReadHold() { ReleaseDrawingRead(); }

TwinResult FindTwins(const TwinRequest& request) {
  if (request.range.size() > static_cast<size_t>(request.options.rangeLimit)) {
    TwinResult result;
    result.failure = TwinFailure::kRangeOverCapacity;
    result.taken = request.taken;
    return result;
  }
  AnchorLine anchor;
  if (const TwinFailure failure = IndicatePart(request.part, &anchor);
      failure != TwinFailure::kNone) {
    TwinResult result;
    result.failure = failure;
    result.taken = request.taken;
    return result;
  }
  return SearchIndicatedPart(request.range, request.taken, request.options, request.dropOverlaps,
                             request.goOn);
}

}  // namespace twinfind
