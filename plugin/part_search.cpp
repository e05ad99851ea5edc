#include "plugin/part_search.h"

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "balloon/found_parts.h"
#include "engine/host_lists.h"
#include "plugin/range_input.h"
#include "settings/search_options.h"
#include "settings/settings.h"

namespace twinfind {

const PartStepTexts kGeneralPartTexts{texts::kPartOverflowS, texts::kApiDataError,
                                      texts::kSelectShape,   texts::kOutlineError,
                                      texts::kNeedLine,      texts::kSearchError};
const PartStepTexts kBalloonPartTexts{texts::kPartOverflowS02, texts::kApiDataErrorS02,
                                      texts::kSelectShapeS02,  texts::kOutlineErrorS02,
                                      texts::kNeedLineS02,     texts::kSearchErrorS02};

namespace {

// Reads the selection, up to one segment more than the part table holds; closed and forgotten
// on every path.
std::vector<SegmentRef> ReadSelection() {
  std::vector<SegmentRef> part;
  const int selection = VexIddOpenSelIdData(1);
  VexIdRecord record{};
  for (int r = VexIddGetHeadSelIdData(selection, &record);
       r != -1 && part.size() <= static_cast<size_t>(kPartCapacity);
       r = VexIddGetNextSelIdData(selection, &record)) {
    part.push_back(RefOfRecord(record));
  }
  CloseSelection(selection);
  VexIddClearSysIdData();
  return part;
}

}  // namespace

bool CollectPartAndSearch(const PartStepTexts& t, bool dropOverlaps) {
  TwinRequest request;
  request.part = ReadSelection();
  request.range = searchRange.segments;
  request.taken = searchRange.taken;
  request.options = SearchOptionsOf(Settings());
  request.dropOverlaps = dropOverlaps;
  TwinResult result = FindTwins(request);
  foundParts.part = result.part.empty() ? std::move(request.part) : std::move(result.part);
  foundParts.twins = std::move(result.twins);
  foundParts.copies.clear();
  ++foundParts.searches;
  searchRange.taken = std::move(result.taken);
  switch (result.failure) {
    case TwinFailure::kNone:
      return true;
    case TwinFailure::kPartOverCapacity:
      VexDlgMessageBox(Said(t.overflowBox));
      return false;
    case TwinFailure::kPartListRefused:
      VexMsgPutErrorMessage(Said(t.apiDataError));
      return false;
    case TwinFailure::kPartEmpty:
      VexMsgPutErrorMessage(Said(t.selectShape));
      return false;
    case TwinFailure::kPartNotInRange:
      VexMsgPutErrorMessage(Said(t.outlineError));
      return false;
    case TwinFailure::kNoAnchorLine:
      VexMsgPutErrorMessage(Said(t.needLine));
      return false;
    case TwinFailure::kRangeOverCapacity:  // the range step took no more than the table holds
    case TwinFailure::kSearchFailed:
    case TwinFailure::kStopped:  // the command's search is never stopped: it gives no goOn
      VexMsgPutErrorMessage(Said(t.searchError));
      return false;
  }
  return false;
}

void MarkUsedTargets() {
  // The range entries of each segment, in range order; `next` skips those already taken.
  std::unordered_map<int64_t, std::vector<size_t>> entries;
  auto key = [](const SegmentRef& r) {
    return (static_cast<int64_t>(r.auxId) << 32) | static_cast<uint32_t>(r.segmentId);
  };
  for (size_t t = 0; t < searchRange.segments.size(); ++t) {
    if (searchRange.taken[t] != 1) entries[key(searchRange.segments[t])].push_back(t);
  }
  std::unordered_map<int64_t, size_t> next;
  for (const MatchRecord& twin : foundParts.twins) {
    for (int i = 1; i <= twin.segmentCount(); ++i) {
      const int64_t k = key(twin.segment(i));
      const auto it = entries.find(k);
      if (it == entries.end()) continue;
      size_t& at = next[k];
      if (at < it->second.size()) searchRange.taken[it->second[at++]] = 1;
    }
  }
}

void BlinkMatches() {
  for (const MatchRecord& twin : foundParts.twins) {
    for (int i = 1; i <= twin.segmentCount(); ++i) VexIdSetBlinkSegmentId(&twin.segment(i));
  }
}

}  // namespace twinfind
