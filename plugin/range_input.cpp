#include "plugin/range_input.h"

#include "engine/host_lists.h"
#include "engine/shape_model.h"

namespace twinfind {

void PromptForRange(const char16_t* cursor, const char16_t* prompt) {
  VexEvtSetEventMask(VEX_MASK_RANGE);
  VexMsgPutCursorMessage(cursor);
  VexMsgPutMessage(prompt);
  VexEvtSetCompareFunction(CompareElementType);
  VexEvtSetObject(&kRangeObject);
}

bool CollectTargets(const char16_t* overflowBox, const char16_t* emptyError) {
  targetTable.Clear();
  const int selection = VexIddOpenSelIdData(1);
  VexIdRecord record{};
  for (int r = VexIddGetHeadSelIdData(selection, &record); r != -1;
       r = VexIddGetNextSelIdData(selection, &record)) {
    if (targetTable.full()) {
      // The table keeps what it holds; the selection is closed and forgotten all the same.
      CloseSelection(selection);
      VexIddClearSysIdData();
      VexDlgMessageBox(overflowBox);
      return false;
    }
    targetTable.Append(MakeTargetEntry(record));
  }
  CloseSelection(selection);
  VexIddClearSysIdData();
  if (targetTable.count() == 0) {
    VexMsgPutErrorMessage(emptyError);
    return false;
  }
  return true;
}

}  // namespace twinfind
