#include "ui/win32/win32_paint.h"

namespace twinfind::ui::win32 {
namespace {

COLORREF ColorRef(Color c) { return RGB(c.r, c.g, c.b); }

}  // namespace

Win32PaintContext::Win32PaintContext(HDC dc) : dc_(dc) {}

Win32PaintContext::~Win32PaintContext() {
  if (originalPen_ != nullptr) ::SelectObject(dc_, originalPen_);
  if (originalBrush_ != nullptr) ::SelectObject(dc_, originalBrush_);
  for (HPEN pen : created_) DeleteObject(pen);
}

void Win32PaintContext::FillSolidRect(const PixelRect& rect, Color color) {
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  ::SetBkColor(dc_, ColorRef(color));
  ::ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

Pen Win32PaintContext::SelectObject(const Pen& pen) {
  HGDIOBJ previous = nullptr;
  if (originalPen_ != nullptr && pen == Pen{}) {
    previous = ::SelectObject(dc_, originalPen_);  // back to the context's own pen
  } else {
    HPEN created = CreatePen(PS_SOLID, pen.width, ColorRef(pen.color));
    created_.push_back(created);
    previous = ::SelectObject(dc_, created);
  }
  if (originalPen_ == nullptr) originalPen_ = previous;
  const Pen replaced = pen_;
  pen_ = pen;
  return replaced;
}

StockBrush Win32PaintContext::SelectStockObject(StockBrush brush) {
  HGDIOBJ previous =
      ::SelectObject(dc_, GetStockObject(brush == StockBrush::kNull ? NULL_BRUSH : WHITE_BRUSH));
  if (originalBrush_ == nullptr) originalBrush_ = previous;
  const StockBrush replaced = brush_;
  brush_ = brush;
  return replaced;
}

void Win32PaintContext::Rectangle(const PixelRect& rect) {
  ::Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

Color Win32PaintContext::GetBkColor() const {
  const COLORREF c = ::GetBkColor(dc_);
  return Color{GetRValue(c), GetGValue(c), GetBValue(c)};
}

}  // namespace twinfind::ui::win32
