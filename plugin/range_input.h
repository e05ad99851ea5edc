// Range input shared by both prompt chains: the prompt settings, and the reading of the user's
// selection into the command's search range.
#ifndef PLUGIN_RANGE_INPUT_H
#define PLUGIN_RANGE_INPUT_H

#include <cstdint>
#include <vector>

#include "engine/shape_model.h"
#include "vexlib/vexlib.h"

namespace twinfind {

// The object record of the range steps.
inline constexpr VexObjectRecord kRangeObject{{626, 2527, 0, 0, 0}};

// The command's search range: the segments the range step took, in selection order, and which
// of them the twins of the part searches so far have taken (those are no candidates for the
// next part). Rebuilt by every range the user indicates.
struct SearchRange {
  std::vector<SegmentRef> segments;
  std::vector<uint8_t> taken;  // per segment, 1 when taken
};
extern SearchRange searchRange;

// Sets a range prompt: mask, cursor text, prompt, element filter and object record.
void PromptForRange(const char16_t* cursor, const char16_t* prompt);

// Fills searchRange from the user's selection (up to 10000 segments). Beyond that shows the
// overflow box, on an empty selection the error; false then, and the command ends.
bool CollectTargets(const char16_t* overflowBox, const char16_t* emptyError);

}  // namespace twinfind

#endif  // PLUGIN_RANGE_INPUT_H
