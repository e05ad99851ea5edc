// What the general method keeps of a search's matches: no two of them share a segment.
#ifndef ENGINE_MATCH_OVERLAPS_H
#define ENGINE_MATCH_OVERLAPS_H

#include "engine/door_check.h"

#include <vector>

#include "engine/part_cover.h"
#include "engine/shape_model.h"

namespace twinfind {

// For matches given by their segment ids and the motions that laid the part on them, in the
// order the search found them: true for each one that shares a segment id with a later match
// (kept or not) lying on it: more than a hundredth of the ground the part covers at the one
// place lies on its ground at the other (part_cover.h). Parts cut with one line between them
// lie side by side, share that line, and both stay; so do interlocked parts, each in the
// other's slot. The last one always stays.
std::vector<bool> OverlappedMatches(const std::vector<std::vector<int>>& matches,
                                    const std::vector<PlaneMap>& motions, const PartCover& cover);

// Drops every match that OverlappedMatches finds lying on a later one; the others keep their
// order.
void DropOverlappingMatches(std::vector<MatchRecord>& matches, const PartCover& cover);

}  // namespace twinfind

#endif  // ENGINE_MATCH_OVERLAPS_H
