// The two owner-painted static controls that show colours: a picker swatch, coloured by its
// control id, and the settings dialog's swatch, coloured by a colour name.
#ifndef UI_COLOR_SWATCHES_H
#define UI_COLOR_SWATCHES_H

#include <string>

#include "ui/dialog.h"

namespace twinfind::ui {

class StaticBkColor : public StaticControl {
 public:
  std::u16string mColorName;  // not used: the id decides the colour
  // Fills the client area with the colour of its control id (17015 "MAINCOLOR01", 17032 to
  // 17046 "MAINCOLOR02" to "MAINCOLOR16"); any other id black.
  bool OnPaint(PaintContext& dc) override;
};

class StaticMainColor : public StaticControl {
 public:
  std::u16string mColorName = u"MAINCOLOR01";
  // Fills the client area with the colour of mColorName; a name not in the colour table
  // (an empty one too) paints the colour of "MAINCOLOR01", white.
  bool OnPaint(PaintContext& dc) override;
};

}  // namespace twinfind::ui

#endif  // UI_COLOR_SWATCHES_H
