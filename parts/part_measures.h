// What a cutting shop asks of one part: its size, the length of its cut, how many closed loops
// (pierces) it has and the area inside its outer outline, measured on the host's figures.
#ifndef PARTS_PART_MEASURES_H
#define PARTS_PART_MEASURES_H

#include <string>
#include <vector>

#include "host/drawing.h"
#include "settings/search_options.h"

namespace twinfind::parts {

struct PartMeasures {
  VexBox box{};          // the extent of its figures
  double cutLength = 0;  // the length of all its lines, arcs and circles
  int loops = 0;         // closed loops: circles, and groups of lines and arcs whose every end
                         // meets another end (a closed outline)
  double outerArea = 0;  // the area inside the largest closed loop (holes not taken off)
  std::vector<std::string> layers;  // the names of the layers it lies on, in drawing order
};

// Ends closer than `joint` are one point of an outline.
PartMeasures MeasurePart(const vexhost::Drawing& drawing, const std::vector<int>& segments,
                         double joint = kCoordinateTolerance);

}  // namespace twinfind::parts

#endif  // PARTS_PART_MEASURES_H
