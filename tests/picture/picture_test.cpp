// Pictures of the drawing: upright, scaled to the width, arcs as arcs, dashes, blinking
// segments stand out, texts in a CJK font; PNG pixels where the figures are.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>
#include <regex>

#include "dxf/dxf_import.h"
#include "dxf/dxf_test_util.h"
#include "picture/render.h"

namespace {

FigureRecord Line(double x1, double y1, double x2, double y2) {
  FigureRecord f{};
  f.kind = VEX_FIG_LINE;
  f.u.line = {x1, y1, x2, y2};
  return f;
}

int AddSegment(vexhost::Drawing& d, const FigureRecord& f, int color, int lineType = 0,
               int layer = 0) {
  d.SetCurrentLineAttr(LineAttr{color, 0, 0, 0, lineType, 0});
  const int id = d.CreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING);
  d.FindSegment(id)->layer = layer;
  d.AddFigure(id, f);
  return id;
}

// A 100 x 50 drawing: a red line along its bottom, a counter-clockwise quarter arc, a dashed
// line, a blinking line, a hidden layer's line, a text.
void Fill(vexhost::Drawing& d) {
  AddSegment(d, Line(0, 0, 100, 0), 5);
  FigureRecord arc{};
  arc.kind = VEX_FIG_ARC;
  arc.u.arc = {50, 25, 60, 25, 50, 35, 10, VEX_ARC_CCW, 0};
  AddSegment(d, arc, 2);
  AddSegment(d, Line(0, 50, 100, 50), 10, 1);
  const int blink = AddSegment(d, Line(0, 25, 30, 25), 2);
  d.Blink({vexhost::Drawing::kDrawingId, blink});
  AddSegment(d, Line(0, 40, 100, 40), 0, 0, 7);
  d.SetLayerVisible(7, false);
  NormalTextData t{};
  t.type = VEX_ELEMENT_TEXT;
  t.x = 70;
  t.y = 5;
  const std::u16string words = u"수량 <3>";
  t.text = words.c_str();
  t.size1 = 5;
  t.size2 = 3.5;
  const int text = d.CreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
  d.AddComment(text, *vexhost::MakeTextComment(t));
}

struct Sample : vexhost::Drawing {
  Sample() { Fill(*this); }
};

TEST(PictureTest, SvgShowsTheDrawingUprightWithArcsDashesHighlightsAndTexts) {
  twinfind::picture::RenderOptions options;
  options.widthPixels = 240;
  options.marginPixels = 20;
  std::string svg, error;
  ASSERT_TRUE(twinfind::picture::SvgOf(Sample(), options, svg, error)) << error;
  // 200 pixels for 100 units: 2 pixels a unit; 50 units high plus the margins.
  EXPECT_NE(svg.find("width=\"240\" height=\"140\""), std::string::npos) << svg;
  // The bottom line lies at the bottom: y = 20 + 50 * 2.
  EXPECT_NE(
      svg.find("<line x1=\"20.00\" y1=\"120.00\" x2=\"220.00\" y2=\"120.00\" stroke=\"#FF0000\"/>"),
      std::string::npos);
  // The arc from (60, 25) to (50, 35): counter-clockwise, small, so flags 0 0.
  EXPECT_NE(svg.find("<path d=\"M 140.00 70.00 A 20.00 20.00 0 0 0 120.00 50.00\""),
            std::string::npos);
  EXPECT_NE(svg.find("stroke-dasharray="), std::string::npos);
  // The blinking line: a halo under it and a thicker stroke, drawn after the others.
  const size_t halo =
      svg.find("y1=\"70.00\" x2=\"80.00\" y2=\"70.00\" stroke=\"#FFFFFF\" stroke-opacity");
  ASSERT_NE(halo, std::string::npos);
  EXPECT_GT(halo, svg.find("stroke-dasharray="));
  EXPECT_NE(svg.find("stroke-width=\"2.50\"", halo), std::string::npos);
  // The hidden layer's line at y = 40 (picture 40) is not drawn.
  EXPECT_EQ(svg.find("y1=\"40.00\""), std::string::npos);
  EXPECT_NE(svg.find("font-family=\"'Noto Sans CJK KR'"), std::string::npos);
  EXPECT_NE(svg.find(">수량 &lt;3&gt;</text>"), std::string::npos);
}

