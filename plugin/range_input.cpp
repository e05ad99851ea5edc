#include "plugin/range_input.h"

#include <algorithm>

#include "balloon/drawing_scale.h"
#include "engine/host_lists.h"
#include "engine/part_checks.h"
#include "settings/settings.h"

namespace twinfind {

SearchRange searchRange;

void PromptForRange(const char16_t* cursor, const char16_t* prompt) {
  VexEvtSetEventMask(VEX_MASK_RANGE);
  VexMsgPutCursorMessage(cursor);
  VexMsgPutMessage(prompt);
  VexEvtSetCompareFunction(CompareElementType);
  VexEvtSetObject(&kRangeObject);
}

bool CollectTargets(const char16_t* overflowBox, const char16_t* emptyError) {
  searchRange.segments.clear();
  searchRange.taken.clear();
  const int selection = VexIddOpenSelIdData(1);
  VexIdRecord record{};
  for (int r = VexIddGetHeadSelIdData(selection, &record); r != -1;
       r = VexIddGetNextSelIdData(selection, &record)) {
    if (searchRange.segments.size() == static_cast<size_t>(RangeLimitOf(Settings().mRangeLimit))) {
      // The range keeps what it holds; the selection is closed and forgotten all the same.
      searchRange.taken.assign(searchRange.segments.size(), 0);
      CloseSelection(selection);
      VexIddClearSysIdData();
      VexDlgMessageBox(overflowBox);
      return false;
    }
    searchRange.segments.push_back(RefOfRecord(record));
  }
  searchRange.taken.assign(searchRange.segments.size(), 0);
  CloseSelection(selection);
  VexIddClearSysIdData();
  if (searchRange.segments.empty()) {
    VexMsgPutErrorMessage(emptyError);
    return false;
  }
  // The sizes of balloons, texts and gaps for results over this range: "auto" fits them to the
  // range's extent, which stands for the drawing the user works on.
  double larger = 0;
  if (Settings().mDrawingScale == u"auto") {
    VexBox box{1, 1, -1, -1};
    for (const SegmentRef& ref : searchRange.segments) ExtendBoxBySegment(ref, box);
    if (box.maxX >= box.minX) larger = std::max(box.maxX - box.minX, box.maxY - box.minY);
  }
  drawingScale = DrawingScaleOf(Settings().mDrawingScale, larger);
  return true;
}

}  // namespace twinfind
