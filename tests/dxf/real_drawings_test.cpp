// Every real drawing of samples/real imports, and gives the segments, extent and not-held
// entities that ezdxf finds in it by the rules of docs/dxf.md.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "dxf/dxf_import.h"
#include "dxf_test_util.h"
#include "host/geometry.h"

namespace {

struct Expected {
  const char* file;
  int segments;
  VexBox extent;  // of all figures
  std::map<std::string, int> notHeld;
};

// Made with ezdxf 0.18.1 by tests/dxf/ezdxf_expectations.py (which reads each file with ezdxf,
// flattens block references with ezdxf's own code and measures arcs and bulges itself):
//   /usr/bin/python3 tests/dxf/ezdxf_expectations.py samples/real/*.dxf samples/real/*.DXF
const Expected kExpected[] = {
    {"Ceco.NET-Architecture-Tm-53.dxf", 700, {0, 0, 43.1, 32.6}, {{"DIMENSION", 6}, {"HATCH", 8}}},
    {"api-cw750-details.dxf",
     954,
     {155.6121448, 143.0518238, 723.3548106, 539.8219673},
     {{"3DSOLID", 3},
      {"DIMENSION", 293},
      {"HATCH", 73},
      {"INSERT (paper space)", 12},
      {"LEADER", 11},
      {"LINE (paper space)", 3},
      {"LWPOLYLINE (paper space)", 1},
      {"MTEXT (paper space)", 1},
      {"MULTILEADER", 58},
      {"MULTILEADER (paper space)", 3},
      {"TEXT (paper space)", 5},
      {"VIEWPORT (paper space)", 12}}},
    {"crkbd-Edge.Cuts.dxf", 2222, {60.925, -153.257, 194.825, -60.925}, {}},
    {"crkbd-F.Cu.dxf", 40810, {61.3015, -152.585, 194.168, -61.4471}, {}},
    {"floorplan.dxf",
     885,
     {-684.0621484, -220.6328682, 182.0902808, 351.3671318},
     {{"DIMENSION", 63}, {"HATCH", 13}, {"LEADER", 6}, {"VIEWPORT (paper space)", 3}}},
    {"wipeout_door.dxf",
     148,
     {9383.646297, 3721.837055, 13032.51897, 6780.01788},
     {{"WIPEOUT", 3}}},
    {"JR-3099-V2-LTCSL-4X-S.DXF", 89, {0, 0, 77.408, 58}, {}},
};

void PrintTo(const Expected& e, std::ostream* out) { *out << e.file; }

class RealDrawingTest : public ::testing::TestWithParam<Expected> {};

TEST_P(RealDrawingTest, ImportsItsSegmentsExtentAndWarnings) {
  const Expected& e = GetParam();
  vexhost::Drawing d;
  const auto result = twinfind::dxf::ImportDxf((dxftest::RealDrawings() / e.file).string(), d);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.segments, e.segments);
  EXPECT_EQ(static_cast<int>(d.SegmentCount()), e.segments);
  VexBox extent = vexhost::EmptyBox();
  for (const int id : d.SegmentIds()) {
    if (d.FindSegment(id)->kind != VEX_SEGMENT_FIGURES) continue;
    if (const auto box = d.SegmentBounds(id)) vexhost::Include(extent, *box);
  }
  // The expected numbers carry ten significant digits.
  const double size = std::max(e.extent.maxX - e.extent.minX, e.extent.maxY - e.extent.minY);
  const double tolerance =
      1e-8 * std::max({size, std::fabs(e.extent.minX), std::fabs(e.extent.maxX),
                       std::fabs(e.extent.minY), std::fabs(e.extent.maxY)});
  EXPECT_NEAR(extent.minX, e.extent.minX, tolerance);
  EXPECT_NEAR(extent.minY, e.extent.minY, tolerance);
  EXPECT_NEAR(extent.maxX, e.extent.maxX, tolerance);
  EXPECT_NEAR(extent.maxY, e.extent.maxY, tolerance);
  EXPECT_EQ(result.notHeld, e.notHeld);
  // One warning line per entry.
  EXPECT_EQ(result.WarningLines().size(), result.notHeld.size() + result.unknownLineTypes.size());
}

INSTANTIATE_TEST_SUITE_P(SamplesReal, RealDrawingTest, ::testing::ValuesIn(kExpected),
                         [](const ::testing::TestParamInfo<Expected>& info) {
                           std::string name = info.param.file;
                           name = name.substr(0, name.find('.'));
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(RealDrawingsFolderTest, EveryDrawingThereHasItsExpectationAndItsSource) {
  std::set<std::string> drawings, listed;
  for (const auto& entry : std::filesystem::directory_iterator(dxftest::RealDrawings())) {
    const std::string name = entry.path().filename().string();
    const std::string ext = entry.path().extension().string();
    if (ext == ".dxf" || ext == ".DXF") {
      drawings.insert(name);
      EXPECT_TRUE(std::filesystem::exists(entry.path().string() + ".source.txt")) << name;
    }
  }
  for (const Expected& e : kExpected) listed.insert(e.file);
  EXPECT_EQ(drawings, listed);
}

}  // namespace
