#include "picture/picture.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "common/utf.h"
#include "host/balloon_layout.h"
#include "host/geometry.h"
#include "host/palette.h"

namespace twinfind::picture {
namespace {

// Dash patterns are drawn at a fixed size on the picture, one pattern unit to this many pixels,
// so that a dashed line looks dashed whatever the drawing's scale.
constexpr double kPixelsPerPatternUnit = 1.5;
// Texts and balloons carry no colour of their own.
constexpr uint32_t kCommentColor = 0xE8E8E8;

uint32_t RgbOfHostColor(int color) {
  if (color < 0 || color >= static_cast<int>(vexhost::kColors.size())) color = 0;
  const vexhost::Rgb& c = vexhost::kColors[color];
  return (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
}

Stroke StrokeOf(const LineAttr& attr, bool highlighted) {
  Stroke s;
  s.rgb = RgbOfHostColor(attr.color);
  s.width = highlighted ? 2.5 : 1.0;
  s.highlighted = highlighted;
  if (attr.lineType > 0 && attr.lineType < static_cast<int>(vexhost::kLineTypes.size())) {
    const vexhost::LineTypeStyle& type = vexhost::kLineTypes[attr.lineType];
    for (int i = 0; i < type.patternLength; ++i) {
      s.dashes.push_back(std::fabs(type.pattern[i]) * kPixelsPerPatternUnit * s.width);
    }
  }
  return s;
}

// Maps drawing coordinates onto the picture.
struct View {
  double scale = 1, left = 0, top = 0, minX = 0, maxY = 0;
  double X(double x) const { return left + (x - minX) * scale; }
  double Y(double y) const { return top + (maxY - y) * scale; }
};

// The grid: light lines a round step apart (1, 2 or 5 times a power of ten, at least
// kGridPixels apart on the picture), each labelled with its coordinate at the picture's left
// and bottom edges.
constexpr double kGridPixels = 110;
constexpr uint32_t kGridColor = 0x28303E;
constexpr uint32_t kGridLabelColor = 0x8C98AC;
constexpr double kGridLabelPixels = 11;

double GridStep(double scale) {
  const double least = kGridPixels / scale;
  double step = std::pow(10.0, std::floor(std::log10(least)));
  for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
    if (step * factor >= least) return step * factor;
  }
  return step * 10;
}

std::string GridLabel(double value, double step) {
  const int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
  if (std::fabs(value) < step * 1e-6) value = 0;
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return std::string(buffer, result.ptr);
}

class Scene {
 public:
  Scene(const vexhost::Drawing& drawing, const View& view, Painter& painter)
      : drawing_(drawing), view_(view), painter_(painter) {}

  void Figure(const FigureRecord& f, const Stroke& s) {
    const View& v = view_;
    switch (f.kind) {
      case VEX_FIG_LINE:
        painter_.Line(v.X(f.u.line.x1), v.Y(f.u.line.y1), v.X(f.u.line.x2), v.Y(f.u.line.y2), s);
        break;
      case VEX_FIG_CIRCLE:
        painter_.Circle(v.X(f.u.circle.cx), v.Y(f.u.circle.cy), f.u.circle.r * v.scale, s);
        break;
      case VEX_FIG_ARC: {
        const FigureArc& a = f.u.arc;
        const double sweep = vexhost::SweepOf(a).sweep;
        if (sweep >= 2 * std::numbers::pi) {
          painter_.Circle(v.X(a.cx), v.Y(a.cy), a.r * v.scale, s);
        } else {
          // The picture shows the drawing upright, so an arc turns the same way on it.
          painter_.Arc(v.X(a.cx), v.Y(a.cy), a.r * v.scale, v.X(a.sx), v.Y(a.sy), v.X(a.ex),
                       v.Y(a.ey), a.direction == VEX_ARC_CW, sweep, s);
        }
        break;
      }
      case VEX_FIG_POINT:
        painter_.Dot(v.X(f.u.point.x), v.Y(f.u.point.y), s);
        break;
      default:
        break;  // kinds 4 and 5 have no drawn form
    }
  }

  void Comment(const vexhost::Comment& comment, bool highlighted) {
    const View& v = view_;
    if (const auto* text = std::get_if<vexhost::TextComment>(&comment)) {
      painter_.Text(v.X(text->record.x), v.Y(text->record.y), text->record.size1 * v.scale,
                    ToUtf8(text->text), false, kCommentColor, highlighted);
      return;
    }
    const auto& balloon = std::get<vexhost::BalloonComment>(comment);
    const vexhost::BalloonShape shape = vexhost::LayoutBalloon(balloon);
    Stroke s;
    s.rgb = kCommentColor;
    s.width = highlighted ? 2.5 : 1.0;
    s.highlighted = highlighted;
    painter_.Circle(v.X(shape.cx), v.Y(shape.cy), shape.r * v.scale, s);
    if (shape.leader) {
      painter_.Line(v.X(shape.anchorX), v.Y(shape.anchorY), v.X(shape.edgeX), v.Y(shape.edgeY), s);
    }
    for (const vexhost::BalloonRow& row : shape.rows) {
      painter_.Text(v.X(row.centerX), v.Y(row.centerY), row.height * v.scale, ToUtf8(row.text),
                    true, kCommentColor, highlighted);
    }
  }

  void Segment(const vexhost::Segment& segment, bool highlighted,
               std::optional<uint32_t> colour = std::nullopt) {
    for (const int id : segment.elements) {
      const vexhost::Element* e = drawing_.FindElement(id);
      if (!e) continue;
      if (e->comment) {
        Comment(*e->comment, highlighted);
      } else {
        Stroke s = StrokeOf(e->lineAttr.value_or(LineAttr{}), highlighted);
        if (colour) s.rgb = *colour;
        Figure(e->figure, s);
      }
    }
  }

