// What a picture of the drawing shows, independent of the file format: the drawing's extent
// mapped onto the picture (y up turned into y down, a margin, a scale to the width), and each
// figure, text and balloon handed to a painter in picture coordinates.
#ifndef PICTURE_PICTURE_H
#define PICTURE_PICTURE_H

#include <cstdint>
#include <string>
#include <vector>

#include "host/drawing.h"
#include "picture/render.h"

namespace twinfind::picture {

// Widths outside this range are refused; the height is kept within four times the width.
inline constexpr int kMinPictureWidth = 16;
inline constexpr int kMaxPictureWidth = 20000;

// The dark background pictures are drawn on.
inline constexpr uint32_t kBackground = 0x10141C;

struct Stroke {
  uint32_t rgb = 0xFFFFFF;
  double width = 1;
  std::vector<double> dashes;  // on and off lengths in pixels; empty: solid
  bool highlighted = false;    // a blinking segment
};

class Painter {
 public:
  virtual ~Painter() = default;
  virtual void Begin(int width, int height) = 0;
  virtual void Line(double x1, double y1, double x2, double y2, const Stroke& s) = 0;
  virtual void Circle(double cx, double cy, double r, const Stroke& s) = 0;
  // An arc on the picture from (x1, y1) to (x2, y2) about (cx, cy); `clockwise` as it is seen
  // on the picture; `sweep` its angle in radians (0 < sweep < 2 pi).
  virtual void Arc(double cx, double cy, double r, double x1, double y1, double x2, double y2,
                   bool clockwise, double sweep, const Stroke& s) = 0;
  virtual void Dot(double x, double y, const Stroke& s) = 0;
  // A line of text (UTF-8) of `size` pixels; centred on (x, y) or starting there on its
  // baseline.
  virtual void Text(double x, double y, double size, const std::string& text, bool centred,
                    uint32_t rgb, bool highlighted) = 0;
};

// The font families texts are drawn with, first choice first: Korean texts need a CJK font.
inline constexpr const char* kFontFamilies =
    "'Noto Sans CJK KR', 'Noto Sans CJK JP', 'Noto Sans', 'DejaVu Sans', sans-serif";
inline constexpr const char* kFontFamily = "Noto Sans CJK KR";

// Paints the drawing; false and a reason when the options are unusable.
bool PaintDrawing(const vexhost::Drawing& drawing, const RenderOptions& options, Painter& painter,
                  std::string& error);

}  // namespace twinfind::picture

#endif  // PICTURE_PICTURE_H
