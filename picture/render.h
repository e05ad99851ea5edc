// Pictures of the host drawing: SVG, and PNG drawn with cairo. See docs/dxf.md.
#ifndef PICTURE_RENDER_H
#define PICTURE_RENDER_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/drawing.h"

namespace twinfind::picture {

struct RenderOptions {
  int widthPixels = 1600;         // the picture's width; its height follows the drawing
  bool highlightBlinking = true;  // draw the blinking segments thicker and brighter
  int marginPixels = 24;          // free space around the drawing
  bool grid = false;              // a light grid of drawing coordinates, labelled, under it
  // The part of the drawing the picture maps (its margin and width as above); nothing: the
  // extent of what it shows. A view that draws the drawing in layers keeps one frame for all.
  std::optional<VexBox> frame;
  // Only the segments this accepts are drawn; empty: every segment on a visible layer.
  std::function<bool(const vexhost::Segment&)> include;
  // A colour (0xRRGGBB) of the caller's for a segment, drawn instead of its own; segments
  // given one with `bold` are drawn thicker and over the rest. Empty: every segment its own.
  std::function<std::optional<uint32_t>(const vexhost::Segment&, bool& bold)> colourOf;
  // Texts in drawing coordinates, centred there, drawn last over everything.
  struct Label {
    double x = 0, y = 0;
    std::string text;
    uint32_t rgb = 0xFFFFFF;
  };
  std::vector<Label> labels;
  double labelPixels = 16;  // the labels' size
};

// How a picture maps the drawing: picture x = left + (x - minX) * scale, picture y = top +
// (maxY - y) * scale, on a picture of width by height pixels.
struct PictureMapping {
  double scale = 1, left = 0, top = 0, minX = 0, maxY = 0;
  int width = 0, height = 0;
};

// The mapping a picture with these options has; false and a reason for unusable options.
bool MappingOf(const vexhost::Drawing& drawing, const RenderOptions& options,
               PictureMapping& mapping, std::string& error);

// Both write to a temporary name and rename; false and a reason on failure.
bool RenderSvg(const vexhost::Drawing& drawing, const std::string& path, std::string& error,
               const RenderOptions& options = {});
bool RenderPng(const vexhost::Drawing& drawing, const std::string& path, std::string& error,
               const RenderOptions& options = {});

// The SVG text and the PNG bytes themselves; false and a reason for unusable options.
bool SvgOf(const vexhost::Drawing& drawing, const RenderOptions& options, std::string& svg,
           std::string& error);
bool PngOf(const vexhost::Drawing& drawing, const RenderOptions& options, std::string& png,
           std::string& error);

}  // namespace twinfind::picture

#endif  // PICTURE_RENDER_H
