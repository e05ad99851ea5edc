#include "plugin/part_search.h"

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/find_matches.h"
#include "engine/geometry.h"
#include "engine/host_lists.h"
#include "engine/part_checks.h"
#include "engine/shape_model.h"
#include "plugin/texts.h"
#include "settings/settings.h"

namespace twinfind {

const PartStepTexts kGeneralPartTexts{texts::kPartOverflowS, texts::kApiDataError,
                                      texts::kSelectShape,   texts::kOutlineError,
                                      texts::kNeedLine,      texts::kSearchError};
const PartStepTexts kBalloonPartTexts{texts::kPartOverflowS02, texts::kApiDataErrorS02,
                                      texts::kSelectShapeS02,  texts::kOutlineErrorS02,
                                      texts::kNeedLineS02,     texts::kSearchErrorS02};

SearchOptions SearchOptionsOf(const TwinfindSettings& s) {
  SearchOptions options;
  options.rotate = s.mIsRotate != 0;
  options.mirror = s.mIsSymmetry != 0;
  options.sameLayer = s.mIsLayer != 0;
  options.sameLineAttr = s.mIsColor != 0;
  options.tolerance = SearchToleranceOf(s.mTolerance);
  return options;
}

namespace {

enum class Collected { kAll, kTooMany, kListRefused };

// Reads the selection into partTable, partBox and the work list.
Collected CollectPart(int workList) {
  const int selection = VexIddOpenSelIdData(1);
  VexIdRecord record{};
  Collected result = Collected::kAll;
  for (int r = VexIddGetHeadSelIdData(selection, &record); r != -1;
       r = VexIddGetNextSelIdData(selection, &record)) {
    if (!partTable.Append(MakeTargetEntry(record))) {
      result = Collected::kTooMany;
      break;
    }
    ExtendBoxBySegment(RefOfRecord(record), partBox);
    if (VexIddSetApIdData(workList, record.segmentId, record.auxId) == -1) {
      result = Collected::kListRefused;
      break;
    }
  }
  // Closed and forgotten on every path, also when the reading stopped early.
  CloseSelection(selection);
  VexIddClearSysIdData();
  CloseList(workList);
  return result;
}

}  // namespace

bool CollectPartAndSearch(const PartStepTexts& t) {
  partBox = kResetBox;
  ResetList(kWorkList);
  const int workList = VexIddOpenApIdData(kWorkList, 1);
  VexIddInitApIdData(workList);
  partTable.Clear();
  switch (CollectPart(workList)) {
    case Collected::kTooMany:
      VexDlgMessageBox(t.overflowBox);
      return false;
    case Collected::kListRefused:
      VexMsgPutErrorMessage(t.apiDataError);
      return false;
    case Collected::kAll:
      break;
  }
  if (partTable.count() == 0) {
    VexMsgPutErrorMessage(t.selectShape);
    return false;
  }
  if (!CheckPartInRange()) {
    VexMsgPutErrorMessage(t.outlineError);
    return false;
  }
  if (!FindAnchorLine()) {
    VexMsgPutErrorMessage(t.needLine);
    return false;
  }
  matchTable.Clear();
  for (int i = 1; i <= kMatchCapacity; ++i) matchTable.slot(i).mirrored = 0;
  if (!FindMatches(SearchOptionsOf(Settings()))) {
    VexMsgPutErrorMessage(t.searchError);
    return false;
  }
  return true;
}

void MarkUsedTargets() {
  // The range entries of each segment, in range order; `next` skips those already taken.
  std::unordered_map<int64_t, std::vector<int>> entries;
  auto key = [](const SegmentRef& r) {
    return (static_cast<int64_t>(r.auxId) << 32) | static_cast<uint32_t>(r.segmentId);
  };
  for (int t = 1; t <= targetTable.count(); ++t) {
    if (targetTable[t].used != 1) entries[key(targetTable[t].ref)].push_back(t);
  }
  std::unordered_map<int64_t, size_t> next;
  for (int m = 1; m <= matchTable.count(); ++m) {
    for (int i = 1; i <= matchTable[m].segmentCount(); ++i) {
      const int64_t k = key(matchTable[m].segment(i));
      const auto it = entries.find(k);
      if (it == entries.end()) continue;
      size_t& at = next[k];
      if (at < it->second.size()) targetTable[it->second[at++]].used = 1;
    }
  }
}

void BlinkMatches() {
  for (int m = 1; m <= matchTable.count(); ++m) {
    for (int i = 1; i <= matchTable[m].segmentCount(); ++i) {
      VexIdSetBlinkSegmentId(&matchTable[m].segment(i));
    }
  }
}

}  // namespace twinfind
