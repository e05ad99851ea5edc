// Pictures as SVG: figures as lines, circles and path arcs (A), texts as text elements in a
// CJK font.
#include <charconv>
#include <cstdio>
#include <exception>

#include "common/atomic_file.h"
#include "common/xml_escape.h"
#include "picture/picture.h"

namespace twinfind::picture {
namespace {

std::string Hex(uint32_t rgb) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%06X", rgb & 0xFFFFFF);
  return buffer;
}

// Two decimals, with a point whatever the process's locale says.
std::string Num(double v) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 2);
  return std::string(buffer, result.ptr);
}

class SvgPainter : public Painter {
 public:
  void Begin(int width, int height) override {
    svg_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) +
            "\" height=\"" + std::to_string(height) + "\" viewBox=\"0 0 " + std::to_string(width) +
            " " + std::to_string(height) + "\">\n";
    svg_ += "<rect width=\"100%\" height=\"100%\" fill=\"" + Hex(kBackground) + "\"/>\n";
    svg_ += "<g fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
  }

  void Line(double x1, double y1, double x2, double y2, const Stroke& s) override {
    Shape("<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" +
              Num(y2) + "\"",
          s);
  }

  void Circle(double cx, double cy, double r, const Stroke& s) override {
    Shape("<circle cx=\"" + Num(cx) + "\" cy=\"" + Num(cy) + "\" r=\"" + Num(r) + "\"", s);
  }

  void Arc(double, double, double r, double x1, double y1, double x2, double y2, bool clockwise,
           double sweep, const Stroke& s) override {
    // SVG's sweep flag 1 turns the positive way of its y-down frame: clockwise as seen.
    const bool large = sweep > 3.141592653589793;
    Shape("<path d=\"M " + Num(x1) + " " + Num(y1) + " A " + Num(r) + " " + Num(r) + " 0 " +
              (large ? "1 " : "0 ") + (clockwise ? "1 " : "0 ") + Num(x2) + " " + Num(y2) + "\"",
          s);
  }

  void Dot(double x, double y, const Stroke& s) override {
    svg_ += "<circle cx=\"" + Num(x) + "\" cy=\"" + Num(y) + "\" r=\"" +
            Num(s.highlighted ? 3.0 : 1.5) + "\" fill=\"" + Hex(s.rgb) + "\" stroke=\"none\"/>\n";
  }

  void Text(double x, double y, double size, const std::string& text, bool centred, uint32_t rgb,
            bool highlighted) override {
    if (size < 0.5) return;  // too small to read
    svg_ += "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" font-family=\"" + kFontFamilies +
            "\" font-size=\"" + Num(size) + "\" fill=\"" + Hex(highlighted ? 0xFFFF60 : rgb) +
            "\" stroke=\"none\"";
    if (highlighted) svg_ += " font-weight=\"bold\"";
    if (centred) svg_ += " text-anchor=\"middle\" dominant-baseline=\"central\"";
    svg_ += ">" + EscapeXml(text) + "</text>\n";
  }

  std::string Finish() { return svg_ + "</g>\n</svg>\n"; }

 private:
  // A stroked shape; a highlighted one gets a bright halo under it.
  void Shape(const std::string& element, const Stroke& s) {
    if (s.highlighted) {
      svg_ += element + " stroke=\"#FFFFFF\" stroke-opacity=\"0.35\" stroke-width=\"" +
              Num(s.width * 3) + "\"/>\n";
    }
    svg_ += element + " stroke=\"" + Hex(s.rgb) + "\"";
    if (s.width != 1.0) svg_ += " stroke-width=\"" + Num(s.width) + "\"";
    if (!s.dashes.empty()) {
      svg_ += " stroke-dasharray=\"";
      for (size_t i = 0; i < s.dashes.size(); ++i) svg_ += (i ? "," : "") + Num(s.dashes[i]);
      svg_ += "\"";
    }
    svg_ += "/>\n";
  }

  std::string svg_;
};

}  // namespace

bool SvgOf(const vexhost::Drawing& drawing, const RenderOptions& options, std::string& svg,
           std::string& error) {
  SvgPainter painter;
  if (!PaintDrawing(drawing, options, painter, error)) return false;
  svg = painter.Finish();
  return true;
}

bool RenderSvg(const vexhost::Drawing& drawing, const std::string& path, std::string& error,
               const RenderOptions& options) {
  try {
    std::string svg;
    return SvgOf(drawing, options, svg, error) && WriteFileAtomically(path, svg, error);
  } catch (const std::exception& e) {  // out of memory
    error = "cannot write " + path + ": " + e.what();
    return false;
  }
}

}  // namespace twinfind::picture
