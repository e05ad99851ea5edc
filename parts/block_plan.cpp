#include "parts/block_plan.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <set>
#include <tuple>

#include "dxf/entity_pieces.h"
#include "dxf/line_type_names.h"
#include "host/geometry.h"

namespace twinfind::parts {
namespace {

using PieceKey = std::pair<size_t, int>;  // entity, copy (-1: the whole entity)

// A point that stands for a figure wherever it is placed: a line's middle, an arc's middle on
// the curve, a circle's centre, a point; with the figure's kind and size.
struct KeyPoint {
  int kind = 0;
  double x = 0, y = 0, size = 0;
  double direction = 0;  // a line's, in radians
};

std::vector<KeyPoint> KeyPointsOf(const vexhost::Drawing& drawing,
                                  const std::vector<int>& segments) {
  std::vector<KeyPoint> points;
  for (const int id : segments) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (s == nullptr) continue;
    for (const int elementId : s->elements) {
      const vexhost::Element* e = drawing.FindElement(elementId);
      if (e == nullptr || e->type > VEX_ELEMENT_POINT) continue;
      const FigureRecord& f = e->figure;
      switch (f.kind) {
        case VEX_FIG_LINE:
          points.push_back({f.kind, (f.u.line.x1 + f.u.line.x2) / 2,
                            (f.u.line.y1 + f.u.line.y2) / 2,
                            vexhost::Distance(f.u.line.x1, f.u.line.y1, f.u.line.x2, f.u.line.y2),
                            std::atan2(f.u.line.y2 - f.u.line.y1, f.u.line.x2 - f.u.line.x1)});
          break;
        case VEX_FIG_CIRCLE:
          points.push_back({f.kind, f.u.circle.cx, f.u.circle.cy, f.u.circle.r});
          break;
        case VEX_FIG_ARC: {
          const vexhost::ArcSweep sweep = vexhost::SweepOf(f.u.arc);
          const double middle = sweep.from + sweep.sweep / 2;
          points.push_back({f.kind, f.u.arc.cx + f.u.arc.r * std::cos(middle),
                            f.u.arc.cy + f.u.arc.r * std::sin(middle), f.u.arc.r * sweep.sweep});
          break;
        }
        case VEX_FIG_POINT:
          points.push_back({f.kind, f.u.point.x, f.u.point.y, 0});
          break;
        default:
          break;
      }
    }
  }
  return points;
}

dxf::PlaneMap MapOf(const Turn& turn) {
  const double t = turn.angleDegrees * std::numbers::pi / 180;
  const double c = std::cos(t), s = std::sin(t);
  dxf::PlaneMap m;
  if (turn.mirrored) {  // R(t) times the mirroring x -> -x
    m.a = -c, m.b = -s, m.c = -s, m.d = c;
  } else {
    m.a = c, m.b = -s, m.c = s, m.d = c;
  }
  return m;
}

// The placement that takes `from` onto `to` with the turn given: the move is the one that takes
// the middle of the one's key points onto the other's; every placed key point must then meet a
// key point of the twin of its kind and size. Nothing when they do not meet.
std::optional<dxf::PlaneMap> PlacementBetween(const std::vector<KeyPoint>& from,
                                              const std::vector<KeyPoint>& to, const Turn& turn,
                                              double tolerance) {
  if (from.empty() || from.size() != to.size()) return std::nullopt;
  dxf::PlaneMap m = MapOf(turn);
  double fx = 0, fy = 0, tx = 0, ty = 0;
  for (size_t i = 0; i < from.size(); ++i) {
    fx += from[i].x, fy += from[i].y, tx += to[i].x, ty += to[i].y;
  }
  const double n = static_cast<double>(from.size());
  fx /= n, fy /= n, tx /= n, ty /= n;
  m.tx = tx - (m.a * fx + m.b * fy);
  m.ty = ty - (m.c * fx + m.d * fy);
  // The twin's key points on a grid of the tolerance's size, each met once.
  std::multimap<std::pair<long long, long long>, size_t> grid;
  const auto cell = [&](double x, double y) {
    return std::pair<long long, long long>(static_cast<long long>(std::floor(x / tolerance)),
                                           static_cast<long long>(std::floor(y / tolerance)));
  };
  for (size_t i = 0; i < to.size(); ++i) grid.emplace(cell(to[i].x, to[i].y), i);
  std::vector<bool> met(to.size(), false);
  for (const KeyPoint& p : from) {
    const double x = m.a * p.x + m.b * p.y + m.tx, y = m.c * p.x + m.d * p.y + m.ty;
    const auto [cx, cy] = cell(x, y);
    bool found = false;
    for (long long i = cx - 1; i <= cx + 1 && !found; ++i) {
      for (long long j = cy - 1; j <= cy + 1 && !found; ++j) {
        const auto range = grid.equal_range({i, j});
        for (auto it = range.first; it != range.second && !found; ++it) {
          const KeyPoint& q = to[it->second];
          if (met[it->second] || q.kind != p.kind || std::fabs(q.size - p.size) > tolerance ||
              std::hypot(q.x - x, q.y - y) > tolerance) {
            continue;
          }
          met[it->second] = found = true;
        }
      }
    }
    if (!found) return std::nullopt;
  }
  return m;
}

// The placement that takes `from` onto `to`: with the turn the search told, else with the first
// turn that lays the longest line of `from` on a line of `to` of its length (either way round,
// as it is, then mirrored) and puts every other figure in its place too.
std::optional<dxf::PlaneMap> PlaceTwin(const std::vector<KeyPoint>& from,
                                       const std::vector<KeyPoint>& to, const Turn& told,
                                       double tolerance) {
  if (const auto placed = PlacementBetween(from, to, told, tolerance)) return placed;
  const KeyPoint* longest = nullptr;
  for (const KeyPoint& p : from) {
    if (p.kind == VEX_FIG_LINE && (!longest || p.size > longest->size)) longest = &p;
  }
  if (longest == nullptr) return std::nullopt;
  for (const bool mirrored : {false, true}) {
    const double own = mirrored ? std::numbers::pi - longest->direction : longest->direction;
    for (const KeyPoint& q : to) {
      if (q.kind != VEX_FIG_LINE || std::fabs(q.size - longest->size) > tolerance) continue;
      for (const double half : {0.0, std::numbers::pi}) {
        double degrees = (q.direction + half - own) * 180 / std::numbers::pi;
        degrees = std::fmod(std::fmod(degrees, 360.0) + 360.0, 360.0);
        if (const auto placed = PlacementBetween(from, to, Turn{degrees, mirrored}, tolerance)) {
          return placed;
        }
      }
    }
  }
  return std::nullopt;
}

// True when the segments are as the file gave them: in the drawing, of the same shape and
// layer as when it was read (a new colour or line type is fine).
bool AsRead(const vexhost::Drawing& drawing, const std::vector<int>& segments) {
  for (const int id : segments) {
    const auto now = drawing.FingerprintOf(id);
    const auto then = drawing.BaselineFingerprintOf(id);
    if (!now || !then || now->shape != then->shape || now->layer != then->layer) return false;
  }
  return !segments.empty();
}

// What a reference cannot change of a block's figures: the layer, colour and line type of each,
// as a sorted list.
std::vector<std::tuple<int, int, int>> LookOf(const vexhost::Drawing& drawing,
                                              const std::vector<int>& segments) {
  std::vector<std::tuple<int, int, int>> look;
  for (const int id : segments) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (s == nullptr) continue;
    for (const int elementId : s->elements) {
      const vexhost::Element* e = drawing.FindElement(elementId);
      if (e == nullptr || e->type > VEX_ELEMENT_POINT || !e->lineAttr) continue;
      look.emplace_back(s->layer, e->lineAttr->color, e->lineAttr->lineType);
    }
  }
  std::sort(look.begin(), look.end());
  return look;
}

