// VexIdd and VexId: id lists and blinking.
#include "host/api_util.h"
#include "host/host.h"

using vexhost::TheHost;

extern "C" {

VEXAPI int VexIddOpenSelIdData(int mode) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().lists.OpenSelection(mode);
}

VEXAPI int VexIddGetHeadSelIdData(int handle, VexIdRecord* record) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().lists.SelectionHead(handle, record);
}

VEXAPI int VexIddGetNextSelIdData(int handle, VexIdRecord* record) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().lists.SelectionNext(handle, record);
}

VEXAPI int VexIddCloseSelIdData(int handle) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().lists.CloseSelection(handle);
}

VEXAPI int VexIddClearSysIdData(void) {
  VEXHOST_FAULT_POINT(return -1);
  TheHost().lists.ClearSelection();
  return 0;
}

VEXAPI int VexIddOpenApIdData(int list, int mode) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().lists.Open(list, mode);
}

VEXAPI int VexIddGetHeadApIdData(int handle, VexIdRecord* record) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().lists.Head(handle, record);
}

VEXAPI int VexIddGetNextApIdData(int handle, VexIdRecord* record) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().lists.Next(handle, record);
}

VEXAPI int VexIddSetApIdData(int handle, int segmentId, int auxId) {
  VEXHOST_FAULT_POINT(return -1);
  vexhost::Host& host = TheHost();
  return host.lists.Append(handle, segmentId, auxId, host.drawing);
}

VEXAPI int VexIddInitApIdData(int handle) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().lists.Empty(handle);
}

VEXAPI int VexIddCloseApIdData(int handle) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().lists.Close(handle);
}

VEXAPI int VexIdSetBlinkSegmentId(const SegmentRef* ref) {
  VEXHOST_FAULT_POINT(return -1);
  if (ref == nullptr) return -1;
  return TheHost().drawing.Blink(*ref) ? 0 : -1;
}

VEXAPI int VexIdClearBlink(void) {
  VEXHOST_FAULT_POINT(return -1);
  TheHost().drawing.ClearBlink();
  return 0;
}

}  // extern "C"
