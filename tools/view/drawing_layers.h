// The drawing in three layers, as the page stacks them: the lasting drawing (large, drawn
// again only when it changed), the blinking twins over it (highlighted, made to blink by the
// page), and the host's temporary drawing on top (the row and balloon previews, redrawn at
// every pointer motion). All three share one mapping onto picture pixels, fixed when the
// drawing was opened, so the page's view of the drawing never jumps when the drawing grows.
#ifndef TOOLS_VIEW_DRAWING_LAYERS_H
#define TOOLS_VIEW_DRAWING_LAYERS_H

#include <cstdint>
#include <set>
#include <string>
#include <unordered_set>

#include <nlohmann/json.hpp>

#include "host/drawing.h"
#include "picture/render.h"

namespace twinfind::tool::view {

class DrawingLayers {
 public:
  // The mapping is the pictures' one for the drawing as it is now, 1600 pixels wide.
  explicit DrawingLayers(const vexhost::Drawing& drawing);

  // Looks at the drawing after an action: each layer that changed gets a new revision (the
  // lasting one also when a layer of the drawing was shown or hidden).
  // `lasting` false skips the look at the lasting drawing (pointer motion draws only
  // temporary segments).
  void Update(bool lasting = true);

  int lastingRevision() const { return lastingRevision_; }
  // The fingerprint of the lasting drawing at the last look (DrawingDigest).
  uint64_t lastingDigest() const { return lastingDigest_; }
  int blinkRevision() const { return blinkRevision_; }
  int temporaryRevision() const { return temporaryRevision_; }

  // The lasting drawing as an SVG document; the blinking and temporary layers as elements.
  const std::string& LastingSvg();
  const std::string& BlinkSvg() const { return blinkSvg_; }
  const std::string& TemporarySvg() const { return temporarySvg_; }
  // Some segments drawn thick in one colour (SVG elements), to highlight them over the rest.
  std::string Highlight(const std::unordered_set<int>& segments, uint32_t rgb) const;

  // The mapping, for the page: {scale, left, top, minX, maxY, width, height}.
  nlohmann::json MappingJson() const;
  // The extent of what is drawn now, in drawing units ({minX, minY, maxX, maxY}); null when
  // nothing is.
  nlohmann::json ExtentJson() const;

 private:
  std::string Render(const picture::RenderOptions& options) const;

  const vexhost::Drawing& drawing_;
  picture::RenderOptions base_;
  picture::PictureMapping mapping_;
  uint64_t lastingDigest_ = 0;
  std::set<int> hidden_;  // the drawing's hidden layers at the last look
  int lastingRevision_ = 1;
  std::string lastingSvg_;
  int lastingSvgRevision_ = 0;  // the revision lastingSvg_ shows
  std::string blinkSvg_, temporarySvg_;
  int blinkRevision_ = 1, temporaryRevision_ = 1;
};

}  // namespace twinfind::tool::view

#endif  // TOOLS_VIEW_DRAWING_LAYERS_H
