// The SVG drawing of a dialog. Geometry comes from the snapshot, in the pixels the dialog
// itself works in; the file asks viewers to show it at twice that size so that the small
// dialog font stays readable.
#include <sstream>
#include <string>
#include <vector>

#include "common/utf.h"
#include "common/xml_escape.h"
#include "ui/headless/dialog_picture.h"
#include "ui/headless/dialog_text.h"

namespace twinfind::ui {
namespace {

constexpr int kTitleHeight = 30;  // the caption bar above the client area
constexpr int kFrame = 1;         // the window frame around both
constexpr int kFontSize = 12;
constexpr int kComboHeight = 21;  // a closed drop-down list, whatever its template height
constexpr char kFace[] = "#F0F0F0";
constexpr char kFonts[] =
    "'Noto Sans CJK KR', 'Noto Sans KR', 'Malgun Gothic', 'Apple SD Gothic Neo', sans-serif";

std::string Hex(Color c) { return ToUtf8(ColorText(c)); }

// A rough text width, enough to leave a gap for a group box's caption.
int TextWidth(std::u16string_view text) {
  int width = 0;
  for (char16_t c : text) width += c >= 0x1100 ? kFontSize : kFontSize * 11 / 20;
  return width;
}

class SvgWriter {
 public:
  void Rect(double x, double y, double w, double h, const std::string& fill,
            const std::string& stroke = "none", double strokeWidth = 1) {
    out_ << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << w << "\" height=\"" << h
         << "\" fill=\"" << fill << "\" stroke=\"" << stroke << "\" stroke-width=\"" << strokeWidth
         << "\"/>\n";
  }
  void Text(double x, double y, std::u16string_view text, const char* anchor = "start") {
    out_ << "<text x=\"" << x << "\" y=\"" << y << "\" text-anchor=\"" << anchor << "\">"
         << EscapeXml(ToUtf8(text)) << "</text>\n";
  }
  std::ostringstream& Raw() { return out_; }
  std::string Take() { return out_.str(); }

