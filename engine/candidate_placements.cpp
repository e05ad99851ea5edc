#include "engine/candidate_placements.h"

#include <algorithm>
#include <cmath>

#include "engine/geometry.h"
#include "engine/host_lists.h"
#include "engine/segment_compare.h"
#include "engine/trial_pairing.h"

namespace twinfind {

bool CandidatePlacements::PassesFilters(const SegmentRef& ref) const {
  if (options_.sameLayer && VexSgmGetLayer(ref.segmentId) != anchorLine.layer) return false;
  return !options_.sameLineAttr || SameHeadLineAttr(ref.segmentId, anchorLine.lineAttr);
}

// A line of the anchor's length is tried from its start and from its end: turned twins may
// run either way, and which way a line was drawn is never to be seen in the drawing, so without
// rotation an end whose direction towards the other end is the anchor's is tried as well.
void CandidatePlacements::Line(const FigureLine& l, std::vector<Placement>& out) const {
  const VexPoint start{l.x1, l.y1}, end{l.x2, l.y2};
  if (std::fabs(VexAriLen2Pnts(&start, &end) - anchorLine.length) >= LengthSlack()) return;
  const double forward = LineAngle(start, end), backward = LineAngle(end, start);
  if (options_.rotate || std::fabs(forward - anchorLine.angle) < options_.tolerance) {
    out.push_back({start, end, forward, false, true});
  }
  if (options_.rotate || std::fabs(backward - anchorLine.angle) < options_.tolerance) {
    out.push_back({end, start, backward, true, true});
  }
}

// A circle or arc of the anchor's size: its centre takes the anchor's centre; the turn comes
// from the point that fixes it, found on the candidate or around it.
void CandidatePlacements::Round(const FigureRecord& f, std::vector<Placement>& out) const {
  const bool arc = f.kind == VEX_FIG_ARC;
  const double radius = arc ? f.u.arc.r : f.u.circle.r;
  if (std::fabs(radius - anchorLine.radius) >= RadiusSlack()) return;
  if (arc && std::fabs(ArcLength(f.u.arc) - anchorLine.arcLength) >= 2 * tolerance_) return;
  const VexPoint centre =
      arc ? VexPoint{f.u.arc.cx, f.u.arc.cy} : VexPoint{f.u.circle.cx, f.u.circle.cy};
  const auto along = [&](double theta) {
    const double reach = anchorLine.length > 0 ? anchorLine.length : 1.0;
    return VexPoint{centre.x + reach * std::cos(theta), centre.y + reach * std::sin(theta)};
  };
  if (anchorLine.turn == AnchorTurn::kNone || !options_.rotate) {
    // A move alone; without a point that fixes the turn, a mirror image is the part itself.
    out.push_back({centre, along(anchorLine.angle), anchorLine.angle, false,
                   anchorLine.turn != AnchorTurn::kNone});
    return;
  }
  std::vector<VexPoint> points;
  if (anchorLine.turn == AnchorTurn::kOwnEnd) {
    points = {{f.u.arc.sx, f.u.arc.sy}, {f.u.arc.ex, f.u.arc.ey}};
  } else {
    // The figures of the feature's kind and size around the candidate, at the feature's
    // distance from its centre.
    const double reach = anchorLine.length + anchorLine.featureRadius + tolerance_;
    const VexBox around{centre.x - reach, centre.y - reach, centre.x + reach, centre.y + reach};
    ResetList(kWindowList);
    std::vector<SegmentRef> near;
    if (VexSgmSearchSegment2(&around, CompareElementType, kWindowList) == 0) {
      near = TakeListRefs(kWindowList);
    }
    SegmentFigures read;
    for (const SegmentRef& ref : near) {
      ReadSegmentFigures(ref, read);
      for (const FigureRecord& g : read.figures) {
        if (g.kind != anchorLine.featureKind) continue;
        if (g.kind == VEX_FIG_CIRCLE) {
          if (std::fabs(g.u.circle.r - anchorLine.featureRadius) >= RadiusSlack()) continue;
          points.push_back({g.u.circle.cx, g.u.circle.cy});
        } else {
          if (std::fabs(g.u.arc.r - anchorLine.featureRadius) >= RadiusSlack() ||
              std::fabs(ArcLength(g.u.arc) - anchorLine.featureArcLength) >= 2 * tolerance_) {
            continue;
          }
          points.push_back({g.u.arc.sx, g.u.arc.sy});
          points.push_back({g.u.arc.ex, g.u.arc.ey});
        }
      }
    }
  }
  for (const VexPoint& p : points) {
    if (std::fabs(VexAriLen2Pnts(&centre, &p) - anchorLine.length) >= LengthSlack()) continue;
    const double theta = LineAngle(centre, p);
    const bool seen = std::any_of(out.begin(), out.end(), [&](const Placement& q) {
      return std::fabs(q.end.x - p.x) < tolerance_ && std::fabs(q.end.y - p.y) < tolerance_ &&
             std::fabs(q.start.x - centre.x) < tolerance_ &&
             std::fabs(q.start.y - centre.y) < tolerance_;
    });
    if (!seen) out.push_back({centre, p, theta, false, true});
  }
}

void CandidatePlacements::Of(const SegmentRef& ref, const std::vector<FigureRecord>& figures,
                             std::vector<Placement>& out) const {
  out.clear();
  bool filtered = false, passes = false;
  for (const FigureRecord& f : figures) {
    if (f.kind != anchorLine.kind) continue;
    if (!filtered) {
      passes = PassesFilters(ref);
      filtered = true;
    }
    if (!passes) return;
    if (f.kind == VEX_FIG_LINE) {
      Line(f.u.line, out);
    } else {
      Round(f, out);
    }
  }
}

}  // namespace twinfind
