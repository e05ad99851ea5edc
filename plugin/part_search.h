// The part step's work, shared by both methods: reading the indicated part, having the engine
// search the range for its twins and telling the user what stopped it; and what the methods do
// with the twins afterwards.
#ifndef PLUGIN_PART_SEARCH_H
#define PLUGIN_PART_SEARCH_H

#include "common/said_texts.h"
#include "engine/twin_finder.h"

namespace twinfind {

// The messages of the part step; the balloon method tags them with "(S02)".
struct PartStepTexts {
  SaidText overflowBox;   // more than 1000 part segments (a message box)
  SaidText apiDataError;  // the work list refused a segment
  SaidText selectShape;   // nothing indicated
  SaidText outlineError;  // a part segment outside the part's box
  SaidText needLine;      // no line in the part
  SaidText searchError;   // the search stopped
};

extern const PartStepTexts kGeneralPartTexts;
extern const PartStepTexts kBalloonPartTexts;

// Reads the user's selection as the part and searches searchRange for its twins with the
// settings' options (the general method drops overlapping twins), into foundParts. False when
// something failed: its message was shown and the command is to end. The host selection is
// closed on every path.
bool CollectPartAndSearch(const PartStepTexts& texts, bool dropOverlaps);

// Marks, for every segment of every twin, the first range entry not yet taken that names the
// same segment.
void MarkUsedTargets();

// Makes every segment of every twin blink.
void BlinkMatches();

}  // namespace twinfind

#endif  // PLUGIN_PART_SEARCH_H
