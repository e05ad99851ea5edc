#include "parts/part_svg.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "common/xml_escape.h"
#include "host/geometry.h"

namespace twinfind::parts {
namespace {

std::string Num(double value) {
  value = std::round(value * 1e6) / 1e6;
  if (value == 0) value = 0;  // no "-0"
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// Units SVG sizes a page in; others give a page in user units.
std::string PageUnit(const std::string& unit) {
  return unit == "mm" || unit == "cm" || unit == "in" ? unit : "";
}

struct Point {
  double x = 0, y = 0;
};

// A point of the drawing in the picture's frame: moved by (dx, dy), y turned down.
struct Frame {
  double dx = 0, dy = 0;
  Point Of(double x, double y) const { return {x + dx, -(y + dy)}; }
};

// The SVG path data of one loop: moves, lines and arcs as the walk takes them.
std::string PathData(const OutlineLoop& loop, const Frame& frame) {
  std::string d;
  Point pen;
  bool drawing = false;  // the pen is down at `pen`
  const auto moveTo = [&](const Point& p) {
    if (!drawing || std::hypot(p.x - pen.x, p.y - pen.y) > 1e-9) {
      d += "M" + Num(p.x) + " " + Num(p.y) + " ";
    }
    drawing = true;
  };
  for (const OutlineStep& s : loop.steps) {
    const FigureRecord& f = s.figure;
    if (f.kind == VEX_FIG_LINE) {
      const auto& l = f.u.line;
      const Point a = frame.Of(s.backwards ? l.x2 : l.x1, s.backwards ? l.y2 : l.y1);
      const Point b = frame.Of(s.backwards ? l.x1 : l.x2, s.backwards ? l.y1 : l.y2);
      moveTo(a);
      d += "L" + Num(b.x) + " " + Num(b.y) + " ";
      pen = b;
    } else if (f.kind == VEX_FIG_ARC) {
      const FigureArc& a = f.u.arc;
      const Point from = frame.Of(s.backwards ? a.ex : a.sx, s.backwards ? a.ey : a.sy);
      const Point to = frame.Of(s.backwards ? a.sx : a.ex, s.backwards ? a.sy : a.ey);
      // Counter-clockwise in the drawing is clockwise with y turned down: sweep flag 0.
      const bool counterClockwise = (a.direction != VEX_ARC_CW) != s.backwards;
      const bool large = vexhost::SweepOf(a).sweep > std::numbers::pi;
      moveTo(from);
      d += "A" + Num(a.r) + " " + Num(a.r) + " 0 " + (large ? "1 " : "0 ") +
           (counterClockwise ? "0 " : "1 ") + Num(to.x) + " " + Num(to.y) + " ";
      pen = to;
    }
  }
  if (loop.closed) d += "Z";
  while (!d.empty() && d.back() == ' ') d.pop_back();
  return d;
}

// The loops of an outline as SVG elements, in the frame.
std::string Shapes(const PartOutline& outline, const Frame& frame) {
  std::string out;
  for (const OutlineLoop& loop : outline.loops) {
    if (loop.steps.size() == 1 && loop.steps.front().figure.kind == VEX_FIG_CIRCLE) {
      const FigureCircle& c = loop.steps.front().figure.u.circle;
      const Point p = frame.Of(c.cx, c.cy);
      out += "<circle cx=\"" + Num(p.x) + "\" cy=\"" + Num(p.y) + "\" r=\"" + Num(c.r) + "\"/>\n";
      continue;
    }
    const std::string d = PathData(loop, frame);
    if (!d.empty()) out += "<path d=\"" + d + "\"/>\n";
  }
  return out;
}

std::string Page(double width, double height, const std::string& unit, const std::string& body) {
  const std::string page = PageUnit(unit);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         Num(width) + page + "\" height=\"" + Num(height) + page + "\" viewBox=\"0 " +
         Num(-height) + " " + Num(width) + " " + Num(height) + "\">\n" +
         "<g fill=\"none\" stroke=\"black\" stroke-width=\"" + Num(std::max(width, height) / 1000) +
         "\">\n" + body + "</g>\n</svg>\n";
}

}  // namespace

std::string PartSvg(const PartOutline& outline, const std::string& unit) {
  const VexBox& b = outline.box;
  return Page(b.maxX - b.minX, b.maxY - b.minY, unit, Shapes(outline, {-b.minX, -b.minY}));
}

std::string SheetSvg(const std::vector<SheetPart>& parts, const std::string& unit) {
  double area = 0, widest = 0, tallest = 0;
  for (const SheetPart& p : parts) {
    const VexBox& b = p.outline->box;
    area += p.count * (b.maxX - b.minX) * (b.maxY - b.minY);
    widest = std::max(widest, b.maxX - b.minX);
    tallest = std::max(tallest, b.maxY - b.minY);
  }
  const double gap = tallest > 0 ? tallest / 10 : 1;
  const double rowWidth = std::max(widest, 1.5 * std::sqrt(area));
  std::string body;
  double x = 0, rowTop = 0, rowHeight = 0, sheetWidth = 0;
  for (const SheetPart& p : parts) {
    const VexBox& b = p.outline->box;
    const double w = b.maxX - b.minX, h = b.maxY - b.minY;
    body += "<g id=\"" + EscapeXml(p.name) + "\">\n";
    for (int k = 0; k < p.count; ++k) {
      if (x > 0 && x + w > rowWidth) {  // the next row, below
        x = 0;
        rowTop += rowHeight + gap;
        rowHeight = 0;
      }
      // A copy flipped left to right for each mirror image, the last ones of the count.
      const bool flipped = k >= p.count - p.mirrored;
      const double y = -(rowTop + h);  // the copy's lowest y, rows running down the page
      Frame frame{x - b.minX, y - b.minY};
      std::string shapes = Shapes(*p.outline, frame);
      if (flipped) {
        shapes = "<g transform=\"translate(" + Num(2 * x + w) + " 0) scale(-1 1)\">\n" + shapes +
                 "</g>\n";
      }
      body += shapes;
      x += w + gap;
      sheetWidth = std::max(sheetWidth, x - gap);
      rowHeight = std::max(rowHeight, h);
    }
    body += "</g>\n";
  }
  const double sheetHeight = rowTop + rowHeight;
  // The rows run down from y 0; the page's frame puts them below its top edge.
  return Page(sheetWidth, sheetHeight, unit,
              "<g transform=\"translate(0 " + Num(-sheetHeight) + ")\">\n" + body + "</g>\n");
}

}  // namespace twinfind::parts
