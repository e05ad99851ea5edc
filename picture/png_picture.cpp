// Pictures as PNG, drawn with cairo; texts with cairo's own text calls in the CJK font.
#include <cairo.h>

#include <cmath>
#include <exception>
#include <memory>
#include <numbers>

#include "common/atomic_file.h"
#include "picture/picture.h"

namespace twinfind::picture {
namespace {

// The largest PNG drawn, in pixels (256 MB of memory).
constexpr long long kMaxPixels = 64LL * 1000 * 1000;

void SetColor(cairo_t* cr, uint32_t rgb, double alpha = 1.0) {
  cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                        (rgb & 0xFF) / 255.0, alpha);
}

class CairoPainter : public Painter {
 public:
  ~CairoPainter() override {
    if (cr_) cairo_destroy(cr_);
    if (surface_) cairo_surface_destroy(surface_);
  }

  void Begin(int width, int height) override {
    if (static_cast<long long>(width) * height > kMaxPixels) {
      // Refused here, before cairo asks for gigabytes; nothing is drawn.
      tooLarge_ = std::to_string(width) + " x " + std::to_string(height);
      surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
      cr_ = cairo_create(surface_);
      return;
    }
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cr_ = cairo_create(surface_);
    SetColor(cr_, kBackground);
    cairo_paint(cr_);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    cairo_select_font_face(cr_, kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  }

  void Line(double x1, double y1, double x2, double y2, const Stroke& s) override {
    Stroked(s, [&] {
      cairo_move_to(cr_, x1, y1);
      cairo_line_to(cr_, x2, y2);
    });
  }

  void Circle(double cx, double cy, double r, const Stroke& s) override {
    Stroked(s, [&] {
      cairo_new_sub_path(cr_);
      cairo_arc(cr_, cx, cy, r, 0, 2 * std::numbers::pi);
    });
  }

  void Arc(double cx, double cy, double r, double x1, double y1, double x2, double y2,
           bool clockwise, double, const Stroke& s) override {
    // cairo's angles grow clockwise as the picture is seen (its y axis points down).
    const double a1 = std::atan2(y1 - cy, x1 - cx), a2 = std::atan2(y2 - cy, x2 - cx);
    Stroked(s, [&] {
      cairo_new_sub_path(cr_);
      if (clockwise) {
        cairo_arc(cr_, cx, cy, r, a1, a2);
      } else {
        cairo_arc_negative(cr_, cx, cy, r, a1, a2);
      }
    });
  }

  void Dot(double x, double y, const Stroke& s) override {
    SetColor(cr_, s.rgb);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x, y, s.highlighted ? 3.0 : 1.5, 0, 2 * std::numbers::pi);
    cairo_fill(cr_);
  }

  void Text(double x, double y, double size, const std::string& text, bool centred, uint32_t rgb,
            bool highlighted) override {
    if (size < 0.5 || text.empty()) return;
    cairo_select_font_face(cr_, kFontFamily, CAIRO_FONT_SLANT_NORMAL,
                           highlighted ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, size);
    if (centred) {
      cairo_text_extents_t extents;
      cairo_text_extents(cr_, text.c_str(), &extents);
      x -= extents.x_bearing + extents.width / 2;
      y -= extents.y_bearing + extents.height / 2;
    }
    SetColor(cr_, highlighted ? 0xFFFF60 : rgb);
    cairo_move_to(cr_, x, y);
    cairo_show_text(cr_, text.c_str());
    cairo_new_path(cr_);
  }

  bool WritePng(std::string& png, std::string& error) {
    cairo_surface_flush(surface_);
    const cairo_status_t status = cairo_surface_write_to_png_stream(
        surface_,
        [](void* closure, const unsigned char* data, unsigned int length) {
          static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
          return CAIRO_STATUS_SUCCESS;
        },
        &png);
    if (status != CAIRO_STATUS_SUCCESS) {
      error = std::string("cannot make the PNG picture: ") + cairo_status_to_string(status);
      return false;
    }
    return true;
  }

  bool Ok(std::string& error) const {
    if (!tooLarge_.empty()) {
      error = "the picture would be " + tooLarge_ + " pixels, more than a PNG is made of (" +
              std::to_string(kMaxPixels) + ")";
      return false;
    }
    const cairo_status_t status = cairo_status(cr_);
    if (status == CAIRO_STATUS_SUCCESS) return true;
    error = std::string("cannot draw the picture: ") + cairo_status_to_string(status);
    return false;
  }

 private:
  template <typename Path>
  void Stroked(const Stroke& s, Path path) {
    if (s.highlighted) {  // a bright halo under a blinking segment
      path();
      SetColor(cr_, 0xFFFFFF, 0.35);
      cairo_set_line_width(cr_, s.width * 3);
      cairo_set_dash(cr_, nullptr, 0, 0);
      cairo_stroke(cr_);
    }
    path();
    SetColor(cr_, s.rgb);
    cairo_set_line_width(cr_, s.width);
    cairo_set_dash(cr_, s.dashes.empty() ? nullptr : s.dashes.data(),
                   static_cast<int>(s.dashes.size()), 0);
    cairo_stroke(cr_);
  }

  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  std::string tooLarge_;
};

}  // namespace

bool PngOf(const vexhost::Drawing& drawing, const RenderOptions& options, std::string& png,
           std::string& error) {
  CairoPainter painter;
  if (!PaintDrawing(drawing, options, painter, error)) return false;
  return painter.Ok(error) && painter.WritePng(png, error);
}

bool RenderPng(const vexhost::Drawing& drawing, const std::string& path, std::string& error,
               const RenderOptions& options) {
  try {
    std::string png;
    return PngOf(drawing, options, png, error) && WriteFileAtomically(path, png, error);
  } catch (const std::exception& e) {  // out of memory
    error = "cannot write " + path + ": " + e.what();
    return false;
  }
}

}  // namespace twinfind::picture
