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

// Line-type number n (0..9).
inline constexpr std::array<LineTypeStyle, 10> kLineTypes = {{
    {"CONTINUOUS", "Solid line", {}, 0},
    {"DASHED", "Dashed __ __ __", {6, -3}, 2},
    {"DOT", "Dotted . . . .", {0, -2}, 2},
    {"DASHDOT", "Dash dot __ . __ .", {6, -2, 0, -2}, 4},
    {"HIDDEN", "Hidden _ _ _ _", {3, -1.5}, 2},
    {"CENTER", "Center ____ _ ____", {12, -2, 2, -2}, 4},
    {"PHANTOM", "Phantom ____ _ _ ____", {12, -2, 2, -2, 2, -2}, 6},
    {"DIVIDE", "Divide __ . . __", {6, -2, 0, -2, 0, -2}, 6},
    {"BORDER", "Border __ __ . __ __", {6, -2, 6, -2, 0, -2}, 6},
    {"DASHDOTX2", "Long dash dot ____  .  ____", {12, -4, 0, -4}, 4},
}};

}  // namespace vexhost

#endif  // HOST_PALETTE_H
