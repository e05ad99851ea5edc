// The balloon method's steps after a search: manual placement, or confirmation and automatic
// labelling with the arrangement row.
#ifndef BALLOON_BALLOON_STEPS_H
#define BALLOON_BALLOON_STEPS_H

#include "vexlib/vexlib.h"

namespace twinfind {

// Manual placement: blinks the matches and asks where the balloon goes.
int PromptBalloonPlacement(const char16_t* text, double x, double y);
int OnBalloonPlacement(int code, const VexEvent* event);

// Confirmation and automatic labelling.
int BalloonConfirmStep(const char16_t* text, double x, double y);
int OnBalloonConfirm(int code, const VexEvent* event);
int PromptBalloonArrangePoint(const char16_t* text, double x, double y);
int OnBalloonArrangePoint(int code, const VexEvent* event);

// Registers the step that starts the next part (material or part number) and returns 2.
int GoToPartStart();

}  // namespace twinfind

#endif  // BALLOON_BALLOON_STEPS_H
