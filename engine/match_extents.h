// Measuring the found parts and the row they make side by side, and the frame drawn around a
// group of placed copies.
#ifndef ENGINE_MATCH_EXTENTS_H
#define ENGINE_MATCH_EXTENTS_H

#include "engine/door_check.h"

#include <array>
#include <vector>

#include "engine/shape_model.h"
#include "vexlib/vexlib.h"

namespace twinfind {

// The row of all found parts laid side by side with the arrangement gap between them.
struct RowExtent {
  double width = 0.0;
  double height = 0.0;
  std::array<VexPoint, 4> corners{};  // (0, 0), (width, 0), (width, height), (0, height)
};

// Fills the box of every twin and the row, the twins side by side `gap` apart; with no twin the
// row keeps its last size.
void ComputeMatchExtents(std::vector<MatchRecord>& twins, double gap, RowExtent& row);

// The four corners of a frame: lower left, lower right, upper left, upper right.
struct FrameCorners {
  VexPoint lowerLeft, lowerRight, upperLeft, upperRight;
};

// A new lasting segment of four lines around the corners pushed `margin` outwards, in colour 2
// and line type 0; its id.
int CreateFrameRectangle(const FrameCorners& corners, double margin);

}  // namespace twinfind

#endif  // ENGINE_MATCH_EXTENTS_H
