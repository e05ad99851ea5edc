#include "host/search.h"

#include <algorithm>

#include "host/drawing.h"
#include "host/geometry.h"

namespace vexhost {
namespace {

bool Accepted(const Drawing& drawing, const Segment& s, VexElementFilter filter) {
  if (s.life != VEX_LIFE_LASTING) return false;  // the temporary drawing is not searched
  if (filter == nullptr) return !s.elements.empty();
  return std::any_of(s.elements.begin(), s.elements.end(),
                     [&](int e) { return drawing.FindElement(e) != nullptr && filter(e) != 0; });
}

bool Meets(const Drawing& drawing, const Segment& s, const VexBox& area, SearchMode mode) {
  if (mode == SearchMode::kWindow) {
    const auto bounds = drawing.SegmentBounds(s.id);
    const VexBox widened{area.minX - kSearchTolerance, area.minY - kSearchTolerance,
                         area.maxX + kSearchTolerance, area.maxY + kSearchTolerance};
    return bounds && Contains(widened, *bounds);
  }
  return std::any_of(s.elements.begin(), s.elements.end(), [&](int e) {
    const Element& element = *drawing.FindElement(e);
    if (element.comment) {
      // A text or balloon meets the area when its box does.
      const VexBox near{area.minX - kSearchTolerance, area.minY - kSearchTolerance,
                        area.maxX + kSearchTolerance, area.maxY + kSearchTolerance};
      return Overlaps(CommentBounds(*element.comment), near);
    }
    return FigureTouches(element.figure, area, kSearchTolerance);
  });
}

}  // namespace

std::vector<int> SearchSegments(const Drawing& drawing, const VexBox* area, VexElementFilter filter,
                                SearchMode mode, bool useIndex) {
  std::vector<int> found;
  if (area == nullptr) {
    for (const int id : drawing.SegmentIds()) {
      if (Accepted(drawing, *drawing.FindSegment(id), filter)) found.push_back(id);
    }
    return found;
  }
  // An area whose minimum lies above its maximum is empty: nothing meets it.
  const VexBox& box = *area;
  if (IsEmpty(box)) return found;
  const VexBox near{box.minX - kSearchTolerance, box.minY - kSearchTolerance,
                    box.maxX + kSearchTolerance, box.maxY + kSearchTolerance};
  const std::vector<int> candidates = useIndex ? drawing.SegmentsNear(near) : drawing.SegmentIds();
  for (const int id : candidates) {
    const Segment& s = *drawing.FindSegment(id);
    if (Meets(drawing, s, box, mode) && Accepted(drawing, s, filter)) found.push_back(id);
  }
  return found;
}

std::vector<int> SelectSegments(const Drawing& drawing, const VexBox* area,
                                VexElementFilter filter) {
  std::vector<int> found = SearchSegments(drawing, area, filter, SearchMode::kWindow);
  if (drawing.hiddenLayers().empty()) return found;
  found.erase(
      std::remove_if(found.begin(), found.end(),
                     [&](int id) { return !drawing.LayerVisible(drawing.FindSegment(id)->layer); }),
      found.end());
  return found;
}

}  // namespace vexhost
