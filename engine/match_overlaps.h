// What the general method keeps of a search's matches: no two of them share a segment.
#ifndef ENGINE_MATCH_OVERLAPS_H
#define ENGINE_MATCH_OVERLAPS_H

#include "engine/door_check.h"

#include <vector>

#include "engine/shape_model.h"

namespace twinfind {

// For matches given by their segment ids and the motions that laid the part on them, in the
// order the search found them: true for each one that shares a segment id with a later match
// (kept or not) lying on it: the part's hull (`hull`, in its own coordinates, counter-clockwise)
// at the one place covers more than a hundredth of its area at the other. Parts cut with one
// line between them lie side by side, share that line, and both stay. The last one always
// stays.
std::vector<bool> OverlappedMatches(const std::vector<std::vector<int>>& matches,
                                    const std::vector<PlaneMap>& motions,
                                    const std::vector<VexPoint>& hull);

// Drops every match that OverlappedMatches finds lying on a later one; the others keep their
// order.
void DropOverlappingMatches(std::vector<MatchRecord>& matches, const std::vector<VexPoint>& hull);

}  // namespace twinfind

#endif  // ENGINE_MATCH_OVERLAPS_H
