// Pictures of the host drawing: SVG, and PNG drawn with cairo. See docs/dxf.md.
#ifndef PICTURE_RENDER_H
#define PICTURE_RENDER_H

#include <string>

#include "host/drawing.h"

namespace twinfind::picture {

struct RenderOptions {
  int widthPixels = 1600;         // the picture's width; its height follows the drawing
  bool highlightBlinking = true;  // draw the blinking segments thicker and brighter
  int marginPixels = 24;          // free space around the drawing
  bool grid = false;              // a light grid of drawing coordinates, labelled, under it
};

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
