// Painting: colours, pixel rectangles, pens, and the paint context a dialog or an owner-painted
// control draws into. Each backend supplies its own context; the headless one records what was
// drawn so that tests, the text-mode dialog and the pictures can show it.
#ifndef UI_PAINT_H
#define UI_PAINT_H

#include <cstdint>

namespace twinfind::ui {

// A colour as red, green and blue (a Windows COLORREF holds the same three bytes).
struct Color {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend constexpr bool operator==(const Color&, const Color&) = default;
};

constexpr Color RGB(int r, int g, int b) {
  return {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
}

inline constexpr Color kWhite = RGB(255, 255, 255);
inline constexpr Color kBlack = RGB(0, 0, 0);

// A rectangle in pixels; right and bottom lie just outside it.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr void InflateRect(int dx, int dy) {
    left -= dx;
    top -= dy;
    right += dx;
    bottom += dy;
  }
  constexpr void OffsetRect(int dx, int dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
  }
  friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A solid pen.
struct Pen {
  int width = 1;
  Color color = kBlack;
  friend constexpr bool operator==(const Pen&, const Pen&) = default;
};

// The brushes a rectangle can be filled with: the context's default white one, or none.
enum class StockBrush { kWhite, kNull };

// One drawing operation, as a paint log keeps it.
struct PaintOp {
  enum class Kind { kFill, kRectangle };
  Kind kind = Kind::kFill;
  PixelRect rect;
  Color color;          // the fill colour, or the pen colour of a rectangle
  int penWidth = 0;     // a rectangle's pen width
  bool hollow = false;  // a rectangle drawn with the null brush
  friend constexpr bool operator==(const PaintOp&, const PaintOp&) = default;
};

class PaintContext {
 public:
  virtual ~PaintContext() = default;
  // Fills a rectangle with one colour.
  virtual void FillSolidRect(const PixelRect& rect, Color color) = 0;
  // Selects a pen for the following rectangles; returns the pen it replaced.
  virtual Pen SelectObject(const Pen& pen) = 0;
  // Selects a stock brush for the following rectangles; returns the brush it replaced.
  virtual StockBrush SelectStockObject(StockBrush brush) = 0;
  // Outlines a rectangle with the current pen and fills it with the current brush.
  virtual void Rectangle(const PixelRect& rect) = 0;
  // The context's current background colour (white in a fresh context).
  virtual Color GetBkColor() const = 0;
};

}  // namespace twinfind::ui

#endif  // UI_PAINT_H
