// A paint context on a Windows device context: the dialog's own painting and that of its
// owner-painted static controls draw through it with GDI.
#ifndef UI_WIN32_WIN32_PAINT_H
#define UI_WIN32_WIN32_PAINT_H

#include <vector>

#include "ui/paint.h"
// After the dialog layer's headers: <windows.h> defines macros of the same names (RGB).
#include <windows.h>

namespace twinfind::ui::win32 {

class Win32PaintContext final : public PaintContext {
 public:
  // Draws into dc; the pens and brush it selects are put back and deleted when it goes.
  explicit Win32PaintContext(HDC dc);
  ~Win32PaintContext() override;
  Win32PaintContext(const Win32PaintContext&) = delete;
  Win32PaintContext& operator=(const Win32PaintContext&) = delete;

  // As the framework does it: the background colour becomes the fill colour, and an opaque
  // empty text output fills the rectangle (the background colour stays changed).
  void FillSolidRect(const PixelRect& rect, Color color) override;
  // A solid GDI pen of that width and colour; the pen the context started with comes back
  // as itself.
  Pen SelectObject(const Pen& pen) override;
  StockBrush SelectStockObject(StockBrush brush) override;
  void Rectangle(const PixelRect& rect) override;
  Color GetBkColor() const override;

 private:
  HDC dc_;
  HGDIOBJ originalPen_ = nullptr;
  HGDIOBJ originalBrush_ = nullptr;
  Pen pen_;  // a fresh context's pen: black, one pixel
  StockBrush brush_ = StockBrush::kWhite;
  std::vector<HPEN> created_;
};

}  // namespace twinfind::ui::win32

#endif  // UI_WIN32_WIN32_PAINT_H