 private:
  std::ostringstream out_;
};

// A drawing of a paint log, its coordinates relative to (dx, dy).
void DrawPaint(SvgWriter& svg, const std::vector<PaintOp>& ops, int dx, int dy) {
  for (const PaintOp& op : ops) {
    const PixelRect& r = op.rect;
    if (op.kind == PaintOp::Kind::kFill) {
      svg.Rect(r.left + dx, r.top + dy, r.Width(), r.Height(), Hex(op.color));
    } else {
      svg.Rect(r.left + dx, r.top + dy, r.Width(), r.Height(), op.hollow ? "none" : "#FFFFFF",
               Hex(op.color), op.penWidth);
    }
  }
}

void DrawControl(SvgWriter& svg, const ControlSnapshot& c) {
  const PixelRect& w = c.window;
  const double middle = (w.top + w.bottom) / 2.0;
  const double baseline = middle + 4;
  switch (c.kind) {
    case ControlKind::kGroupBox: {
      const double line = w.top + 6.5;
      svg.Rect(w.left + 0.5, line, w.Width() - 1, w.bottom - line - 0.5, "none", "#A0A0A0");
      svg.Rect(w.left + 7, w.top, TextWidth(c.text) + 6, 13, kFace);
      svg.Text(w.left + 10, w.top + 10, c.text);
      break;
    }
    case ControlKind::kLabel:
      svg.Text(w.left, w.top + 10, c.text);
      break;
    case ControlKind::kPushButton:
      svg.Rect(w.left + 0.5, w.top + 0.5, w.Width() - 1, w.Height() - 1, "#E1E1E1", "#ADADAD");
      svg.Text((w.left + w.right) / 2.0, baseline, c.text, "middle");
      break;
    case ControlKind::kCheckBox:
      svg.Rect(w.left + 0.5, middle - 6, 12, 12, "#FFFFFF", "#333333");
      if (c.check != 0) {
        svg.Raw() << "<path d=\"M" << w.left + 3 << ' ' << middle << " l3 3 l6 -6\" fill=\"none\" "
                  << "stroke=\"#000000\" stroke-width=\"1.8\"/>\n";
      }
      svg.Text(w.left + 17, baseline, c.text);
      break;
    case ControlKind::kRadioButton:
      svg.Raw() << "<circle cx=\"" << w.left + 6.5 << "\" cy=\"" << middle
                << "\" r=\"6\" fill=\"#FFFFFF\" stroke=\"#333333\"/>\n";
      if (c.check != 0) {
        svg.Raw() << "<circle cx=\"" << w.left + 6.5 << "\" cy=\"" << middle
                  << "\" r=\"3.5\" fill=\"#000000\"/>\n";
      }
      svg.Text(w.left + 17, baseline, c.text);
      break;
    case ControlKind::kEdit: {
      svg.Rect(w.left + 0.5, w.top + 0.5, w.Width() - 1, w.Height() - 1, "#FFFFFF", "#7A7A7A");
      // The text is cut at the box's edge, as the box shows it.
      svg.Raw() << "<svg x=\"" << w.left + 1 << "\" y=\"" << w.top << "\" width=\"" << w.Width() - 2
                << "\" height=\"" << w.Height() << "\">\n";
      svg.Text(3, w.Height() / 2.0 + 4, c.text);
      svg.Raw() << "</svg>\n";
      break;
    }
    case ControlKind::kDropList: {
      const int h = kComboHeight;
      svg.Rect(w.left + 0.5, w.top + 0.5, w.Width() - 1, h - 1, "#FFFFFF", "#7A7A7A");
      const double ax = w.right - 9.5;
      const double ay = w.top + h / 2.0;
      svg.Raw() << "<path d=\"M" << ax - 4 << ' ' << ay - 2 << " l4 4 l4 -4\" fill=\"none\" "
                << "stroke=\"#333333\" stroke-width=\"1.2\"/>\n";
      if (c.curSel >= 0 && static_cast<size_t>(c.curSel) < c.entries.size()) {
        svg.Text(w.left + 4, w.top + h / 2.0 + 4, c.entries[c.curSel]);
      }
      break;
    }
    case ControlKind::kStaticRect:
      if (c.ownerPainted) {
        DrawPaint(svg, c.paint, c.client.left, c.client.top);
      } else {
        svg.Rect(c.client.left, c.client.top, c.client.Width(), c.client.Height(), "#FFFFFF");
      }
      svg.Rect(w.left + 0.5, w.top + 0.5, w.Width() - 1, w.Height() - 1, "none", "#A0A0A0");
      break;
    case ControlKind::kStaticBitmap:
      if (c.image) {
        svg.Raw() << "<image x=\"" << c.client.left << "\" y=\"" << c.client.top << "\" width=\""
                  << c.image->width << "\" height=\"" << c.image->height
                  << "\" preserveAspectRatio=\"none\" style=\"image-rendering:pixelated\" "
                  << "xlink:href=\"" << BmpDataAddress(*c.image) << "\"/>\n";
      }
      if (c.ownerPainted) DrawPaint(svg, c.paint, c.client.left, c.client.top);
      svg.Rect(w.left + 0.5, w.top + 0.5, w.Width() - 1, w.Height() - 1, "none", "#646464");
      break;
  }
}

}  // namespace

std::string DialogSvg(const DialogSnapshot& dialog) {
  const int width = dialog.clientWidth + 2 * kFrame;
  const int height = dialog.clientHeight + kTitleHeight + 2 * kFrame;
  SvgWriter svg;
  svg.Raw() << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            << "<svg xmlns=\"http://www.w3.org/2000/svg\" "
            << "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" << 2 * width
            << "\" height=\"" << 2 * height << "\" viewBox=\"0 0 " << width << ' ' << height
            << "\" font-family=\"" << kFonts << "\" font-size=\"" << kFontSize << "\">\n";
  svg.Rect(0.5, 0.5, width - 1, height - 1, kFace, "#707070");
  svg.Rect(kFrame, kFrame, width - 2 * kFrame, kTitleHeight, "#FFFFFF");
  if (dialog.source != nullptr) svg.Text(10, 20, dialog.source->caption);
  svg.Text(width - 18, 20, u"\u2715", "middle");  // the close box
  svg.Raw() << "<g transform=\"translate(" << kFrame << ',' << kFrame + kTitleHeight << ")\">\n";
  // The dialog paints first, its controls over it.
  DrawPaint(svg, dialog.paint, 0, 0);
  for (const ControlSnapshot& c : dialog.controls) DrawControl(svg, c);
  svg.Raw() << "</g>\n</svg>\n";
  return svg.Take();
}

}  // namespace twinfind::ui
