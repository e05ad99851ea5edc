// Finding segments by area: the crossing search, the window search and the user's range.
#ifndef HOST_SEARCH_H
#define HOST_SEARCH_H

#include <vector>

#include "vexlib/vexlib.h"

namespace vexhost {

class Drawing;

enum class SearchMode {
  kCrossing,  // segments whose geometry meets the area
  kWindow     // segments lying wholly inside the area
};

// Edges count: geometry this close to the area's edge meets it, or lies inside it.
inline constexpr double kSearchTolerance = 1e-9;

// The lasting segments with at least one element the filter accepts (a null filter accepts
// all) that meet the area by the mode, in drawing order. No area: every such segment. The
// area whose minimum lies above its maximum is empty and finds nothing. The
// spatial index narrows the candidates; with useIndex false every segment is tested, which
// gives the same answer (tests compare the two).
std::vector<int> SearchSegments(const Drawing& drawing, const VexBox* area, VexElementFilter filter,
                                SearchMode mode, bool useIndex = true);

// What a user's window over the area selects: the segments lying wholly inside it, as the
// window search finds them, on layers that are shown (a layer off or frozen in the file is
// neither drawn nor selected). No area: every such segment.
std::vector<int> SelectSegments(const Drawing& drawing, const VexBox* area,
                                VexElementFilter filter);

}  // namespace vexhost

#endif  // HOST_SEARCH_H
