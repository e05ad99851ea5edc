// The balloon method after a confirmed search: confirmation, the arrangement point, and the
// automatic labelling.
#ifndef PLUGIN_BALLOON_RESULT_H
#define PLUGIN_BALLOON_RESULT_H

#include "vexlib/vexlib.h"

namespace twinfind {

int BalloonConfirmStep(const char16_t* text, double x, double y);
int OnBalloonConfirm(int code, const VexEvent* event);
int PromptBalloonArrangePoint(const char16_t* text, double x, double y);
int OnBalloonArrangePoint(int code, const VexEvent* event);

}  // namespace twinfind

#endif  // PLUGIN_BALLOON_RESULT_H
