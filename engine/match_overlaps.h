// What the general method keeps of a search's matches: no two of them share a segment.
#ifndef ENGINE_MATCH_OVERLAPS_H
#define ENGINE_MATCH_OVERLAPS_H

#include "engine/door_check.h"

#include <vector>

#include "engine/shape_model.h"

namespace twinfind {

// For matches given by their segment ids, in the order the search found them: true for each
// one that shares a segment id with a later match (kept or not). The last one always stays.
std::vector<bool> OverlappedMatches(const std::vector<std::vector<int>>& matches);

// Drops every match that shares a segment id with a later match; the others keep their order.
void DropOverlappingMatches(std::vector<MatchRecord>& matches);

}  // namespace twinfind

#endif  // ENGINE_MATCH_OVERLAPS_H
