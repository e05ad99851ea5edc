// VexMsg and VexDlgMessageBox: the message lines. Every message joins the transcript.
#include "host/api_util.h"
#include "host/host.h"

using vexhost::MessageKind;
using vexhost::TextOf;
using vexhost::TheHost;

extern "C" {

VEXAPI void VexMsgPutMessage(const char16_t* text) {
  VEXHOST_FAULT_POINT(return );
  TheHost().transcript.Add(MessageKind::kPrompt, TextOf(text));
}

VEXAPI void VexMsgPutCursorMessage(const char16_t* text) {
  VEXHOST_FAULT_POINT(return );
  TheHost().transcript.Add(MessageKind::kCursor, TextOf(text));
}

VEXAPI void VexMsgPutErrorMessage(const char16_t* text) {
  VEXHOST_FAULT_POINT(return );
  TheHost().transcript.Add(MessageKind::kError, TextOf(text));
}

VEXAPI void VexMsgPutInfoMessage(const char16_t* text) {
  VEXHOST_FAULT_POINT(return );
  TheHost().transcript.Add(MessageKind::kInfo, TextOf(text));
}

// The box is modal in a window system; here the user has read it once it is in the
// transcript, and it answers OK.
VEXAPI int VexDlgMessageBox(const char16_t* text) {
  VEXHOST_FAULT_POINT(return -1);
  TheHost().transcript.Add(MessageKind::kBox, TextOf(text));
  return 1;
}

}  // extern "C"
