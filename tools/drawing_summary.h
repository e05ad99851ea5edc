// What the tool tells the user about the drawing, so that they know where to pick: one line when
// it is loaded (extents, segment count, layers) and one line for what a window selected.
#ifndef TOOLS_DRAWING_SUMMARY_H
#define TOOLS_DRAWING_SUMMARY_H

#include <cstdint>
#include <string>
#include <vector>

#include "host/drawing.h"

namespace twinfind::tool {

// A coordinate as the user reads and types it: six significant figures, a point whatever the
// locale says.
std::string Coordinate(double value);

// "drawing: NAME: 523 segments, x -1.2 to 45.3, y -0.5 to 34.1; 3 layers: 0, 1 WALLS, 2 DOORS"
std::string LoadLine(const vexhost::Drawing& drawing, const std::string& name);

// "selected 3 segments: 1 polyline of 12 figures, 2 circles"; "selected no segments".
std::string SelectionLine(const vexhost::Drawing& drawing, const std::vector<int>& segments);

// A fingerprint of every lasting segment and what it holds, to tell whether the drawing changed.
uint64_t DrawingDigest(const vexhost::Drawing& drawing);

}  // namespace twinfind::tool

#endif  // TOOLS_DRAWING_SUMMARY_H
