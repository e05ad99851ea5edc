#include "parts/part_measures.h"

#include <algorithm>
#include <cmath>

#include "parts/part_outline.h"

namespace twinfind::parts {

PartMeasures MeasurePart(const vexhost::Drawing& drawing, const std::vector<int>& segments,
                         double joint) {
  const PartOutline outline = OutlineOf(drawing, segments, joint);
  PartMeasures m;
  m.box = outline.box;
  m.cutLength = outline.length;
  m.layers = outline.layers;
  for (const OutlineLoop& loop : outline.loops) {
    if (!loop.closed) continue;
    ++m.loops;
    m.outerArea = std::max(m.outerArea, std::fabs(loop.twiceArea) / 2);
  }
  return m;
}

}  // namespace twinfind::parts
