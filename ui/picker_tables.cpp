#include "ui/picker_tables.h"

#include "settings/ascii_case.h"
#include "settings/settings.h"
#include "ui/bitmap.h"

namespace twinfind::ui {

std::array<ColorEntry, 17> BuildColorTable() {
  const auto& n = kColorNames;
  return {{
      {n[0], 0, 255, 255, 255},  // entry 0: the default
      {n[0], 0, 255, 255, 255},
      {n[1], 1, 0, 192, 255},
      {n[2], 2, 60, 255, 80},
      {n[3], 3, 255, 64, 192},
      {n[4], 4, 224, 224, 0},
      {n[5], 5, 255, 0, 0},
      {n[6], 6, 255, 128, 128},
      {n[7], 7, 0, 128, 255},
      {n[8], 8, 255, 255, 0},
      {n[9], 9, 128, 128, 128},
      {n[10], 10, 0, 255, 255},
      {n[11], 11, 0, 0, 255},
      {n[12], 12, 128, 0, 255},
      {n[13], 13, 128, 128, 255},
      {n[14], 14, 128, 0, 128},
      {n[15], 15, 128, 128, 0},
  }};
}

ColorEntry ColorEntryOfName(const std::array<ColorEntry, 17>& table, std::u16string_view name) {
  for (size_t i = 1; i < table.size(); ++i) {
    if (EqualsIgnoringAsciiCase(table[i].name, name)) return table[i];
  }
  return table[0];
}

int LineTypeBitmapOfName(std::u16string_view name) {
  for (size_t i = 0; i < kLineTypeNames.size(); ++i) {
    if (EqualsIgnoringAsciiCase(kLineTypeNames[i], name)) {
      return kFirstLineTypeBitmap + static_cast<int>(i);
    }
  }
  return kFirstLineTypeBitmap;
}

}  // namespace twinfind::ui
