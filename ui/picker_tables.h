// The tables of the pickers: the colour table with its red, green and blue, and which picker
// control shows which colour name and which line-type name.
#ifndef UI_PICKER_TABLES_H
#define UI_PICKER_TABLES_H

#include <array>
#include <cstdint>
#include <string_view>

#include "ui/paint.h"
#include "ui/resource.h"

namespace twinfind::ui {

struct ColorEntry {
  std::u16string_view name;
  int32_t number;  // host colour number
  int32_t red;
  int32_t green;
  int32_t blue;
};

// The colour table: entry 0 is the default {"MAINCOLOR01", 0, 255, 255, 255}, entries 1 to 16
// the colours in picker order. Built afresh for every paint and every lookup.
std::array<ColorEntry, 17> BuildColorTable();

// The entry of a name, ignoring letter case, entries 1 upward, the first equal one; entry 0
// when none is equal.
ColorEntry ColorEntryOfName(const std::array<ColorEntry, 17>& table, std::u16string_view name);

constexpr Color ColorOf(const ColorEntry& entry) { return RGB(entry.red, entry.green, entry.blue); }

// The picker controls, one for each name in picker order.
inline constexpr std::array<int, 16> kColorSwatchIds = {
    IDC_COLOR_01, IDC_COLOR_02, IDC_COLOR_03, IDC_COLOR_04, IDC_COLOR_05, IDC_COLOR_06,
    IDC_COLOR_07, IDC_COLOR_08, IDC_COLOR_09, IDC_COLOR_10, IDC_COLOR_11, IDC_COLOR_12,
    IDC_COLOR_13, IDC_COLOR_14, IDC_COLOR_15, IDC_COLOR_16,
};
inline constexpr std::array<int, 10> kLineTypeSampleIds = {
    IDC_LINETYPE_01, IDC_LINETYPE_02, IDC_LINETYPE_03, IDC_LINETYPE_04, IDC_LINETYPE_05,
    IDC_LINETYPE_06, IDC_LINETYPE_07, IDC_LINETYPE_08, IDC_LINETYPE_09, IDC_LINETYPE_10,
};

// The sample bitmap of a line-type name: "LINETYPE01" to "LINETYPE10" (ignoring case) give
// 17046 to 17055, any other name 17046.
int LineTypeBitmapOfName(std::u16string_view name);

}  // namespace twinfind::ui

#endif  // UI_PICKER_TABLES_H
