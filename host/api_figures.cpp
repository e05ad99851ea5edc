// VexFig: figures and their line attributes.
#include "host/api_util.h"
#include "host/host.h"

using vexhost::Element;
using vexhost::TheHost;

namespace {

bool IsFigure(const Element& e) {
  return e.type >= VEX_ELEMENT_LINE && e.type <= VEX_ELEMENT_POINT;
}

// The element named by a reference {auxId, elementId}; null when unknown or of another drawing.
const Element* ElementOf(const SegmentRef* ref) {
  if (ref == nullptr) return nullptr;
  vexhost::Drawing& drawing = TheHost().drawing;
  const Element* e = drawing.FindElement(ref->segmentId);
  if (e == nullptr || drawing.FindSegment(e->segmentId)->auxId != ref->auxId) return nullptr;
  return e;
}

}  // namespace

extern "C" {

VEXAPI int VexFigCreateFigure(int segmentId, const FigureRecord* figure) {
  VEXHOST_FAULT_POINT(return -1);
  if (figure == nullptr) return -1;
  return TheHost().drawing.AddFigure(segmentId, *figure);
}

VEXAPI int VexFigInsertFigure(int elementId, const FigureRecord* figure) {
  VEXHOST_FAULT_POINT(return -1);
  vexhost::Drawing& drawing = TheHost().drawing;
  const Element* after = drawing.FindElement(elementId);
  if (figure == nullptr || after == nullptr) return -1;
  return drawing.AddFigure(after->segmentId, *figure, elementId);
}

VEXAPI int VexFigGetFigure2(const SegmentRef* segment, FigureRecord* figures, int capacity) {
  VEXHOST_FAULT_POINT(return -1);
  if (segment == nullptr || capacity < 0 || (figures == nullptr && capacity > 0)) return -1;
  vexhost::Drawing& drawing = TheHost().drawing;
  const vexhost::Segment* s = drawing.FindSegment(segment->segmentId);
  if (s == nullptr || s->auxId != segment->auxId) return -1;
  int written = 0;
  for (const int id : s->elements) {
    if (written == capacity) break;
    const Element& e = *drawing.FindElement(id);
    if (IsFigure(e)) figures[written++] = e.figure;
  }
  return written;
}

VEXAPI int VexFigGetFigure(const SegmentRef* element, FigureRecord* figure) {
  VEXHOST_FAULT_POINT(return -1);
  const Element* e = ElementOf(element);
  if (e == nullptr || figure == nullptr || !IsFigure(*e)) return -1;
  *figure = e->figure;
  return 0;
}

VEXAPI int VexFigGetLineType(int elementId, VexLineTypeData* data) {
  VEXHOST_FAULT_POINT(return -1);
  const Element* e = TheHost().drawing.FindElement(elementId);
  if (e == nullptr || data == nullptr || !e->lineAttr) return -1;
  *data = {e->lineAttr->color, e->lineAttr->lineType, e->lineAttr->weight};
  return 0;
}

VEXAPI int VexFigSetLineType(int elementId, const VexLineTypeData* data) {
  VEXHOST_FAULT_POINT(return -1);
  Element* e = TheHost().drawing.FindElement(elementId);
  if (e == nullptr || data == nullptr || !e->lineAttr) return -1;
  TheHost().drawing.WillChange(e->segmentId);
  e->lineAttr->color = data->color;
  e->lineAttr->lineType = data->lineType;
  e->lineAttr->weight = data->weight;
  return 0;
}

VEXAPI int VexFigGetLineType2(int elementId, LineAttr* attr) {
  VEXHOST_FAULT_POINT(return -1);
  const Element* e = TheHost().drawing.FindElement(elementId);
  if (e == nullptr || attr == nullptr || !e->lineAttr) return -1;
  *attr = *e->lineAttr;
  return 0;
}

VEXAPI int VexFigSetLineType2(int elementId, const LineAttr* attr) {
  VEXHOST_FAULT_POINT(return -1);
  Element* e = TheHost().drawing.FindElement(elementId);
  if (e == nullptr || attr == nullptr || !e->lineAttr) return -1;
  TheHost().drawing.WillChange(e->segmentId);
  *e->lineAttr = *attr;
  return 0;
}

}  // extern "C"