std::vector<PieceKey> KeysOf(const std::vector<dxf::EntityPiece>& pieces) {
  std::vector<PieceKey> keys;
  for (const dxf::EntityPiece& p : pieces) {
    if (p.cells.empty()) keys.emplace_back(p.entity, -1);
    for (const int cell : p.cells) keys.emplace_back(p.entity, cell);
  }
  return keys;
}

struct Candidate {
  const PartMember* member = nullptr;
  std::vector<dxf::EntityPiece> pieces;
  std::string block;  // the block it references, when it is one whole reference
  bool holdsOnly = false;
};

}  // namespace

std::string BlockNameOf(const PartFamily& family) {
  if (family.partNumber.empty()) return "TWINFIND_PART_" + std::to_string(family.number);
  std::string name;
  for (const char c : family.partNumber) {
    const unsigned char u = static_cast<unsigned char>(c);
    name +=
        u < 0x20 || std::string_view("<>/\\\":;?*|=,`").find(c) != std::string_view::npos ? '_' : c;
  }
  return name;
}

BlockPlanning PlanBlocks(const vexhost::Drawing& drawing, const dxf::DxfSource& source,
                         const std::vector<PartFamily>& families, double tolerance) {
  BlockPlanning result;
  std::set<PieceKey> taken;  // by the twins of earlier families
  const double reach = 2 * std::max(0.001, tolerance);
  for (const PartFamily& family : families) {
    const std::string name = "family " + std::to_string(family.number);
    std::vector<Candidate> candidates;
    int inside = 0, changed = 0, more = 0, looks = 0;
    for (const PartMember& m : family.members) {
      Candidate c;
      c.member = &m;
      c.pieces = dxf::PiecesOf(source, m.segments);
      bool free = !c.pieces.empty();
      for (const PieceKey& key : KeysOf(c.pieces)) free = free && taken.count(key) == 0;
      if (!free) {
        ++inside;
        continue;
      }
      if (!AsRead(drawing, m.segments)) {
        ++changed;
        continue;
      }
      c.holdsOnly = dxf::PiecesHoldOnly(source, c.pieces, m.segments);
      if (c.pieces.size() == 1 && c.pieces.front().cells.empty()) {
        c.block = dxf::ReferencedBlock(source, c.pieces.front());
      }
      if (!c.holdsOnly && c.block.empty()) {
        ++more;
        continue;
      }
      candidates.push_back(std::move(c));
    }
    // The block: one a member already references, else one made from a member of whole
    // entities.
    const Candidate* from = nullptr;
    for (const Candidate& c : candidates) {
      if (!from && !c.block.empty()) from = &c;
    }
    bool existing = from != nullptr;
    for (const Candidate& c : candidates) {
      bool whole = c.holdsOnly;
      for (const dxf::EntityPiece& p : c.pieces) whole = whole && p.cells.empty();
      if (!from && whole) from = &c;
    }
    dxf::BlockFamily block;
    block.number = family.number;
    block.name = BlockNameOf(family);
    block.existing = existing;
    int unplaced = 0;
    if (from != nullptr) {
      block.source = from->pieces;
      const VexBox box = survey::BoxOf(drawing, from->member->segments);
      block.baseX = box.minX;
      block.baseY = box.minY;
      const std::vector<KeyPoint> fromPoints = KeyPointsOf(drawing, from->member->segments);
      const auto look = LookOf(drawing, from->member->segments);
      for (const Candidate& c : candidates) {
        dxf::BlockTwin twin;
        twin.pieces = c.pieces;
        twin.stays =
            existing && !c.block.empty() && dxf::UpperCase(c.block) == dxf::UpperCase(from->block);
        if (!twin.stays && !c.holdsOnly) {
          ++more;
          continue;
        }
        if (!twin.stays && LookOf(drawing, c.member->segments) != look) {
          ++looks;  // a reference would draw it on the member's layers, in its colours
          continue;
        }
        const auto placement = PlaceTwin(fromPoints, KeyPointsOf(drawing, c.member->segments),
                                         TurnBetween(*from->member, *c.member), reach);
        if (!placement && !twin.stays) {
          ++unplaced;
          continue;
        }
        if (placement) twin.placement = *placement;
        block.twins.push_back(std::move(twin));
      }
    }
    const int left = inside + changed + more + looks + unplaced;
    const bool made = block.twins.size() >= 2;
    if (made) {
      for (const dxf::BlockTwin& twin : block.twins) {
        for (const PieceKey& key : KeysOf(twin.pieces)) taken.insert(key);
      }
      result.plan.families.push_back(std::move(block));
    } else if (left == 0) {
      result.notes.push_back(name + ": no block, as fewer than two of its twins can be one");
      continue;
    }
    if (left == 0) continue;
    std::string why;
    const auto add = [&why](int n, const std::string& what) {
      if (n > 0) why += (why.empty() ? "" : "; ") + what + ": " + std::to_string(n);
    };
    add(inside, "in twins of an earlier family's block");
    add(changed, "changed or deleted since the drawing was read");
    add(more, "from entities that hold more than the twin (a reference's texts)");
    add(looks, "on other layers or in other colours or line types than the block's member");
    add(unplaced, "not placed figure by figure");
    result.notes.push_back(name + ": " + std::to_string(left) + " of " +
                           std::to_string(family.members.size()) +
                           (left == 1 ? " twins stays as it is (" : " twins stay as they are (") +
                           why + ")" + (made ? "" : "; no block"));
  }
  return result;
}

}  // namespace twinfind::parts
