// The host's 16 colours and 10 line types: what a colour number and a line-type number look
// like, for pictures and for exchanging drawings with other CAD programs.
#ifndef HOST_PALETTE_H
#define HOST_PALETTE_H

#include <array>
#include <cstdint>
#include <string_view>

namespace vexhost {

struct Rgb {
  uint8_t r, g, b;
};

// Colour number n (0..15) on a dark drawing background.
inline constexpr std::array<Rgb, 16> kColors = {{{255, 255, 255},
                                                 {0, 192, 255},
                                                 {60, 255, 80},
                                                 {255, 64, 192},
                                                 {224, 224, 0},
                                                 {255, 0, 0},
                                                 {255, 128, 128},
                                                 {0, 128, 255},
                                                 {255, 255, 0},
                                                 {128, 128, 128},
                                                 {0, 255, 255},
                                                 {0, 0, 255},
                                                 {128, 0, 255},
                                                 {128, 128, 255},
                                                 {128, 0, 128},
                                                 {128, 128, 0}}};

// A line type: its name in DXF files, and its dash pattern in drawing units (dash lengths
// positive, gaps negative, 0 a dot; empty: continuous).
struct LineTypeStyle {
  std::string_view dxfName;
  std::string_view description;
  std::array<double, 6> pattern;
  int patternLength;
};

// Line-type number n (0..9), as the pickers' sample bitmaps show them: solid, dotted, and the
// three broken families (dashed, chain, two-dot chain) in their normal, short and long scales.
inline constexpr std::array<LineTypeStyle, 10> kLineTypes = {{
    {"CONTINUOUS", "Solid line", {}, 0},
    {"DASHED", "Dashed __ __ __", {6, -3}, 2},
    {"DASHDOT", "Chain ____ . ____ .", {10, -2, 0, -2}, 4},
    {"DIVIDE", "Two-dot chain ____ . . ____", {10, -2, 0, -2, 0, -2}, 6},
    {"DOT", "Dotted . . . .", {0, -2}, 2},
    {"DASHDOT2", "Short chain __ . __ .", {5, -1.5, 0, -1.5}, 4},
    {"DIVIDE2", "Short two-dot chain __ . . __", {5, -1.5, 0, -1.5, 0, -1.5}, 6},
    {"DASHEDX2", "Long dashed ____  ____", {12, -4}, 2},
    {"DASHDOTX2", "Long chain ______ . ______", {18, -3, 0, -3}, 4},
    {"DIVIDEX2", "Long two-dot chain ______ . . ______", {18, -3, 0, -3, 0, -3}, 6},
}};

}  // namespace vexhost

#endif  // HOST_PALETTE_H
