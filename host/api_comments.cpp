// VexCmt: plain texts and balloons in comment segments. The host copies every text it is
// handed, so the caller may free its buffers right after the call.
#include "host/api_util.h"
#include "host/host.h"

using vexhost::TheHost;

extern "C" {

VEXAPI int VexCmtCreateBalloon(int segmentId, const BalloonData* data) {
  VEXHOST_FAULT_POINT(return -1);
  if (data == nullptr) return -1;
  auto comment = vexhost::MakeBalloonComment(*data);
  if (!comment) return -1;
  return TheHost().drawing.AddComment(segmentId, std::move(*comment));
}

VEXAPI int VexCmtCreateNormal(int segmentId, const NormalTextData* data) {
  VEXHOST_FAULT_POINT(return -1);
  if (data == nullptr) return -1;
  auto comment = vexhost::MakeTextComment(*data);
  if (!comment) return -1;
  return TheHost().drawing.AddComment(segmentId, std::move(*comment));
}

VEXAPI int VexCmtGetComment(int elementId, VexCommentBuffer* buffer) {
  VEXHOST_FAULT_POINT(return -1);
  const vexhost::Element* e = TheHost().drawing.FindElement(elementId);
  if (e == nullptr || buffer == nullptr || !e->comment) return -1;
  vexhost::FillRecord(*e->comment, *buffer);
  return 0;
}

VEXAPI int VexCmtSetCharSize(int elementId, const CharSizeData* size) {
  VEXHOST_FAULT_POINT(return -1);
  vexhost::Drawing& drawing = TheHost().drawing;
  const vexhost::Element* e = drawing.FindElement(elementId);
  if (e == nullptr || size == nullptr || !e->comment) return -1;
  const auto* text = std::get_if<vexhost::TextComment>(&*e->comment);
  if (text == nullptr) return -1;
  vexhost::TextComment resized = *text;
  resized.record.size1 = size->size1;
  resized.record.size2 = size->size2;
  return drawing.ReplaceComment(elementId, std::move(resized)) ? 0 : -1;
}

}  // extern "C"
