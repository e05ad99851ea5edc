// Laying copies of the matches out in a row, and the action on the matches themselves.
#ifndef PLUGIN_ARRANGEMENT_H
#define PLUGIN_ARRANGEMENT_H

#include <cstdint>
#include <functional>

#include "engine/match_extents.h"
#include "vexlib/vexlib.h"

namespace twinfind {

// Command state shared by both methods' result flows.
extern int32_t arrangeRowCount;  // arrangement rows started in this command
extern VexPoint arrangeOrigin;   // base point of the last row placed
extern RowExtent rowExtent;      // the row of the found parts, as last measured

// Measures the found parts (their boxes) and the row they make with the arrangement gap.
void MeasureRow();

struct RowResult {
  bool copied = true;      // false: a copy could not be listed; the user was told
  int plainCopies = 0;     // copies of matches found directly
  int mirroredCopies = 0;  // copies of mirror-image matches
};

// What a method adds to a row: called after each plain match's copy (list 2 then holds the
// copy's segments), and around the frame of the mirror-image group.
struct RowHooks {
  std::function<void()> afterPlainCopy;
  std::function<void(const std::function<void()>& drawFrame)> frame;
};

// Places one copy of every match in a row from `origin`: the plain matches first, the mirror
// images after them inside a frame; each match's copy is kept in foundParts.copies. Needs the
// boxes of MeasureRow.
RowResult PlaceRow(VexPoint origin, const RowHooks& hooks = {});

// The general method's delete variants: the first row's delete, and the other one.
enum class DeleteCall { kDeleteSegment, kDeleteSegment2 };

// Applies mFigure to every segment of every match: 1 deletes, 2 gives every element that has a
// line type the colour and line type of the settings, other values do nothing.
void ApplyFigureAction(DeleteCall deleteCall);

// The rubber band of the row at p: four temporary lines the size of rowExtent.
void DrawRowPreview(VexPoint p);

// The horizontal and vertical gaps of the arrangement (0 when they are no number or out of
// range).
double ArrangeGap();
double ArrangeRowGap();

}  // namespace twinfind

#endif  // PLUGIN_ARRANGEMENT_H
