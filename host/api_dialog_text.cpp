// VexDlgShowText and VexDlgReadAction: dialogs shown as text.
#include <algorithm>

#include "host/api_util.h"
#include "host/host.h"

using vexhost::TheHost;

extern "C" {

VEXAPI void VexDlgShowText(const char16_t* text) {
  VEXHOST_FAULT_POINT(return );
  TheHost().transcript.Add(vexhost::MessageKind::kDialog, vexhost::TextOf(text));
}

VEXAPI int VexDlgReadAction(char16_t* buffer, int capacity) {
  VEXHOST_FAULT_POINT(return -1);
  if (buffer == nullptr || capacity <= 0) return -1;
  const auto action = TheHost().dialogInput.Next();
  if (!action) return -1;
  const size_t length = std::min(action->size(), static_cast<size_t>(capacity - 1));
  std::copy_n(action->begin(), length, buffer);
  buffer[length] = u'\0';
  return static_cast<int>(length);
}

}  // extern "C"
