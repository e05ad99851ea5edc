#include "tools/view/drawing_layers.h"

#include "host/geometry.h"
#include "tools/drawing_summary.h"
#include "tools/view/svg_paths.h"

namespace twinfind::tool::view {
namespace {

constexpr int kPictureWidth = 1600;

bool IsTemporary(const vexhost::Segment& s) { return s.life != VEX_LIFE_LASTING; }

}  // namespace

DrawingLayers::DrawingLayers(const vexhost::Drawing& drawing) : drawing_(drawing) {
  base_.widthPixels = kPictureWidth;
  base_.grid = false;
  std::string error;
  picture::RenderOptions first = base_;
  first.include = [](const vexhost::Segment& s) { return !IsTemporary(s); };
  picture::MappingOf(drawing_, first, mapping_, error);
  // From now on every layer maps this part of the drawing.
  const double width = mapping_.width / mapping_.scale;
  const double height = mapping_.height / mapping_.scale;
  const double minX = mapping_.minX - mapping_.left / mapping_.scale;
  const double maxY = mapping_.maxY + mapping_.top / mapping_.scale;
  base_.marginPixels = 0;
  base_.frame = VexBox{minX, maxY - height, minX + width, maxY};
  picture::MappingOf(drawing_, base_, mapping_, error);
  lastingDigest_ = DrawingDigest(drawing_);
  hidden_ = drawing_.hiddenLayers();
  Update(false);
}

std::string DrawingLayers::Render(const picture::RenderOptions& options) const {
  PathPainter painter;
  std::string error;
  if (!picture::PaintDrawing(drawing_, options, painter, error)) return {};
  return painter.Elements();
}

void DrawingLayers::Update(bool lasting) {
  if (lasting) {
    const uint64_t digest = DrawingDigest(drawing_);
    if (digest != lastingDigest_ || drawing_.hiddenLayers() != hidden_) {
      lastingDigest_ = digest;
      hidden_ = drawing_.hiddenLayers();
      ++lastingRevision_;
    }
  }
  picture::RenderOptions blink = base_;
  const auto& blinking = drawing_.blinking();
  blink.include = [&blinking](const vexhost::Segment& s) {
    return blinking.count({s.auxId, s.id}) > 0;
  };
  std::string blinkSvg = blinking.empty() ? std::string() : Render(blink);
  if (blinkSvg != blinkSvg_) {
    blinkSvg_ = std::move(blinkSvg);
    ++blinkRevision_;
  }
  picture::RenderOptions temporary = base_;
  temporary.include = IsTemporary;
  std::string temporarySvg = Render(temporary);
  if (temporarySvg != temporarySvg_) {
    temporarySvg_ = std::move(temporarySvg);
    ++temporaryRevision_;
  }
}

const std::string& DrawingLayers::LastingSvg() {
  if (lastingSvgRevision_ != lastingRevision_) {
    picture::RenderOptions options = base_;
    options.highlightBlinking = false;  // the blinking layer lies over it
    options.include = [](const vexhost::Segment& s) { return !IsTemporary(s); };
    PathPainter painter;
    std::string error;
    lastingSvg_ = picture::PaintDrawing(drawing_, options, painter, error) ? painter.Document()
                                                                           : std::string();
    lastingSvgRevision_ = lastingRevision_;
  }
  return lastingSvg_;
}

std::string DrawingLayers::Highlight(const std::unordered_set<int>& segments, uint32_t rgb) const {
  if (segments.empty()) return {};
  picture::RenderOptions options = base_;
  options.highlightBlinking = false;
  options.include = [&segments](const vexhost::Segment& s) { return segments.count(s.id) != 0; };
  options.colourOf = [rgb](const vexhost::Segment&, bool& bold) -> std::optional<uint32_t> {
    bold = true;
    return rgb;
  };
  return Render(options);
}

nlohmann::json DrawingLayers::MappingJson() const {
  return {{"scale", mapping_.scale},  {"left", mapping_.left}, {"top", mapping_.top},
          {"minX", mapping_.minX},    {"maxY", mapping_.maxY}, {"width", mapping_.width},
          {"height", mapping_.height}};
}

nlohmann::json DrawingLayers::ExtentJson() const {
  VexBox extent = vexhost::EmptyBox();
  for (const int id : drawing_.SegmentIds()) {
    const vexhost::Segment* s = drawing_.FindSegment(id);
    if (s == nullptr || !drawing_.LayerVisible(s->layer)) continue;
    if (const auto box = drawing_.SegmentBounds(id)) vexhost::Include(extent, *box);
  }
  if (vexhost::IsEmpty(extent)) return nullptr;
  return {
      {"minX", extent.minX}, {"minY", extent.minY}, {"maxX", extent.maxX}, {"maxY", extent.maxY}};
}

}  // namespace twinfind::tool::view
