// How each host line type looks in its sample bitmap: a horizontal stroke made of dashes and
// gaps that repeat. The three broken families (dashed, chain, two-dot chain) come each in a
// short, a normal and a long scale.
#ifndef UI_BITMAPS_LINETYPE_PATTERNS_H
#define UI_BITMAPS_LINETYPE_PATTERNS_H

#include <array>
#include <string_view>
#include <vector>

namespace twinfind::ui {

struct LineTypePattern {
  int hostNumber;
  std::string_view description;
  std::vector<int> runs;  // pixels drawn, pixels left out, drawn, ...; repeated; empty: solid
};

// Indexed by host line-type number.
inline const std::array<LineTypePattern, 10>& LineTypePatterns() {
  static const std::array<LineTypePattern, 10> patterns{{
      {0, "solid", {}},
      {1, "dashed", {8, 4}},
      {2, "chain (dash, dot)", {12, 3, 2, 3}},
      {3, "two-dot chain (dash, dot, dot)", {12, 3, 2, 3, 2, 3}},
      {4, "dotted", {2, 3}},
      {5, "short chain", {6, 3, 2, 3}},
      {6, "short two-dot chain", {6, 3, 2, 3, 2, 3}},
      {7, "long dashed", {16, 5}},
      {8, "long chain", {20, 4, 2, 4}},
      {9, "long two-dot chain", {20, 4, 2, 4, 2, 4}},
  }};
  return patterns;
}

// Where the stroke lies in the 62 x 23 sample: columns [4, 58), rows 10 and 11.
inline constexpr int kStrokeLeft = 4;
inline constexpr int kStrokeRight = 58;
inline constexpr int kStrokeTop = 10;
inline constexpr int kStrokeRows = 2;

}  // namespace twinfind::ui

#endif  // UI_BITMAPS_LINETYPE_PATTERNS_H
