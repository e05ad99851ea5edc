// Where the lines of a DXF text go in the host: the host keeps a text as its left end on the
// baseline, a height and a width per character, and reaches from that point along its
// characters. TEXT entities aligned on their centre or right end, and MTEXT paragraphs stacked
// under an attachment point, are laid out here with that model.
#ifndef DXF_TEXT_LAYOUT_H
#define DXF_TEXT_LAYOUT_H

#include <string>
#include <vector>

#include "dxf/dxf_model.h"

namespace twinfind::dxf {

// The width of one character as a share of the text height (times the width factor of the
// DXF text). The balloon method's own texts use 10 high and 7 wide, the same ratio.
inline constexpr double kCharWidthRatio = 0.7;

// The distance between the baselines of two MTEXT lines, as a share of the text height
// (times the line-spacing factor): AutoCAD's usual spacing of five thirds.
inline constexpr double kLinePitchRatio = 5.0 / 3.0;

// A TEXT (or ATTRIB) entity: its first alignment point, its second one (used when the text is
// aligned otherwise than left on the baseline), height, width factor and the two alignment
// codes 72 (0 left, 1 centre, 2 right, 3 aligned, 4 middle, 5 fit) and 73 (0 baseline,
// 1 bottom, 2 middle, 3 top).
struct TextEntity {
  std::u16string text;
  double x = 0, y = 0;
  double alignX = 0, alignY = 0;
  bool hasAlignPoint = false;
  double height = 0;
  double widthFactor = 1;
  int horizontal = 0;
  int vertical = 0;
};

TextLine PlaceText(const TextEntity& text);

// An MTEXT entity: its lines, insertion point, height, attachment (1 top left ... 9 bottom
// right) and line-spacing factor. Blank lines keep their place but give no text.
std::vector<TextLine> PlaceMText(const std::vector<std::u16string>& lines, double x, double y,
                                 double height, int attachment, double spacingFactor);

}  // namespace twinfind::dxf

#endif  // DXF_TEXT_LAYOUT_H
