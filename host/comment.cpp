#include "host/comment.h"

#include <cmath>

#include "host/geometry.h"

namespace vexhost {

std::optional<Comment> MakeTextComment(const NormalTextData& data) {
  if (data.text == nullptr) return std::nullopt;
  TextComment comment{data, data.text};
  comment.record.text = nullptr;
  return comment;
}

std::optional<Comment> MakeBalloonComment(const BalloonData& data) {
  if (data.rowCount < 1 || data.rowCount > 3) return std::nullopt;
  BalloonComment comment{data, {}};
  for (int i = 0; i < data.rowCount; ++i) {
    if (data.rows[i] == nullptr) return std::nullopt;
    comment.rows.emplace_back(data.rows[i]);
  }
  for (const char16_t*& row : comment.record.rows) row = nullptr;
  return comment;
}

void FillRecord(const Comment& comment, VexCommentBuffer& buffer) {
  buffer = VexCommentBuffer{};
  if (const auto* text = std::get_if<TextComment>(&comment)) {
    buffer.text = text->record;
    buffer.text.text = text->text.c_str();
    return;
  }
  const auto& balloon = std::get<BalloonComment>(comment);
  buffer.balloon = balloon.record;
  for (size_t i = 0; i < balloon.rows.size(); ++i) buffer.balloon.rows[i] = balloon.rows[i].c_str();
}

bool CommentWithinLimit(const Comment& comment) {
  if (const auto* text = std::get_if<TextComment>(&comment)) {
    const NormalTextData& t = text->record;
    return WithinLimit(t.x, t.y) && WithinLimit(t.size1) && WithinLimit(t.size2);
  }
  const BalloonData& b = std::get<BalloonComment>(comment).record;
  return WithinLimit(b.centerX, b.centerY) && WithinLimit(b.anchorX, b.anchorY) &&
         WithinLimit(b.diameter);
}

VexBox CommentBounds(const Comment& comment) {
  VexBox box = EmptyBox();
  if (const auto* text = std::get_if<TextComment>(&comment)) {
    const NormalTextData& r = text->record;
    const double width = std::fabs(r.size2) * static_cast<double>(text->text.size());
    Include(box, r.x, r.y);
    Include(box, r.x + width, r.y + std::fabs(r.size1));
    return box;
  }
  const BalloonData& b = std::get<BalloonComment>(comment).record;
  const double radius = std::fabs(b.diameter) / 2;
  Include(box, b.centerX - radius, b.centerY - radius);
  Include(box, b.centerX + radius, b.centerY + radius);
  if (b.leader != 0) Include(box, b.anchorX, b.anchorY);
  return box;
}

Comment TransformComment(const Comment& comment, const PlaneMap& placement) {
  Comment moved = comment;
  if (auto* text = std::get_if<TextComment>(&moved)) {
    const VexPoint p = placement.Apply(text->record.x, text->record.y);
    text->record.x = p.x;
    text->record.y = p.y;
    return moved;
  }
  BalloonData& b = std::get<BalloonComment>(moved).record;
  const VexPoint anchor = placement.Apply(b.anchorX, b.anchorY);
  const VexPoint centre = placement.Apply(b.centerX, b.centerY);
  b.anchorX = anchor.x;
  b.anchorY = anchor.y;
  b.centerX = centre.x;
  b.centerY = centre.y;
  b.diameter *= placement.scale();
  return moved;
}

}  // namespace vexhost
