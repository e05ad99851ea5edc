// A part's figures as a cutting program takes them: its loops (each circle; each group of
// touching lines and arcs whose every end meets another end, walked as one circuit) and the
// open chains of the rest, with the layers and box they come with. The measures of a parts list
// and the part's SVG are read from it.
#ifndef PARTS_PART_OUTLINE_H
#define PARTS_PART_OUTLINE_H

#include <string>
#include <vector>

#include "host/drawing.h"

namespace twinfind::parts {

// One figure of a walk, taken from its end to its start when `backwards`.
struct OutlineStep {
  FigureRecord figure{};
  bool backwards = false;
};

struct OutlineLoop {
  std::vector<OutlineStep> steps;  // one circle alone, or lines and arcs end to end
  bool closed = false;
  double twiceArea = 0;  // signed, for a closed loop (counter-clockwise positive)
};

struct PartOutline {
  std::vector<OutlineLoop> loops;
  VexBox box{};                     // the extent of its figures; 0,0,0,0 for none
  double length = 0;                // of all its lines, arcs and circles
  std::vector<std::string> layers;  // the names of the layers it lies on, in drawing order
};

// Ends closer than `joint` are one point of an outline.
PartOutline OutlineOf(const vexhost::Drawing& drawing, const std::vector<int>& segments,
                      double joint);

// The host's name of a layer, else its number.
std::string LayerName(const vexhost::Drawing& drawing, int layer);

}  // namespace twinfind::parts

#endif  // PARTS_PART_OUTLINE_H
