// A paint context over a QPainter, for the dialogs' own painting and their owner-painted
// controls in the Qt backend: the same rectangles, pens and brushes a Windows device context
// draws.
#ifndef UI_QT_QT_PAINT_H
#define UI_QT_QT_PAINT_H

#include <QPainter>

#include "ui/paint.h"

namespace twinfind::ui::qt {

class QtPaintContext : public PaintContext {
 public:
  explicit QtPaintContext(QPainter& painter) : painter_(painter) {}

  void FillSolidRect(const PixelRect& rect, Color color) override;
  Pen SelectObject(const Pen& pen) override;
  StockBrush SelectStockObject(StockBrush brush) override;
  void Rectangle(const PixelRect& rect) override;
  Color GetBkColor() const override { return background_; }

 private:
  QPainter& painter_;
  Pen pen_{};
  StockBrush brush_ = StockBrush::kWhite;
  Color background_ = kWhite;
};

}  // namespace twinfind::ui::qt

#endif  // UI_QT_QT_PAINT_H
