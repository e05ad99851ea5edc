#include "ui/color_swatches.h"

#include <algorithm>

#include "settings/settings.h"
#include "ui/picker_tables.h"

namespace twinfind::ui {

bool StaticBkColor::OnPaint(PaintContext& dc) {
  const auto table = BuildColorTable();
  const auto swatch = std::find(kColorSwatchIds.begin(), kColorSwatchIds.end(), GetDlgCtrlID());
  Color color = kBlack;
  if (swatch != kColorSwatchIds.end()) {
    const auto name = kColorNames[static_cast<size_t>(swatch - kColorSwatchIds.begin())];
    color = ColorOf(ColorEntryOfName(table, name));
  }
  dc.FillSolidRect(GetClientRect(), color);
  return true;
}

bool StaticMainColor::OnPaint(PaintContext& dc) {
  const auto table = BuildColorTable();
  dc.FillSolidRect(GetClientRect(), ColorOf(ColorEntryOfName(table, mColorName)));
  return true;
}

}  // namespace twinfind::ui
