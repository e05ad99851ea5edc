// The drawing as the page shows it: SVG drawn by the pictures' own scene (picture/: colours,
// line types, texts, balloons, highlights), through a painter that gathers every stroke of one
// look into one path. A drawing of 40,000 segments becomes a few dozen paths and its texts,
// which the browser parses, paints and moves far faster than one element per figure.
#ifndef TOOLS_VIEW_SVG_PATHS_H
#define TOOLS_VIEW_SVG_PATHS_H

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "picture/picture.h"

namespace twinfind::tool::view {

class PathPainter final : public picture::Painter {
 public:
  void Begin(int width, int height) override;
  void Line(double x1, double y1, double x2, double y2, const picture::Stroke& s) override;
  void Circle(double cx, double cy, double r, const picture::Stroke& s) override;
  void Arc(double cx, double cy, double r, double x1, double y1, double x2, double y2,
           bool clockwise, double sweep, const picture::Stroke& s) override;
  void Dot(double x, double y, const picture::Stroke& s) override;
  void Text(double x, double y, double size, const std::string& text, bool centred, uint32_t rgb,
            bool highlighted) override;

  // The SVG elements drawn (no document around them): the paths, the halos of highlighted
  // strokes under them, the texts over them.
  std::string Elements() const;
  // A whole SVG document of the elements, as large as the picture.
  std::string Document() const;

 private:
  // One look of strokes: colour, width, dashes, highlighted.
  using Look = std::tuple<uint32_t, double, std::vector<double>, bool>;
  // Where the pen is in each path, so that a figure that starts where the last one ended goes
  // on without a new move.
  struct Path {
    std::string d;
    double x = 0, y = 0;
    bool started = false;
  };
  Path& PathFor(const picture::Stroke& s);
  void MoveTo(Path& path, double x, double y);

  int width_ = 0, height_ = 0;
  std::map<Look, Path> paths_;
  std::map<uint32_t, std::string> dots_;  // filled dots by colour
  std::string texts_;
};

}  // namespace twinfind::tool::view

#endif  // TOOLS_VIEW_SVG_PATHS_H
