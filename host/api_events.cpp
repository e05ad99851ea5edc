// VexEvt: what a step takes, and what an event carries.
#include "host/api_util.h"
#include "host/host.h"

using vexhost::TheHost;

extern "C" {

VEXAPI int VexEvtSetEventMask(uint32_t mask) {
  VEXHOST_FAULT_POINT(return -1);
  TheHost().driver.SetMask(mask);
  return 0;
}

VEXAPI int VexEvtSetCompareFunction(VexElementFilter fn) {
  VEXHOST_FAULT_POINT(return -1);
  TheHost().driver.SetCompare(fn);
  return 0;
}

VEXAPI int VexEvtSetObject(const VexObjectRecord* object) {
  VEXHOST_FAULT_POINT(return -1);
  if (object == nullptr) return -1;
  TheHost().driver.SetObject(*object);
  return 0;
}

VEXAPI int VexEvtSetEcho(const VexEchoRecord* echo) {
  VEXHOST_FAULT_POINT(return -1);
  if (echo == nullptr) return -1;
  TheHost().driver.SetEcho(*echo);
  return 0;
}

VEXAPI int VexEvtGetPoint(int /*code*/, const VexEvent* event, VexPoint* point) {
  VEXHOST_FAULT_POINT(return -1);
  if (event == nullptr || point == nullptr || !event->hasPoint) return -1;
  *point = event->point;
  return 0;
}

VEXAPI int VexEvtIsMouseMotion(int /*code*/, const VexEvent* event) {
  VEXHOST_FAULT_POINT(return -1);
  return event != nullptr && event->motion ? 1 : 0;
}

VEXAPI const char16_t* VexEvtGetKeyinString(int /*code*/, const VexEvent* event) {
  VEXHOST_FAULT_POINT(return nullptr);
  if (event == nullptr || event->code != VEX_EVENT_KEYIN) return u"";
  return event->keyin.c_str();
}

}  // extern "C"
