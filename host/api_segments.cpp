// VexSgm and VexElm: segments and the walk over their elements.
#include "host/api_util.h"
#include "host/host.h"

using vexhost::Segment;
using vexhost::TheHost;

namespace {
// A lasting or temporary segment that the call may touch; null for unknown ids.
Segment* Find(int segmentId) { return TheHost().drawing.FindSegment(segmentId); }
}  // namespace

extern "C" {

VEXAPI int VexSgmCreateSegment(int kind, int life) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().drawing.CreateSegment(kind, life);
}

VEXAPI int VexSgmDeleteSegment(int segmentId) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().drawing.DeleteSegment(segmentId) ? 0 : -1;
}

// The second delete differs from the first only in what a window system would redraw.
VEXAPI int VexSgmDeleteSegment2(int segmentId) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().drawing.DeleteSegment(segmentId) ? 0 : -1;
}

VEXAPI int VexSgmGetType(int segmentId) {
  VEXHOST_FAULT_POINT(return -1);
  const Segment* s = Find(segmentId);
  return s == nullptr ? -1 : s->kind;
}

VEXAPI int VexSgmGetLayer(int segmentId) {
  VEXHOST_FAULT_POINT(return -1);
  const Segment* s = Find(segmentId);
  return s == nullptr ? -1 : s->layer;
}

VEXAPI int VexSgmChangeLayer(int segmentId, int layer) {
  VEXHOST_FAULT_POINT(return -1);
  Segment* s = Find(segmentId);
  if (s == nullptr) return -1;
  TheHost().drawing.WillChange(segmentId);
  s->layer = layer;
  return 0;
}

// A question: an unknown segment has no attribute (0), so that a failure never reads as yes.
VEXAPI int VexSgmHasAttribute(int segmentId, int attribute) {
  VEXHOST_FAULT_POINT(return 0);
  const Segment* s = Find(segmentId);
  if (s == nullptr || attribute < 0 || attribute > 31) return 0;
  return (s->attributes >> attribute) & 1u;
}

VEXAPI int VexSgmGetHeadElementId(int segmentId) {
  VEXHOST_FAULT_POINT(return -1);
  const Segment* s = Find(segmentId);
  return s == nullptr || s->elements.empty() ? -1 : s->elements.front();
}

VEXAPI int VexElmGetNextElementId(int elementId) {
  VEXHOST_FAULT_POINT(return -1);
  vexhost::Drawing& drawing = TheHost().drawing;
  const vexhost::Element* e = drawing.FindElement(elementId);
  if (e == nullptr) return -1;
  const auto& elements = drawing.FindSegment(e->segmentId)->elements;
  // Where the last call found its element: a walk through a segment asks for the one after
  // the one it was given, so the next is found there at once, not by a pass from the first
  // (a polyline of a million figures walked in a million steps, not their square). Checked
  // against the segment's own list on every call, so a stale place costs only the pass.
  thread_local size_t last = 0;
  for (const size_t i : {last, last + 1}) {
    if (i + 1 < elements.size() && elements[i] == elementId) {
      last = i + 1;
      return elements[i + 1];
    }
  }
  for (size_t i = 0; i + 1 < elements.size(); ++i) {
    if (elements[i] == elementId) {
      last = i + 1;
      return elements[i + 1];
    }
  }
  return -1;
}

VEXAPI int VexElmGetType(int elementId) {
  VEXHOST_FAULT_POINT(return -1);
  const vexhost::Element* e = TheHost().drawing.FindElement(elementId);
  return e == nullptr ? -1 : e->type;
}

VEXAPI int VexElmGetSegment(int elementId) {
  VEXHOST_FAULT_POINT(return -1);
  const vexhost::Element* e = TheHost().drawing.FindElement(elementId);
  return e == nullptr ? -1 : e->segmentId;
}

VEXAPI int VexLyrGetVisibility(int layer) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().drawing.LayerVisible(layer) ? 1 : 0;
}

VEXAPI int VexLyrGetCurrentLayer(void) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().drawing.currentLayer();
}

VEXAPI int VexLyrSetCurrentLayer(int layer) {
  VEXHOST_FAULT_POINT(return -1);
  TheHost().drawing.SetCurrentLayer(layer);
  return 0;
}

}  // extern "C"
