#include "engine/twin_finder.h"

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

// The part into partTable, partBox and the work list, as the part step collects it.
TwinFailure CollectPart(const std::vector<SegmentRef>& part) {
  if (part.size() > static_cast<size_t>(kPartCapacity)) return TwinFailure::kPartOverCapacity;
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
                               bool dropOverlaps) {
  TwinResult result;
  result.anchor = anchorLine;
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
  if (!FindMatches(options)) result.failure = TwinFailure::kSearchFailed;
  result.stats = LastSearchStats();
  result.twins.reserve(static_cast<size_t>(matchTable.count()));
  for (int m = 1; m <= matchTable.count(); ++m) result.twins.push_back(matchTable[m]);
  if (result.ok() && dropOverlaps) DropOverlappingMatches(result.twins);
  result.taken.reserve(range.size());
  for (int t = 1; t <= targetTable.count(); ++t) result.taken.push_back(targetTable[t].used);
  return result;
}

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
  return SearchIndicatedPart(request.range, request.taken, request.options, request.dropOverlaps);
}

}  // namespace twinfind
