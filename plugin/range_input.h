// Range input shared by both prompt chains: the prompt settings and the reading of the user's
// selection into targetTable.
#ifndef PLUGIN_RANGE_INPUT_H
#define PLUGIN_RANGE_INPUT_H

#include "vexlib/vexlib.h"

namespace twinfind {

// The object record of the range steps.
inline constexpr VexObjectRecord kRangeObject{{626, 2527, 0, 0, 0}};

// Sets a range prompt: mask, cursor text, prompt, element filter and object record.
void PromptForRange(const char16_t* cursor, const char16_t* prompt);

// Fills targetTable from the user's selection. On a full table shows the overflow box, on an
// empty selection the error; false then, and the command ends.
bool CollectTargets(const char16_t* overflowBox, const char16_t* emptyError);

}  // namespace twinfind

#endif  // PLUGIN_RANGE_INPUT_H
