// Comments: the plain texts and balloons that comment segments hold.
#ifndef HOST_COMMENT_H
#define HOST_COMMENT_H

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "host/transform.h"
#include "vexlib/vexlib.h"

namespace vexhost {

// A plain text: the record as given (its text pointer cleared) and a copy of its text.
struct TextComment {
  NormalTextData record{};
  std::u16string text;
};

// A balloon: the record as given (its row pointers cleared) and copies of its rows.
struct BalloonComment {
  BalloonData record{};
  std::vector<std::u16string> rows;
};

using Comment = std::variant<TextComment, BalloonComment>;

// Copies of the texts the records point to; nothing when a record is not well formed (a
// balloon needs 1 to 3 rows, every text pointer must be set).
std::optional<Comment> MakeTextComment(const NormalTextData& data);
std::optional<Comment> MakeBalloonComment(const BalloonData& data);

// The record of a comment as a caller reads it: the text pointers point into the comment.
void FillRecord(const Comment& comment, VexCommentBuffer& buffer);

// Every point and size of the comment is usable (host/geometry.h): a text's point and sizes,
// a balloon's centre, anchor and diameter.
bool CommentWithinLimit(const Comment& comment);

// How far a comment reaches: a text from its point along its characters (each as wide as the
// second size, as high as the first); a balloon's circle and, with a leader, its anchor.
VexBox CommentBounds(const Comment& comment);

// The comment under a placement: its points move, a balloon's diameter scales.
Comment TransformComment(const Comment& comment, const PlaneMap& placement);

}  // namespace vexhost

#endif  // HOST_COMMENT_H
