// Turning an SVG picture into a PNG with the rasteriser rsvg-convert (Debian: librsvg2-bin),
// when it is installed.
#ifndef TOOLS_SVG_TO_PNG_H
#define TOOLS_SVG_TO_PNG_H

#include <string>

namespace twinfind::tool {

// Writes the PNG of the SVG file, whole or not at all: a failed conversion leaves no half
// picture. False with the reason when it cannot.
bool ConvertSvgToPng(const std::string& svg, const std::string& png, std::string& error);

}  // namespace twinfind::tool

#endif  // TOOLS_SVG_TO_PNG_H
