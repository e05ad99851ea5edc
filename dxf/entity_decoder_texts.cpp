// The texts of EntityDecoder: TEXT, ATTRIB (standing alone or added to their block reference)
// and MTEXT, laid out as the host keeps texts (dxf/text_layout.h).
#include <cmath>
#include <string>
#include <utility>

#include "dxf/entity_decoder.h"
#include "dxf/text_layout.h"

namespace twinfind::dxf {
namespace {

// ATTRIB flag 1: the attribute is invisible.
constexpr int kInvisibleAttribute = 1;

}  // namespace

std::optional<TextLine> EntityDecoder::TextOf(std::string_view type, bool attribute) {
  TextEntity t;
  t.x = Required(10);
  t.y = Required(20);
  const bool hasAlign = fields_.Last(11) != nullptr && fields_.Last(21) != nullptr;
  t.alignX = hasAlign ? Real(11, 0) : 0;
  t.alignY = hasAlign ? Real(21, 0) : 0;
  t.height = Real(40, 2.5);
  t.widthFactor = Real(41, 1);
  t.horizontal = Int(72, 0);
  t.vertical = Int(attribute ? 74 : 73, 0);
  const auto side = PlaneSide();
  if (Faulty()) {
    NotHeld(type, fault_);
    return std::nullopt;
  }
  if (!side) {
    NotHeld(type, "not in the drawing plane");
    return std::nullopt;
  }
  t.x *= *side;
  t.alignX *= *side;
  t.hasAlignPoint = hasAlign && std::isfinite(t.alignX) && std::isfinite(t.alignY);
  const Group* value = fields_.First(1);  // whole
  t.text = PlainText(
      DecodeValue(value ? std::string_view(value->value) : std::string_view(), encoding_));
  if (IsBlank(t.text)) {
    NotHeld(type, "empty");
    return std::nullopt;
  }
  const TextLine line = PlaceText(t);
  if (!Usable(line.x) || !Usable(line.y) || !Usable(line.height) || !(line.height > 0) ||
      !Usable(line.charWidth) || !(line.charWidth > 0)) {
    NotHeld(type, "invalid geometry");
    return std::nullopt;
  }
  return line;
}

void EntityDecoder::Text(std::string_view type) {
  if (!target_) return;
  const bool attribute = type == "ATTRIB";
  if (attribute && refusedReference_) return;  // it goes with its reference
  if (attribute && (Int(70, 0) & kInvisibleAttribute) != 0) return;
  auto line = TextOf(type, attribute);
  if (!line) return;
  if (attribute && openInsert_ && *openInsert_ < target_->items.size()) {
    target_->InsertOf(target_->items[*openInsert_]).attributes.push_back(std::move(*line));
    return;
  }
  // An attribute without its block reference stands as a text of its own.
  std::vector<TextLine> lines;
  lines.push_back(std::move(*line));
  AddTexts(NewItem(Item::Kind::kTexts, type), std::move(lines));
}

void EntityDecoder::MText() {
  if (!target_) return;
  const double x = Required(10), y = Required(20);
  const double height = Real(40, 2.5), spacing = Real(44, 1);
  if (Faulty()) return NotHeld("MTEXT", fault_);
  // The text comes in pieces of 250 characters (group 3) before its last piece (group 1).
  std::string raw;
  for (size_t i = 1; i < groups_.size() && groups_[i].code != 101; ++i) {
    if (groups_[i].code == 3) raw += groups_[i].value;
  }
  if (const Group* last = fields_.Last(1)) raw += last->value;
  const auto lines = PlainMTextLines(DecodeValue(raw, encoding_));
  std::vector<TextLine> placed = PlaceMText(lines, x, y, height, Int(71, 1), spacing);
  if (placed.empty()) return NotHeld("MTEXT", "empty");
  for (const TextLine& t : placed) {
    if (!Usable(t.x) || !Usable(t.y) || !Usable(t.height) || !(t.height > 0)) {
      return NotHeld("MTEXT", "invalid geometry");
    }
  }
  AddTexts(NewItem(Item::Kind::kTexts, "MTEXT"), std::move(placed));
}

}  // namespace twinfind::dxf
