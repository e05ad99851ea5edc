#include "session/part_pick.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "host/geometry.h"
#include "host/outline.h"
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
  joint_ = CoordinateTolerance(SearchOptionsOf(ReadSettings()));
  forest_ = survey::FormCandidates(drawing, segments, joint_);
  faces_.clear();
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
  std::optional<std::vector<int>> region;
  int group = -1;
  if (nearest >= 0) {
    group = partOf_.at(nearest);
    if (forest_.parts[static_cast<size_t>(group)].own.size() > 1) {
      region = RegionAt(drawing, group, nearest, x, y);
    }
  } else {
    // Far from every figure: the part whose closed outline holds the point, the innermost.
    double smallest = std::numeric_limits<double>::infinity();
    for (size_t p = 0; p < forest_.parts.size(); ++p) {
      const survey::CandidatePart& candidate = forest_.parts[p];
      const VexBox& b = candidate.box;
      const double area = (b.maxX - b.minX) * (b.maxY - b.minY);
      if (!candidate.closed || x < b.minX || x > b.maxX || y < b.minY || y > b.maxY ||
          !(area < smallest)) {
        continue;
      }
      const std::vector<FigureRecord> figures = survey::FiguresOf(drawing, candidate.own);
      if (!vexhost::IsOutside(figures.data(), static_cast<int>(figures.size()), x, y)) {
        smallest = area;
        group = static_cast<int>(p);
      }
    }
    if (group < 0) return std::nullopt;
  }
  PickedPart part;
  part.segments = region ? std::move(*region) : survey::SegmentsOf(forest_, group);
  part.box = survey::BoxOf(drawing, part.segments);
  const double size =
      std::max({part.box.maxX - part.box.minX, part.box.maxY - part.box.minY, 1e-9});
  const double hair = size * 1e-6;
  part.window = {part.box.minX - hair, part.box.minY - hair, part.box.maxX + hair,
                 part.box.maxY + hair};
  return part;
}

std::optional<std::vector<int>> PartPicker::RegionAt(const vexhost::Drawing& drawing, int group,
                                                     int nearest, double x, double y) {
  // A plan's rooms are no parts: past this many regions a group is taken whole.
  constexpr size_t kMostRegions = 200;
  auto formed = faces_.find(group);
  if (formed == faces_.end()) {
    formed = faces_
                 .emplace(group, survey::BoundedFaces(drawing,
                                                      forest_.parts[static_cast<size_t>(group)].own,
                                                      joint_, kMostRegions))
                 .first;
  }
  const std::vector<survey::OutlineFace>& faces = formed->second;
  std::vector<FigureRecord> outline = survey::FiguresOf(drawing, nearest);
  std::vector<int> taken = {nearest};
  double area = 0;
  if (vexhost::IsClosedChain(outline)) {
    const auto own = survey::BoundedFaces(drawing, {nearest}, joint_, 1);
    if (own.size() != 1) return std::nullopt;
    area = own.front().area;
  } else {
    // The regions the clicked figure bounds: the one the click lies in, else the smallest.
    const survey::OutlineFace* best = nullptr;
    bool bestHolds = false;
    for (const survey::OutlineFace& face : faces) {
      if (!std::binary_search(face.segments.begin(), face.segments.end(), nearest)) continue;
      const bool holds =
          !vexhost::IsOutside(face.boundary.data(), static_cast<int>(face.boundary.size()), x, y);
      if (!best || (holds && !bestHolds) || (holds == bestHolds && face.area < best->area)) {
        best = &face;
        bestHolds = holds;
      }
    }
    if (!best) return std::nullopt;
    outline = best->boundary;
    taken = best->segments;
    area = best->area;
  }
  // Parts side by side repeat: the group bounds another region of the same area. A symbol
  // drawn of regions that differ (a sofa's seat, back and arms) is one part, taken whole.
  const auto sameArea = [&](const survey::OutlineFace& face) {
    return std::abs(face.area - area) <= 1e-3 * area;
  };
  if (!(area > 0) || std::count_if(faces.begin(), faces.end(), sameArea) < 2) return std::nullopt;
  // The region's outline with what lies on it or inside it: holes, marks, a neighbour's edge
  // drawn on its own, never a neighbour whose outline only touches it.
  VexBox box = vexhost::EmptyBox();
  for (const FigureRecord& f : outline) {
    if (const auto b = vexhost::FigureBounds(f)) vexhost::Include(box, *b);
  }
  if (vexhost::IsEmpty(box)) return std::nullopt;
  const VexBox near{box.minX - joint_, box.minY - joint_, box.maxX + joint_, box.maxY + joint_};
  const vexhost::Outline inside(outline.data(), static_cast<int>(outline.size()));
  std::vector<int> candidates = drawing.SegmentsNear(near);
  candidates.insert(candidates.end(), taken.begin(), taken.end());
  std::sort(candidates.begin(), candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
  std::vector<int> region;
  for (const int id : candidates) {
    const auto bounds = drawing.SegmentBounds(id);
    if (partOf_.count(id) == 0 || !bounds || !vexhost::Contains(near, *bounds)) continue;
    const auto points = survey::TestPoints(survey::FiguresOf(drawing, id));
    if (points.empty() || std::any_of(points.begin(), points.end(), [&](const auto& p) {
          return inside.IsOutside(p.first, p.second);
        })) {
      continue;
    }
    region.push_back(id);
  }
  if (std::find(region.begin(), region.end(), nearest) == region.end()) return std::nullopt;
  return region;
}

}  // namespace twinfind::session
