// Host id lists as the engine uses them.
#ifndef ENGINE_HOST_LISTS_H
#define ENGINE_HOST_LISTS_H

#include "engine/door_check.h"

#include <vector>

#include "vexlib/vexlib.h"

namespace twinfind {

// The host's application lists and what the engine keeps in them.
inline constexpr int kBalloonList = 0;
inline constexpr int kCopyResultList = 2;
inline constexpr int kRangeCheckList = 3;
inline constexpr int kMirroredPartList = 4;  // the part mirrored once for a search's mirror trials
inline constexpr int kWorkList = 5;
inline constexpr int kRotatedCopyList = 6;
inline constexpr int kWindowList = 7;
inline constexpr int kMirroredCopyList = 8;
inline constexpr int kCopyList = 8;

// Closes an application list, or the user's selection. A close that fails is tried once more:
// a list left open would stay open for every later command.
void CloseList(int handle);
void CloseSelection(int handle);

// Empties application list n: open, empty and close; a list the host cannot open yet is first
// set up by a search with no area that takes every segment.
void ResetList(int list);

// The segments in application list n, in its order, leaving the list empty.
std::vector<SegmentRef> TakeListRefs(int list);

}  // namespace twinfind

#endif  // ENGINE_HOST_LISTS_H
