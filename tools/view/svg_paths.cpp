#include "tools/view/svg_paths.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/xml_escape.h"

namespace twinfind::tool::view {
namespace {

// Three decimals of a picture pixel: the page zooms in a hundredfold and more.
void Append(std::string& out, double v) {
  char buffer[64];
  if (std::fabs(v) < 5e-4) v = 0;
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 3);
  const char* end = result.ptr;
  // No trailing zeros: 12.500 is 12.5, 3.000 is 3.
  while (end > buffer && *(end - 1) == '0') --end;
  if (end > buffer && *(end - 1) == '.') --end;
  out.append(buffer, static_cast<size_t>(end - buffer));
}

// Two numbers, a space between them: a point, or an arc's two radii.
void AppendPair(std::string& out, double a, double b) {
  Append(out, a);
  out += ' ';
  Append(out, b);
}

std::string Num(double v) {
  std::string s;
  Append(s, v);
  return s;
}

std::string Hex(uint32_t rgb) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%06X", rgb & 0xFFFFFF);
  return buffer;
}

}  // namespace

void PathPainter::Begin(int width, int height) {
  width_ = width;
  height_ = height;
  paths_.clear();
  dots_.clear();
  texts_.clear();
}

PathPainter::Path& PathPainter::PathFor(const picture::Stroke& s) {
  return paths_[Look{s.rgb, s.width, s.dashes, s.highlighted}];
}

void PathPainter::MoveTo(Path& path, double x, double y) {
  // Dashes start afresh at every move, as they do at every figure of a picture.
  if (path.started && path.x == x && path.y == y && path.d.back() != 'Z') return;
  path.d += 'M';
  AppendPair(path.d, x, y);
  path.started = true;
}

void PathPainter::Line(double x1, double y1, double x2, double y2, const picture::Stroke& s) {
  Path& path = PathFor(s);
  MoveTo(path, x1, y1);
  path.d += 'L';
  AppendPair(path.d, x2, y2);
  path.x = x2;
  path.y = y2;
}

void PathPainter::Circle(double cx, double cy, double r, const picture::Stroke& s) {
  Path& path = PathFor(s);
  // Two half circles from the left end round.
  path.d += 'M';
  AppendPair(path.d, cx - r, cy);
  for (const double end : {cx + r, cx - r}) {
    path.d += 'A';
    AppendPair(path.d, r, r);
    path.d += " 0 1 0 ";
    AppendPair(path.d, end, cy);
  }
  path.d += 'Z';
  path.started = true;
  path.x = cx - r;
  path.y = cy;
}

void PathPainter::Arc(double, double, double r, double x1, double y1, double x2, double y2,
                      bool clockwise, double sweep, const picture::Stroke& s) {
  Path& path = PathFor(s);
  MoveTo(path, x1, y1);
  path.d += 'A';
  AppendPair(path.d, r, r);
  path.d += sweep > 3.141592653589793 ? " 0 1 " : " 0 0 ";
  path.d += clockwise ? "1 " : "0 ";
  AppendPair(path.d, x2, y2);
  path.x = x2;
  path.y = y2;
}

void PathPainter::Dot(double x, double y, const picture::Stroke& s) {
  const double r = s.highlighted ? 3.0 : 1.5;
  std::string& d = dots_[s.highlighted ? 0xFFFF60 : s.rgb];
  d += 'M';
  AppendPair(d, x - r, y);
  d += 'a';
  AppendPair(d, r, r);
  d += " 0 1 0 ";
  Append(d, 2 * r);
  d += " 0a";
  AppendPair(d, r, r);
  d += " 0 1 0 ";
  Append(d, -2 * r);
  d += " 0Z";
}

void PathPainter::Text(double x, double y, double size, const std::string& text, bool centred,
                       uint32_t rgb, bool highlighted) {
  if (size < 0.05) return;  // too small to read even at the deepest zoom
  texts_ += "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" font-size=\"" + Num(size) +
            "\" fill=\"" + Hex(highlighted ? 0xFFFF60 : rgb) + "\"";
  if (highlighted) texts_ += " font-weight=\"bold\"";
  if (centred) texts_ += " text-anchor=\"middle\" dominant-baseline=\"central\"";
  texts_ += ">" + EscapeXml(text) + "</text>\n";
}

std::string PathPainter::Elements() const {
  std::string out;
  // Halos first, so that every stroke lies over every halo.
  for (const auto& [look, path] : paths_) {
    const auto& [rgb, width, dashes, highlighted] = look;
    if (!highlighted || path.d.empty()) continue;
    out += "<path class=\"halo\" stroke-width=\"" + Num(width * 3) + "\" d=\"" + path.d + "\"/>\n";
  }
  for (const auto& [look, path] : paths_) {
    const auto& [rgb, width, dashes, highlighted] = look;
    if (path.d.empty()) continue;
    out += "<path stroke=\"" + Hex(rgb) + "\"";
    if (width != 1.0) out += " stroke-width=\"" + Num(width) + "\"";
    if (!dashes.empty()) {
      out += " stroke-dasharray=\"";
      for (size_t i = 0; i < dashes.size(); ++i) out += (i ? "," : "") + Num(dashes[i]);
      out += "\"";
    }
    out += " d=\"" + path.d + "\"/>\n";
  }
  for (const auto& [rgb, d] : dots_) {
    out += "<path class=\"dot\" fill=\"" + Hex(rgb) + "\" d=\"" + d + "\"/>\n";
  }
  return out + texts_;
}

std::string PathPainter::Document() const {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width_) +
         "\" height=\"" + std::to_string(height_) + "\" viewBox=\"0 0 " + std::to_string(width_) +
         " " + std::to_string(height_) + "\" fill=\"none\" stroke-linecap=\"round\" " +
         "stroke-linejoin=\"round\" font-family=\"" + picture::kFontFamilies + "\">\n" +
         Elements() + "</svg>\n";
}

}  // namespace twinfind::tool::view
