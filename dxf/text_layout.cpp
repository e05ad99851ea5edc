#include "dxf/text_layout.h"

#include "dxf/text_codec.h"

namespace twinfind::dxf {

TextLine PlaceText(const TextEntity& t) {
  TextLine line;
  line.text = t.text;
  line.height = t.height;
  line.charWidth = kCharWidthRatio * t.height * (t.widthFactor > 0 ? t.widthFactor : 1.0);
  line.x = t.x;
  line.y = t.y;
  // Aligned and fitted texts run from the first point to the second; left-and-baseline texts
  // start at the first point. The others hang off the second point by their own size.
  const bool usesSecondPoint = t.hasAlignPoint && !(t.horizontal == 0 && t.vertical == 0) &&
                               t.horizontal != 3 && t.horizontal != 5;
  if (!usesSecondPoint) return line;
  const double width = line.charWidth * static_cast<double>(t.text.size());
  line.x = t.alignX;
  line.y = t.alignY;
  if (t.horizontal == 1 || t.horizontal == 4) line.x -= width / 2;
  if (t.horizontal == 2) line.x -= width;
  if (t.horizontal == 4 || t.vertical == 2) {
    line.y -= t.height / 2;
  } else if (t.vertical == 3) {
    line.y -= t.height;
  }
  return line;
}

std::vector<TextLine> PlaceMText(const std::vector<std::u16string>& lines, double x, double y,
                                 double height, int attachment, double spacingFactor) {
  std::vector<TextLine> placed;
  if (lines.empty()) return placed;
  if (attachment < 1 || attachment > 9) attachment = 1;
  const double pitch = kLinePitchRatio * height * (spacingFactor > 0 ? spacingFactor : 1.0);
  const double block = height + pitch * static_cast<double>(lines.size() - 1);
  const int row = (attachment - 1) / 3;     // 0 top, 1 middle, 2 bottom
  const int column = (attachment - 1) % 3;  // 0 left, 1 centre, 2 right
  double baseline = y - height;             // the first line hangs below a top attachment
  if (row == 1) baseline = y + block / 2 - height;
  if (row == 2) baseline = y + block - height;
  for (const std::u16string& text : lines) {
    if (!IsBlank(text)) {
      TextLine line;
      line.text = text;
      line.height = height;
      line.charWidth = kCharWidthRatio * height;
      const double width = line.charWidth * static_cast<double>(text.size());
      line.x = x - (column == 1 ? width / 2 : column == 2 ? width : 0.0);
      line.y = baseline;
      placed.push_back(std::move(line));
    }
    baseline -= pitch;
  }
  return placed;
}

}  // namespace twinfind::dxf
