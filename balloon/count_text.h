// The texts beside an arranged row (depth, count, part number) and the advance of the part
// number.
#ifndef BALLOON_COUNT_TEXT_H
#define BALLOON_COUNT_TEXT_H

#include <cstdint>
#include <string>
#include <string_view>

#include "vexlib/vexlib.h"

namespace twinfind {

// Writes, 50 left of the row's origin and stacking upwards: the depth text (when a depth was
// typed; it is then used up), the count ("%dEA", or "%d/%dEA" when mirror images were
// arranged apart) and the part number (when there is one).
void CreateCountTexts(VexPoint origin, int32_t firstCount, int32_t secondCount);

// The next part number: the trailing run of digits and full stops counts up by one and keeps
// its width (A-009 gives A-010, B1.5 gives B002); a text without such a run stays as it is.
std::u16string NextPartNumber(std::u16string_view text);

// Advances mBalloonStr and stores it at once, so the next run goes on from it.
void AdvancePartNumber();

}  // namespace twinfind

#endif  // BALLOON_COUNT_TEXT_H
