#include "plugin/range_input.h"

#include "engine/host_lists.h"
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
  return true;
}

}  // namespace twinfind