// Reads a PNG back with cairo.
struct Image {
  explicit Image(const std::string& png) {
    size_t at = 0;
    auto read = [](void* closure, unsigned char* data, unsigned int length) {
      auto* self = static_cast<std::pair<const std::string*, size_t*>*>(closure);
      if (*self->second + length > self->first->size()) return CAIRO_STATUS_READ_ERROR;
      std::memcpy(data, self->first->data() + *self->second, length);
      *self->second += length;
      return CAIRO_STATUS_SUCCESS;
    };
    std::pair<const std::string*, size_t*> closure{&png, &at};
    surface = cairo_image_surface_create_from_png_stream(read, &closure);
  }
  ~Image() { cairo_surface_destroy(surface); }
  int width() const { return cairo_image_surface_get_width(surface); }
  int height() const { return cairo_image_surface_get_height(surface); }
  uint32_t Pixel(int x, int y) const {
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    uint32_t p;
    std::memcpy(&p, row + 4 * x, 4);
    return p & 0xFFFFFF;
  }
  // Pixels of the column x between y0 and y1 that differ from the background.
  int LitInColumn(int x, int y0, int y1) const {
    int lit = 0;
    for (int y = y0; y <= y1; ++y) lit += Pixel(x, y) != Pixel(0, 0);
    return lit;
  }
  cairo_surface_t* surface;
};

TEST(PictureTest, PngHasTheWidthTheBackgroundAndTheFiguresWhereTheyBelong) {
  twinfind::picture::RenderOptions options;
  options.widthPixels = 240;
  options.marginPixels = 20;
  std::string png, error;
  ASSERT_TRUE(twinfind::picture::PngOf(Sample(), options, png, error)) << error;
  const Image image(png);
  ASSERT_EQ(cairo_surface_status(image.surface), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(image.width(), 240);
  EXPECT_EQ(image.height(), 140);
  EXPECT_EQ(image.Pixel(0, 0), 0x10141Cu);
  // The red bottom line (1 pixel wide at y = 120, so shared by two rows): red, not grey.
  bool red = false;
  for (int y = 118; y <= 122; ++y) {
    const uint32_t p = image.Pixel(100, y);
    red |= (p >> 16) >= 0x80 && ((p >> 8) & 0xFF) < 0x40 && (p & 0xFF) < 0x40;
  }
  EXPECT_TRUE(red);
  // The blinking line (picture y 70) is drawn wider than the plain red one (y 120).
  EXPECT_GT(image.LitInColumn(40, 60, 80), image.LitInColumn(40, 110, 130));
  // The hidden layer's line (picture y 40) is not there.
  EXPECT_EQ(image.LitInColumn(100, 36, 44), 0);
  // The text puts ink right of its point (70, 5): picture (160, 110) and up.
  int ink = 0;
  for (int x = 160; x < 200; ++x) ink += image.LitInColumn(x, 100, 110);
  EXPECT_GT(ink, 10);
}

TEST(PictureTest, EveryRealDrawingMakesBothPictures) {
  dxftest::ScratchFolder folder;
  for (const auto& entry : std::filesystem::directory_iterator(dxftest::RealDrawings())) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".dxf" && ext != ".DXF") continue;
    SCOPED_TRACE(entry.path().filename().string());
    vexhost::Drawing d;
    ASSERT_TRUE(twinfind::dxf::ImportDxf(entry.path().string(), d).ok);
    std::string error;
    EXPECT_TRUE(twinfind::picture::RenderSvg(d, folder / "picture.svg", error)) << error;
    EXPECT_TRUE(twinfind::picture::RenderPng(d, folder / "picture.png", error)) << error;
    EXPECT_GT(std::filesystem::file_size(folder / "picture.png"), 1000u);
  }
}

}  // namespace
