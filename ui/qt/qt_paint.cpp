#include "ui/qt/qt_paint.h"

#include <QPen>

namespace twinfind::ui::qt {
namespace {

QColor QColorOf(Color c) { return QColor(c.r, c.g, c.b); }

}  // namespace

void QtPaintContext::FillSolidRect(const PixelRect& rect, Color color) {
  painter_.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), QColorOf(color));
  background_ = color;  // as ExtTextOut's opaque fill leaves the background colour set
}

Pen QtPaintContext::SelectObject(const Pen& pen) {
  const Pen replaced = pen_;
  pen_ = pen;
  return replaced;
}

StockBrush QtPaintContext::SelectStockObject(StockBrush brush) {
  const StockBrush replaced = brush_;
  brush_ = brush;
  return replaced;
}

void QtPaintContext::Rectangle(const PixelRect& rect) {
  // A Windows rectangle: the pen drawn inside [left, right) x [top, bottom), the inside filled
  // with the brush.
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  const int w = std::max(1, pen_.width);
  const QRect whole(rect.left, rect.top, rect.Width(), rect.Height());
  if (brush_ == StockBrush::kWhite) painter_.fillRect(whole, Qt::white);
  const QColor ink = QColorOf(pen_.color);
  painter_.fillRect(QRect(rect.left, rect.top, rect.Width(), std::min(w, rect.Height())), ink);
  painter_.fillRect(QRect(rect.left, rect.bottom - w, rect.Width(), std::min(w, rect.Height())),
                    ink);
  painter_.fillRect(QRect(rect.left, rect.top, std::min(w, rect.Width()), rect.Height()), ink);
  painter_.fillRect(QRect(rect.right - w, rect.top, std::min(w, rect.Width()), rect.Height()), ink);
}

}  // namespace twinfind::ui::qt
