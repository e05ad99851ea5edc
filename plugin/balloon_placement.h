// The balloon method's manual placement step: the balloon follows the pointer and is placed
// where the user clicks.
#ifndef PLUGIN_BALLOON_PLACEMENT_H
#define PLUGIN_BALLOON_PLACEMENT_H

#include "vexlib/vexlib.h"

namespace twinfind {

// Blinks the matches and asks where the balloon goes.
int PromptBalloonPlacement(const char16_t* text, double x, double y);
int OnBalloonPlacement(int code, const VexEvent* event);

}  // namespace twinfind

#endif  // PLUGIN_BALLOON_PLACEMENT_H
