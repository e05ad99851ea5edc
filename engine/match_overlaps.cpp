#include "engine/match_overlaps.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

#include "engine/shape_model.h"

namespace twinfind {

namespace {

double SignedArea(const std::vector<VexPoint>& polygon) {
  double area = 0;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const VexPoint& p = polygon[i];
    const VexPoint& q = polygon[(i + 1) % polygon.size()];
    area += p.x * q.y - q.x * p.y;
  }
  return area / 2;
}

// The hull carried by the motion, counter-clockwise again after a mirroring.
std::vector<VexPoint> Placed(const std::vector<VexPoint>& hull, const PlaneMap& motion) {
  std::vector<VexPoint> placed;
  for (const VexPoint& p : hull) placed.push_back(motion.Apply(p.x, p.y));
  if (SignedArea(placed) < 0) std::reverse(placed.begin(), placed.end());
  return placed;
}

// The area two convex counter-clockwise polygons share: the one clipped by each side of the
// other in turn.
double SharedArea(std::vector<VexPoint> clipped, const std::vector<VexPoint>& by) {
  for (size_t i = 0; i < by.size() && !clipped.empty(); ++i) {
    const VexPoint& a = by[i];
    const VexPoint& b = by[(i + 1) % by.size()];
    const auto side = [&](const VexPoint& p) {
      return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
    };
    std::vector<VexPoint> kept;
    for (size_t j = 0; j < clipped.size(); ++j) {
      const VexPoint& p = clipped[j];
      const VexPoint& q = clipped[(j + 1) % clipped.size()];
      const double sp = side(p), sq = side(q);
      if (sp >= 0) kept.push_back(p);
      if ((sp >= 0) != (sq >= 0)) {
        const double t = sp / (sp - sq);
        kept.push_back({p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)});
      }
    }
    clipped = std::move(kept);
  }
  return clipped.size() < 3 ? 0 : SignedArea(clipped);
}

}  // namespace

std::vector<bool> OverlappedMatches(const std::vector<std::vector<int>>& matches,
                                    const std::vector<PlaneMap>& motions,
                                    const std::vector<VexPoint>& hull) {
  const double area = hull.size() >= 3 ? std::fabs(SignedArea(hull)) : 0;
  // Whether the part at the two places lies on itself: with no area to tell by (a part along
  // one line), any shared segment says so.
  const auto onEachOther = [&](size_t a, size_t b) {
    if (area <= 0) return true;
    return SharedArea(Placed(hull, motions[a]), Placed(hull, motions[b])) > area / 100;
  };
  // From the last match back: the later matches holding each segment.
  std::unordered_map<int, std::vector<size_t>> later;
  std::vector<bool> dropped(matches.size(), false);
  for (size_t m = matches.size(); m-- > 0;) {
    for (const int id : matches[m]) {
      const auto it = later.find(id);
      if (it == later.end()) continue;
      for (const size_t other : it->second) {
        if (!dropped[m] && onEachOther(m, other)) dropped[m] = true;
      }
      if (dropped[m]) break;
    }
    for (const int id : matches[m]) {
      std::vector<size_t>& holders = later[id];
      if (holders.empty() || holders.back() != m) holders.push_back(m);
    }
  }
  return dropped;
}

void DropOverlappingMatches(std::vector<MatchRecord>& matches, const std::vector<VexPoint>& hull) {
  std::vector<std::vector<int>> ids(matches.size());
  std::vector<PlaneMap> motions;
  for (size_t m = 0; m < matches.size(); ++m) {
    for (int i = 1; i <= matches[m].segmentCount(); ++i) {
      ids[m].push_back(matches[m].segment(i).segmentId);
    }
    motions.push_back(matches[m].motion);
  }
  const std::vector<bool> dropped = OverlappedMatches(ids, motions, hull);
  size_t kept = 0;
  for (size_t m = 0; m < matches.size(); ++m) {
    if (dropped[m]) continue;
    if (kept != m) matches[kept] = std::move(matches[m]);
    ++kept;
  }
  matches.resize(kept);
}

}  // namespace twinfind
