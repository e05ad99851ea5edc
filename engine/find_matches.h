// The same-part search: every group of range segments that is a twin of the part, found by
// placing trial copies of the part on candidate lines.
#ifndef ENGINE_FIND_MATCHES_H
#define ENGINE_FIND_MATCHES_H

#include "engine/door_check.h"

#include <functional>
#include <vector>

#include "engine/part_cover.h"
#include "settings/search_options.h"
#include "vexlib/vexlib.h"

namespace twinfind {

// Tolerance for line lengths (drawing units) and angles (radians) of candidate lines.
inline constexpr double SEARCH_EPS = kDefaultSearchTolerance;

// Tries every candidate line of the unused range segments and records the twins in matchTable
// (which the caller has emptied), marking their range entries used. With rotation on, a
// candidate that fails is tried once more from its end point, since a turned twin's line may be
// drawn either way. True when every candidate
// was tried; false when a working table overflowed or a copy failed (the user was told). On
// every path the drawing is left without trial copies and lists 6 to 8 are left empty. Twins
// beyond the 499 the match table holds are left out, and the user is told how many.
// `goOn`, when given, is asked about every twentieth of a second between candidates: false
// stops the search there (SearchStats::stopped), its twins so far kept. The command's own search
// has none: it runs to its end.
bool FindMatches(const SearchOptions& options, const std::function<bool()>& goOn = {});

// What the last search did, for measurements.
struct SearchStats {
  int candidates = 0;          // trial placements (direct trials), reversed ones included
  int reversedCandidates = 0;  // of which from a candidate line's end point (rotation on)
  int mirrorTrials = 0;        // of which went on to the mirror trial
  // The segments of every placement whose copy found each of its segments in the drawing but
  // whose window held more (something inside the part or across it): a twin in shape that its
  // surroundings kept out.
  std::vector<std::vector<SegmentRef>> crowded;
  // The ground the part covers: where two twins sharing a segment lie on each other
  // (match_overlaps.h).
  PartCover cover;
  bool stopped = false;  // by its caller's goOn
};
const SearchStats& LastSearchStats();

}  // namespace twinfind

#endif  // ENGINE_FIND_MATCHES_H
