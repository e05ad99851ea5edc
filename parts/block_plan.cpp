#include "parts/block_plan.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "dxf/entity_pieces.h"
#include "dxf/line_type_names.h"

namespace twinfind::parts {
namespace {

using PieceKey = std::pair<size_t, int>;  // entity, copy (-1: the whole entity)

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
                         const std::vector<PartFamily>& families) {
  BlockPlanning result;
  std::set<PieceKey> taken;  // by the twins of earlier families
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
    if (from != nullptr) {
      block.source = from->pieces;
      const VexBox box = survey::BoxOf(drawing, from->member->segments);
      block.baseX = box.minX;
      block.baseY = box.minY;
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
        // The search laid the part on both: the one's motion undone, the other's done.
        twin.placement = MotionBetween(*from->member, *c.member);
        block.twins.push_back(std::move(twin));
      }
    }
    const int left = inside + changed + more + looks;
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
    result.notes.push_back(name + ": " + std::to_string(left) + " of " +
                           std::to_string(family.members.size()) +
                           (left == 1 ? " twins stays as it is (" : " twins stay as they are (") +
                           why + ")" + (made ? "" : "; no block"));
  }
  return result;
}

}  // namespace twinfind::parts
