// The part step's work, shared by both methods: collecting the indicated part, checking it,
// and running the search; and what the methods do with the matches afterwards.
#ifndef PLUGIN_PART_SEARCH_H
#define PLUGIN_PART_SEARCH_H

#include "engine/find_matches.h"
#include "engine/match_overlaps.h"
#include "settings/settings.h"

namespace twinfind {

// The search options the settings ask for.
SearchOptions SearchOptionsOf(const TwinfindSettings& settings);

// The messages of the part step; the balloon method tags them with "(S02)".
struct PartStepTexts {
  const char16_t* overflowBox;   // more than 1000 part segments (a message box)
  const char16_t* apiDataError;  // the work list refused a segment
  const char16_t* selectShape;   // nothing indicated
  const char16_t* outlineError;  // CheckPartInRange failed
  const char16_t* needLine;      // FindAnchorLine failed
  const char16_t* searchError;   // FindMatches stopped
};

extern const PartStepTexts kGeneralPartTexts;
extern const PartStepTexts kBalloonPartTexts;

// Collects the user's selection as the part (partTable, partBox, list 5), checks it and runs
// FindMatches on an emptied match table. False when something failed: its message was shown
// and the command is to end. The host selection and list 5 are closed on every path.
bool CollectPartAndSearch(const PartStepTexts& texts);

// Marks, for every reference of every match, the first range entry not yet used that names
// the same segment.
void MarkUsedTargets();

// Makes every segment of every match blink.
void BlinkMatches();

}  // namespace twinfind

#endif  // PLUGIN_PART_SEARCH_H
