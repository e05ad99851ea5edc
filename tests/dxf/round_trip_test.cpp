// Import, export and import again gives the same segments and figures: on generated drawings
// with every kind of segment, and on the real drawings.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "testkit/twin_drawing.h"
#include "drawing_compare.h"
#include "dxf/dxf_export.h"
#include "dxf/dxf_import.h"
#include "dxf_test_util.h"
#include "host/host.h"

namespace {

using dxftest::ExpectSameDrawing;

// A drawing read back from what the exporter wrote of another.
struct ReadBack : vexhost::Drawing {
  ReadBack(const vexhost::Drawing& d, const dxftest::ScratchFolder& folder) {
    std::string error;
    EXPECT_TRUE(twinfind::dxf::ExportDxf(d, folder / "round.dxf", error)) << error;
    const auto result = twinfind::dxf::ImportDxf(folder / "round.dxf", *this);
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.notHeld.empty());
    EXPECT_TRUE(result.unknownLineTypes.empty());
  }
};

TEST(RoundTripTest, GeneratedDrawingsComeBackSegmentForSegment) {
  dxftest::ScratchFolder folder;
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    vexhost::ResetHost();
    vexhost::Drawing& d = vexhost::TheHost().drawing;
    drawgen::TwinDrawing twins(seed, 8);
    const double s = twins.spacing();
    twins.Place({});
    twins.Place({s, 0, 37.5, false, 2, 5});
    twins.Place({2 * s, 0, 0, true, 3, 9});
    twins.Place({3 * s, 0, 250, true, 0, 13});
    twins.Place({0, s, 90, false}, drawgen::Variant::kReversedTwin);
    twins.AddClutter(10, 0, -s, 4 * s, -0.2 * s);
    // Line types, segment attributes, names and a hidden layer.
    int n = 0;
    for (const int id : d.SegmentIds()) {
      for (const int e : d.FindSegment(id)->elements) d.FindElement(e)->lineAttr->lineType = n % 10;
      if (++n % 3 == 0) d.FindSegment(id)->attributes = 1u << VEX_ATTRIBUTE_5 | 1u << 12;
    }
    d.SetLayerName(2, "Brackets");
    d.SetLayerName(3, "플랜지");
    d.SetLayerVisible(3, false);
    // Texts and balloons: alone, and together in one segment.
    const std::u16string label = u"부품 1 %%c", row1 = u"12", row2 = u"3개";
    NormalTextData text{};
    text.type = VEX_ELEMENT_TEXT;
    text.x = -40;
    text.y = 10;
    text.text = label.c_str();
    text.size1 = 10;
    text.size2 = 5.5;
    const int texts = d.CreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
    d.AddComment(texts, *vexhost::MakeTextComment(text));
    BalloonData balloon{};
    balloon.leader = 1;
    balloon.anchorX = 3;
    balloon.anchorY = 4;
    balloon.centerX = -30;
    balloon.centerY = 50;
    balloon.diameter = 14;
    balloon.rowCount = 2;
    balloon.rows[0] = row1.c_str();
    balloon.rows[1] = row2.c_str();
    const int balloons = d.CreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
    d.FindSegment(balloons)->layer = 2;
    d.AddComment(balloons, *vexhost::MakeBalloonComment(balloon));
    const int mixed = d.CreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
    d.FindSegment(mixed)->attributes = 7;
    d.AddComment(mixed, *vexhost::MakeBalloonComment(balloon));
    text.y = 90;
    d.AddComment(mixed, *vexhost::MakeTextComment(text));
    // A temporary segment is never written.
    d.CreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_TEMPORARY);

    ExpectSameDrawing(d, ReadBack(d, folder), true);
  }
}

TEST(RoundTripTest, SingleArcsOfBothDirectionsAndFullCirclesComeBackAsTheyWere) {
  dxftest::ScratchFolder folder;
  vexhost::Drawing d;
  auto arc = [](double sx, double sy, double ex, double ey, int direction) {
    FigureRecord f{};
    f.kind = VEX_FIG_ARC;
    f.u.arc = {0, 0, sx, sy, ex, ey, 5, direction, 0};
    return f;
  };
  const std::vector<FigureRecord> arcs = {arc(5, 0, 0, 5, VEX_ARC_CCW), arc(5, 0, 0, 5, VEX_ARC_CW),
                                          arc(0, -5, 0, -5, VEX_ARC_CCW),
                                          arc(0, -5, 0, -5, VEX_ARC_CW)};
  for (const FigureRecord& f : arcs) d.AddFigure(d.CreateSegment(0, 0), f);
  // The same four in one segment that is no chain (a block of separate entities).
  const int together = d.CreateSegment(0, 0);
  for (const FigureRecord& f : arcs) d.AddFigure(together, f);
  ExpectSameDrawing(d, ReadBack(d, folder));
}

// Found by fuzzing: figures that looked like a chain but were written as a polyline that reads
// back with fewer lines. A first line of no length gave a repeated vertex; far from the origin
// a joint was judged by the coordinates' size, so that lines a hundred units apart were one vertex;
// a first line shorter than the play of a joint gave a repeated vertex too.
TEST(RoundTripTest, FiguresThatAreNoChainComeBackAsTheyWere) {
  const struct {
    const char* what;
    std::vector<FigureLine> lines;
  } cases[] = {
      {"a first line of no length", {{1, 2, 1, 2}, {1, 2, 3, 3}}},
      {"lines far from the origin, a hundred units apart",
       {{5692945893610.7324, 3286823844148.4302, 5692945893714.6553, 3286823844208.4302},
        {5692945893612.2324, 3286823844145.832, 5692945893716.1553, 3286823844205.832},
        {5692945891196.8584, 3286823845099.4624, 5692945891209.3662, 3286823845077.7993}}},
      {"a first line shorter than a joint's play", {{1, 2, 1 + 1e-12, 2}, {1, 2, 3, 3}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    dxftest::ScratchFolder folder;
    vexhost::Drawing d;
    const int id = d.CreateSegment(0, 0);
    for (const FigureLine& l : c.lines) {
      FigureRecord f{};
      f.kind = VEX_FIG_LINE;
      f.u.line = l;
      d.AddFigure(id, f);
    }
    ExpectSameDrawing(d, ReadBack(d, folder));
  }
}

TEST(RoundTripTest, RealDrawingsComeBackSegmentForSegment) {
  dxftest::ScratchFolder folder;
  for (const auto& entry : std::filesystem::directory_iterator(dxftest::RealDrawings())) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".dxf" && ext != ".DXF") continue;
    SCOPED_TRACE(entry.path().filename().string());
    vexhost::Drawing first;
    ASSERT_TRUE(twinfind::dxf::ImportDxf(entry.path().string(), first).ok);
    ExpectSameDrawing(first, ReadBack(first, folder));
  }
}

}  // namespace
