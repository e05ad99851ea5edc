#include "session/part_pick.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "host/geometry.h"
#include "settings/search_options.h"
#include "settings/settings.h"
#include "survey/survey.h"

namespace twinfind::session {
namespace {

// How far a figure lies from a point: its curve for lines, circles and arcs, its extent for
// the other kinds.
double FigureDistance(const FigureRecord& figure, double x, double y) {
  if (const auto d = vexhost::DistanceToFigure(figure, x, y)) return *d;
  const auto box = vexhost::FigureBounds(figure);
  if (!box) return std::numeric_limits<double>::infinity();
  const double dx = std::max({box->minX - x, 0.0, x - box->maxX});
  const double dy = std::max({box->minY - y, 0.0, y - box->maxY});
  return std::hypot(dx, dy);
}

}  // namespace

double DefaultPickReach(const vexhost::Drawing& drawing) {
  const VexBox box = survey::BoxOf(drawing, drawing.SegmentIds());
  if (vexhost::IsEmpty(box)) return 1.0;
  return std::max(box.maxX - box.minX, box.maxY - box.minY) / 200.0;
}

void PartPicker::Form(const vexhost::Drawing& drawing, uint64_t digest) {
  if (digest_ == digest && hidden_ == drawing.hiddenLayers()) return;
  // What a window takes: figures of lasting segments on layers that are shown.
  std::vector<int> segments = survey::RangeSegments(drawing, nullptr);
  std::erase_if(segments,
                [&](int id) { return !drawing.LayerVisible(drawing.FindSegment(id)->layer); });
  const double joint = CoordinateTolerance(SearchOptionsOf(ReadSettings()));
  forest_ = survey::FormCandidates(drawing, segments, joint);
  partOf_.clear();
  for (size_t p = 0; p < forest_.parts.size(); ++p) {
    for (const int id : forest_.parts[p].own) partOf_[id] = static_cast<int>(p);
  }
  digest_ = digest;
  hidden_ = drawing.hiddenLayers();
}

std::optional<PickedPart> PartPicker::At(const vexhost::Drawing& drawing, uint64_t digest, double x,
                                         double y, double reach) {
  if (!std::isfinite(x) || !std::isfinite(y) || !(reach > 0)) return std::nullopt;
  Form(drawing, digest);
  int nearest = -1;
  double best = reach;
  for (const int id : drawing.SegmentsNear({x - reach, y - reach, x + reach, y + reach})) {
    if (partOf_.count(id) == 0) continue;  // hidden, temporary, or no figures
    for (const FigureRecord& f : survey::FiguresOf(drawing, id)) {
      const double d = FigureDistance(f, x, y);
      if (d <= best) {
        best = d;
        nearest = id;
      }
    }
  }
  if (nearest < 0) return std::nullopt;
  PickedPart part;
  part.segments = survey::SegmentsOf(forest_, partOf_.at(nearest));
  part.box = survey::BoxOf(drawing, part.segments);
  const double size =
      std::max({part.box.maxX - part.box.minX, part.box.maxY - part.box.minY, 1e-9});
  const double hair = size * 1e-6;
  part.window = {part.box.minX - hair, part.box.minY - hair, part.box.maxX + hair,
                 part.box.maxY + hair};
  return part;
}

}  // namespace twinfind::session