 private:
  const vexhost::Drawing& drawing_;
  const View& view_;
  Painter& painter_;
};

void PaintGrid(const View& view, int width, int height, Painter& painter) {
  if (!(view.scale > 0) || !std::isfinite(view.scale)) return;
  const double step = GridStep(view.scale);
  const double left = view.minX - view.left / view.scale;
  const double right = view.minX + (width - view.left) / view.scale;
  const double top = view.maxY + view.top / view.scale;
  const double bottom = view.maxY - (height - view.top) / view.scale;
  if ((right - left) / step > 1000 || (top - bottom) / step > 4000) return;
  Stroke s;
  s.rgb = kGridColor;
  s.width = 1;
  for (double i = std::ceil(left / step); i * step <= right; ++i) {
    const double x = i * step;
    painter.Line(view.X(x), 0, view.X(x), height, s);
    painter.Text(view.X(x) + 3, height - 4, kGridLabelPixels, GridLabel(x, step), false,
                 kGridLabelColor, false);
  }
  for (double i = std::ceil(bottom / step); i * step <= top; ++i) {
    const double y = i * step;
    painter.Line(0, view.Y(y), width, view.Y(y), s);
    painter.Text(3, view.Y(y) - 3, kGridLabelPixels, GridLabel(y, step), false, kGridLabelColor,
                 false);
  }
}

}  // namespace

bool MappingOf(const vexhost::Drawing& drawing, const RenderOptions& options,
               PictureMapping& mapping, std::string& error) {
  const int width = options.widthPixels;
  if (width < kMinPictureWidth || width > kMaxPictureWidth) {
    error = "picture width " + std::to_string(width) + " is outside " +
            std::to_string(kMinPictureWidth) + " to " + std::to_string(kMaxPictureWidth) +
            " pixels";
    return false;
  }
  const int margin = std::clamp(options.marginPixels, 0, width / 4);
  VexBox extent = vexhost::EmptyBox();
  if (options.frame) {
    extent = *options.frame;
  } else {
    for (const int id : drawing.SegmentIds()) {
      const vexhost::Segment* s = drawing.FindSegment(id);
      if (!s || !drawing.LayerVisible(s->layer) || (options.include && !options.include(*s))) {
        continue;
      }
      if (const auto box = drawing.SegmentBounds(id)) vexhost::Include(extent, *box);
    }
  }
  if (vexhost::IsEmpty(extent)) extent = {0, 0, 1, 1};
  const double spanX = extent.maxX - extent.minX, spanY = extent.maxY - extent.minY;
  const double span = std::max({spanX, spanY, 1e-9});
  const double inner = width - 2.0 * margin;
  mapping.scale = inner / std::max(spanX, span * 1e-3);
  const double maxHeight = 4.0 * width;
  if (spanY * mapping.scale + 2 * margin > maxHeight) {
    mapping.scale = (maxHeight - 2 * margin) / spanY;
  }
  mapping.width = width;
  mapping.height = std::max(static_cast<int>(std::ceil(spanY * mapping.scale + 2.0 * margin)), 1);
  mapping.left = margin + (inner - spanX * mapping.scale) / 2;
  mapping.top = margin;
  mapping.minX = extent.minX;
  mapping.maxY = extent.maxY;
  return true;
}

bool PaintDrawing(const vexhost::Drawing& drawing, const RenderOptions& options, Painter& painter,
                  std::string& error) {
  PictureMapping mapping;
  if (!MappingOf(drawing, options, mapping, error)) return false;
  // What is drawn: every segment on a visible layer, the temporary drawing included.
  std::vector<const vexhost::Segment*> shown;
  for (const int id : drawing.SegmentIds()) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (!s || !drawing.LayerVisible(s->layer) || (options.include && !options.include(*s))) {
      continue;
    }
    shown.push_back(s);
  }
  View view;
  view.scale = mapping.scale;
  view.left = mapping.left;
  view.top = mapping.top;
  view.minX = mapping.minX;
  view.maxY = mapping.maxY;
  const int width = mapping.width, height = mapping.height;

  painter.Begin(width, height);
  if (options.grid) PaintGrid(view, width, height, painter);
  Scene scene(drawing, view, painter);
  const auto& blinking = drawing.blinking();
  std::vector<const vexhost::Segment*> highlighted;
  std::vector<std::pair<const vexhost::Segment*, uint32_t>> bold;
  for (const vexhost::Segment* s : shown) {
    const bool blinks = options.highlightBlinking && blinking.count({s->auxId, s->id}) > 0;
    bool thick = false;
    const std::optional<uint32_t> colour =
        options.colourOf ? options.colourOf(*s, thick) : std::nullopt;
    if (blinks) {
      highlighted.push_back(s);  // drawn last, over everything else
    } else if (colour && thick) {
      bold.emplace_back(s, *colour);
    } else {
      scene.Segment(*s, false, colour);
    }
  }
  for (const auto& [s, colour] : bold) scene.Segment(*s, true, colour);
  for (const vexhost::Segment* s : highlighted) scene.Segment(*s, true);
  for (const RenderOptions::Label& label : options.labels) {
    painter.Text(view.X(label.x), view.Y(label.y), options.labelPixels, label.text, true, label.rgb,
                 true);
  }
  return true;
}

}  // namespace twinfind::picture
