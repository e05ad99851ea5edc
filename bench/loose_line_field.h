// Many twins of a part drawn as loose lines: a closed jagged polygon whose every side is a
// segment of one line, as exporters write outlines. The twins are turned; in one variant each
// twin lists its lines in another order and has half of them drawn the other way.
#ifndef BENCH_LOOSE_LINE_FIELD_H
#define BENCH_LOOSE_LINE_FIELD_H

#include <vector>

#include "vexlib/vexlib.h"

namespace drawgen {

enum class LineOrder {
  kAsPart,                // every twin's lines in the part's order and direction
  kShuffledHalfReversed,  // each twin's lines shuffled, every other one of them reversed
};

struct LooseLineField {
  std::vector<int> part;  // the part's segments (its lines, in order)
  int segments = 0;       // segments in the drawing, all of them in the range
  int twins = 0;          // the part included
  int linesPerTwin = 0;
  VexBox partWindow{};
  VexBox rangeWindow{};
};

// Fills the host's drawing (which the caller has reset) with `twins` copies of a polygon of
// `lines` sides on a grid, the first of them the part (as drawn), the others turned. The part's
// first side, the anchor, is the only side of its length.
LooseLineField BuildLooseLineField(int twins, int lines, LineOrder order);

}  // namespace drawgen

#endif  // BENCH_LOOSE_LINE_FIELD_H
