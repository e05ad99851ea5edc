// Pictures as PNG on Windows, drawn with GDI+ (the system's gdiplus.dll) and encoded with its
// PNG encoder; texts in the CJK font when the system has it.
#include <windows.h>
// windows.h first: GDI+ builds on its types.
#include <gdiplus.h>

#include <cmath>
#include <exception>
#include <memory>
#include <numbers>

#include "common/atomic_file.h"
#include "common/utf.h"
#include "picture/picture.h"

namespace twinfind::picture {
namespace {

namespace gp = Gdiplus;

// The largest PNG drawn, in pixels (256 MB of memory), as with the other PNG painter.
constexpr long long kMaxPixels = 64LL * 1000 * 1000;

// GDI+'s PNG encoder.
constexpr CLSID kPngEncoder = {
    0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

gp::Color ColorOf(uint32_t rgb, double alpha = 1.0) {
  return gp::Color(static_cast<BYTE>(std::lround(alpha * 255)), (rgb >> 16) & 0xFF,
                   (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::wstring Wide(const std::string& utf8) {
  const std::u16string text = ToUtf16(utf8);
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

float Degrees(double radians) { return static_cast<float>(radians * 180 / std::numbers::pi); }

// GDI+ is started for the life of one painter.
class GdiplusSession {
 public:
  GdiplusSession() {
    gp::GdiplusStartupInput input;
    ok_ = gp::GdiplusStartup(&token_, &input, nullptr) == gp::Ok;
  }
  ~GdiplusSession() {
    if (ok_) gp::GdiplusShutdown(token_);
  }
  bool ok() const { return ok_; }

 private:
  ULONG_PTR token_ = 0;
  bool ok_ = false;
};

class GdiplusPainter : public Painter {
 public:
  ~GdiplusPainter() override {
    graphics_.reset();  // before the bitmap, and both before GDI+ ends
    bitmap_.reset();
  }

  void Begin(int width, int height) override {
    if (!session_.ok()) return;
    if (static_cast<long long>(width) * height > kMaxPixels) {
      tooLarge_ = std::to_string(width) + " x " + std::to_string(height);
      return;  // refused before any memory is asked for; nothing is drawn
    }
    bitmap_ = std::make_unique<gp::Bitmap>(width, height, PixelFormat32bppARGB);
    graphics_.reset(gp::Graphics::FromImage(bitmap_.get()));
    graphics_->SetSmoothingMode(gp::SmoothingModeAntiAlias);
    graphics_->SetTextRenderingHint(gp::TextRenderingHintAntiAlias);
    graphics_->Clear(ColorOf(kBackground));
  }

  void Line(double x1, double y1, double x2, double y2, const Stroke& s) override {
    Stroked(s, [&](gp::Pen& pen) {
      graphics_->DrawLine(&pen, static_cast<gp::REAL>(x1), static_cast<gp::REAL>(y1),
                          static_cast<gp::REAL>(x2), static_cast<gp::REAL>(y2));
    });
  }

  void Circle(double cx, double cy, double r, const Stroke& s) override {
    Stroked(s, [&](gp::Pen& pen) {
      graphics_->DrawEllipse(&pen, static_cast<gp::REAL>(cx - r), static_cast<gp::REAL>(cy - r),
                             static_cast<gp::REAL>(2 * r), static_cast<gp::REAL>(2 * r));
    });
  }

  void Arc(double cx, double cy, double r, double x1, double y1, double, double, bool clockwise,
           double sweep, const Stroke& s) override {
    // GDI+'s angles grow clockwise as the picture is seen (its y axis points down).
    const float start = Degrees(std::atan2(y1 - cy, x1 - cx));
    const float extent = clockwise ? Degrees(sweep) : -Degrees(sweep);
    Stroked(s, [&](gp::Pen& pen) {
      graphics_->DrawArc(&pen, static_cast<gp::REAL>(cx - r), static_cast<gp::REAL>(cy - r),
                         static_cast<gp::REAL>(2 * r), static_cast<gp::REAL>(2 * r), start, extent);
    });
  }

  void Dot(double x, double y, const Stroke& s) override {
    if (!graphics_) return;
    const double r = s.highlighted ? 3.0 : 1.5;
    gp::SolidBrush brush(ColorOf(s.rgb));
    graphics_->FillEllipse(&brush, static_cast<gp::REAL>(x - r), static_cast<gp::REAL>(y - r),
                           static_cast<gp::REAL>(2 * r), static_cast<gp::REAL>(2 * r));
  }

  void Text(double x, double y, double size, const std::string& text, bool centred, uint32_t rgb,
            bool highlighted) override {
    if (!graphics_ || size < 0.5 || text.empty()) return;
    const std::wstring wide = Wide(text);
    gp::FontFamily cjk(Wide(kFontFamily).c_str());
    std::unique_ptr<gp::FontFamily> fallback;
    const gp::FontFamily* family = &cjk;
    if (cjk.GetLastStatus() != gp::Ok) {
      fallback.reset(gp::FontFamily::GenericSansSerif()->Clone());
      family = fallback.get();
    }
    const INT style = highlighted ? gp::FontStyleBold : gp::FontStyleRegular;
    gp::Font font(family, static_cast<gp::REAL>(size), style, gp::UnitPixel);
    const gp::StringFormat* format = gp::StringFormat::GenericTypographic();
    const double em = family->GetEmHeight(style);
    const double ascent = em > 0 ? size * family->GetCellAscent(style) / em : size;
    const double descent = em > 0 ? size * family->GetCellDescent(style) / em : 0;
    double left = x;
    double top = y - ascent;  // GDI+ places the text's top, the baseline lies an ascent below
    if (centred) {
      gp::RectF box;
      graphics_->MeasureString(wide.c_str(), static_cast<INT>(wide.size()), &font, gp::PointF(0, 0),
                               format, &box);
      left = x - box.Width / 2;
      top = y - (ascent + descent) / 2;
    }
    gp::SolidBrush brush(ColorOf(highlighted ? 0xFFFF60 : rgb));
    graphics_->DrawString(wide.c_str(), static_cast<INT>(wide.size()), &font,
                          gp::PointF(static_cast<gp::REAL>(left), static_cast<gp::REAL>(top)),
                          format, &brush);
  }

  bool WritePng(std::string& png, std::string& error) {
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK) {
      error = "cannot make the PNG picture: no memory stream";
      return false;
    }
    const bool saved = bitmap_->Save(stream, &kPngEncoder, nullptr) == gp::Ok;
    STATSTG stat{};
    HGLOBAL memory = nullptr;
    if (saved && stream->Stat(&stat, STATFLAG_NONAME) == S_OK &&
        GetHGlobalFromStream(stream, &memory) == S_OK) {
      const void* bytes = GlobalLock(memory);
      png.assign(static_cast<const char*>(bytes), static_cast<size_t>(stat.cbSize.QuadPart));
      GlobalUnlock(memory);
    }
    stream->Release();
    if (png.empty()) {
      error = "cannot make the PNG picture: GDI+ could not encode it";
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
    if (!session_.ok() || !graphics_ || graphics_->GetLastStatus() != gp::Ok) {
      error = "cannot draw the picture: GDI+ failed";
      return false;
    }
    return true;
  }

 private:
  template <typename Path>
  void Stroked(const Stroke& s, Path path) {
    if (!graphics_) return;
    if (s.highlighted) {  // a bright halo under a blinking segment
      gp::Pen halo(ColorOf(0xFFFFFF, 0.35), static_cast<gp::REAL>(s.width * 3));
      Round(halo);
      path(halo);
    }
    gp::Pen pen(ColorOf(s.rgb), static_cast<gp::REAL>(s.width));
    Round(pen);
    if (!s.dashes.empty() && s.width > 0) {
      // GDI+ measures dashes in pen widths.
      std::vector<gp::REAL> dashes;
      for (const double d : s.dashes) {
        dashes.push_back(static_cast<gp::REAL>(std::max(d / s.width, 0.01)));
      }
      pen.SetDashPattern(dashes.data(), static_cast<INT>(dashes.size()));
      pen.SetDashCap(gp::DashCapRound);
    }
    path(pen);
  }

  static void Round(gp::Pen& pen) {
    pen.SetStartCap(gp::LineCapRound);
    pen.SetEndCap(gp::LineCapRound);
    pen.SetLineJoin(gp::LineJoinRound);
  }

  GdiplusSession session_;
  std::unique_ptr<gp::Bitmap> bitmap_;
  std::unique_ptr<gp::Graphics> graphics_;
  std::string tooLarge_;
};

}  // namespace

bool PngOf(const vexhost::Drawing& drawing, const RenderOptions& options, std::string& png,
           std::string& error) {
  GdiplusPainter painter;
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
