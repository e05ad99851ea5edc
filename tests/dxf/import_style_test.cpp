// What an import makes of layers, colours, line types and texts.
#include <gtest/gtest.h>

#include "dxf/dxf_import.h"
#include "dxf_test_util.h"
#include "host/palette.h"

namespace {

using dxftest::File;
using dxftest::Groups;
using dxftest::Layer;

// A drawing holding what the text imports to.
struct Imported : vexhost::Drawing {
  explicit Imported(const std::string& text, twinfind::dxf::ImportResult* out = nullptr) {
    auto result = twinfind::dxf::ImportDxfText(text, *this);
    EXPECT_TRUE(result.ok) << result.error;
    if (out) *out = result;
  }
};

// The host colour whose RGB is given (the palette lists each once).
int HostColor(uint8_t r, uint8_t g, uint8_t b) {
  for (size_t i = 0; i < vexhost::kColors.size(); ++i) {
    const auto& c = vexhost::kColors[i];
    if (c.r == r && c.g == g && c.b == b) return static_cast<int>(i);
  }
  return -1;
}

TEST(ImportStyleTest, NumericLayerNamesKeepTheirNumbersAndOthersFollowTheHighest) {
  const std::string layers = Layer("0", 7) + Layer("Walls", 1) + Layer("12", 2) +
                             Layer("Doors", 3, 1) /* frozen */ + Layer("5", -4) /* off */ +
                             Layer("007", 5);
  const std::string entities = dxftest::Line(0, 0, 1, 0, {{8, "WALLS"}}) +  // case differs
                               dxftest::Line(0, 0, 1, 0, {{8, "12"}}) +
                               dxftest::Line(0, 0, 1, 0, {{8, "Unlisted"}}) +
                               dxftest::Line(0, 0, 1, 0, {{8, "5"}});
  const auto d = Imported(File(entities, "", layers));
  // Numeric: 0, 12, 5. Named, in table order then first use, from 13: Walls, Doors, 007,
  // Unlisted.
  const std::map<int, std::string> expected = {
      {0, "0"}, {5, "5"}, {12, "12"}, {13, "Walls"}, {14, "Doors"}, {15, "007"}, {16, "Unlisted"}};
  EXPECT_EQ(d.layerNames(), expected);
  EXPECT_EQ(d.hiddenLayers(), (std::set<int>{14, 5}));
  std::vector<int> layersOfSegments;
  for (const int id : d.SegmentIds()) layersOfSegments.push_back(d.FindSegment(id)->layer);
  EXPECT_EQ(layersOfSegments, (std::vector<int>{13, 12, 16, 5}));
}

TEST(ImportStyleTest, ColoursResolveThroughLayersAndBlocksToTheNearestHostColour) {
  const std::string layers = Layer("0", 7) + Layer("RED", 1) + Layer("BLUE", 5) + Layer("TRUE", 7);
  const std::string block =
      dxftest::Block("B", dxftest::Line(0, 0, 1, 0, {{8, "0"}, {62, "0"}}) +  // BYBLOCK
                              dxftest::Line(0, 0, 1, 0, {{8, "0"}}) +         // BYLAYER on 0
                              dxftest::Line(0, 0, 1, 0, {{8, "BLUE"}}));      // BYLAYER BLUE
  const std::string entities =
      dxftest::Line(0, 0, 1, 0, {{8, "RED"}}) +                                 // BYLAYER: red
      dxftest::Line(0, 0, 1, 0, {{8, "RED"}, {62, "3"}}) +                      // ACI 3 green
      dxftest::Line(0, 0, 1, 0, {{8, "RED"}, {62, "0"}}) +                      // BYBLOCK alone
      dxftest::Line(0, 0, 1, 0, {{8, "0"}, {420, std::to_string(0x0000F0)}}) +  // true colour
      Groups({{0, "INSERT"}, {8, "RED"}, {2, "B"}, {62, "2"}, {10, "0"}, {20, "0"}});
  const auto d = Imported(File(entities, block, layers));
  const auto ids = d.SegmentIds();
  ASSERT_EQ(ids.size(), 5u);
  EXPECT_EQ(dxftest::AttrOf(d, ids[0]).color, HostColor(255, 0, 0));
  EXPECT_EQ(dxftest::AttrOf(d, ids[1]).color, HostColor(60, 255, 80));  // nearest to 0,255,0
  EXPECT_EQ(dxftest::AttrOf(d, ids[2]).color, HostColor(255, 255, 255));
  EXPECT_EQ(dxftest::AttrOf(d, ids[3]).color, HostColor(0, 0, 255));  // nearest to 0,0,240
  // In the block: BYBLOCK takes the reference's yellow; layer 0 takes the reference's layer
  // (red); an entity on its own layer keeps that layer's blue.
  EXPECT_EQ(dxftest::AttrOf(d, ids[4], 0).color, HostColor(255, 255, 0));
  EXPECT_EQ(dxftest::AttrOf(d, ids[4], 1).color, HostColor(255, 0, 0));
  EXPECT_EQ(dxftest::AttrOf(d, ids[4], 2).color, HostColor(0, 0, 255));
}

TEST(ImportStyleTest, LineTypesMapByNameAndUnknownOnesAreDrawnContinuousAndTold) {
  const std::string layers = Layer("0", 7) + Layer("HID", 7, 0, "HIDDEN");
  twinfind::dxf::ImportResult result;
  const auto d = Imported(File(dxftest::Line(0, 0, 1, 0, {{8, "0"}, {6, "dashed"}}) +
                                   dxftest::Line(0, 0, 1, 0, {{8, "0"}, {6, "CENTER2"}}) +
                                   dxftest::Line(0, 0, 1, 0, {{8, "0"}, {6, "plan$0$PHANTOM"}}) +
                                   dxftest::Line(0, 0, 1, 0, {{8, "0"}, {6, "ACAD_ISO07W100"}}) +
                                   dxftest::Line(0, 0, 1, 0, {{8, "HID"}}) +
                                   dxftest::Line(0, 0, 1, 0, {{8, "0"}, {6, "ZIGZAG"}}) +
                                   dxftest::Line(0, 0, 1, 0, {{8, "0"}, {6, "ZIGZAG"}}),
                               "", layers),
                          &result);
  auto typeNamed = [](std::string_view name) {
    for (size_t i = 0; i < vexhost::kLineTypes.size(); ++i) {
      if (vexhost::kLineTypes[i].dxfName == name) return static_cast<int>(i);
    }
    return -1;
  };
  // CENTER2 and PHANTOM look like the long chain and the long two-dot chain; HIDDEN like dashes.
  const std::vector<int> expected = {typeNamed("DASHED"),
                                     typeNamed("DASHDOTX2"),
                                     typeNamed("DIVIDEX2"),
                                     typeNamed("DOT"),
                                     typeNamed("DASHED"),
                                     0,
                                     0};
  std::vector<int> types;
  for (const int id : d.SegmentIds()) types.push_back(dxftest::AttrOf(d, id).lineType);
  EXPECT_EQ(types, expected);
  EXPECT_EQ(result.unknownLineTypes, (std::map<std::string, int>{{"ZIGZAG", 2}}));
  EXPECT_EQ(result.WarningLines(),
            std::vector<std::string>{
                "warning: line type ZIGZAG is not one of the host's: 2 figures drawn continuous"});
}

const vexhost::TextComment& TextOf(const vexhost::Drawing& d, int segment, size_t i = 0) {
  return std::get<vexhost::TextComment>(
      *d.FindElement(d.FindSegment(segment)->elements.at(i))->comment);
}

TEST(ImportStyleTest, TextsBecomeCommentSegmentsWithHeightAndCharacterWidth) {
  const auto d = Imported(File(
      Groups(
          {{0, "TEXT"}, {8, "0"}, {10, "1"}, {20, "2"}, {40, "10"}, {41, "0.5"}, {1, "%%c20 H7"}}) +
      // Centred on (100, 0): four characters 0.7 * 4 wide each.
      Groups({{0, "TEXT"},
              {8, "0"},
              {10, "0"},
              {20, "0"},
              {40, "4"},
              {1, "ABCD"},
              {72, "1"},
              {11, "100"},
              {21, "0"}}) +
      Groups({{0, "MTEXT"},
              {8, "0"},
              {10, "0"},
              {20, "50"},
              {40, "3"},
              {71, "1"},
              {1, "{\\fArial|b1;First}\\PSecond \\H2x;line\\P\\U+D55C\\U+AE00"}})));
  const auto ids = d.SegmentIds();
  ASSERT_EQ(ids.size(), 3u);
  for (const int id : ids) EXPECT_EQ(d.FindSegment(id)->kind, VEX_SEGMENT_COMMENTS);
  const auto& text = TextOf(d, ids[0]);
  EXPECT_EQ(text.text, u"\u230020 H7");
  EXPECT_EQ(text.record.type, VEX_ELEMENT_TEXT);
  EXPECT_DOUBLE_EQ(text.record.x, 1);
  EXPECT_DOUBLE_EQ(text.record.size1, 10);
  EXPECT_DOUBLE_EQ(text.record.size2, 0.7 * 10 * 0.5);  // width factor 0.5
  const auto& centred = TextOf(d, ids[1]);
  EXPECT_NEAR(centred.record.x, 100 - 2 * 0.7 * 4, 1e-12);
  // The MTEXT's three lines, formatting gone, hanging below its top-left point.
  ASSERT_EQ(d.FindSegment(ids[2])->elements.size(), 3u);
  EXPECT_EQ(TextOf(d, ids[2], 0).text, u"First");
  EXPECT_EQ(TextOf(d, ids[2], 1).text, u"Second line");
  EXPECT_EQ(TextOf(d, ids[2], 2).text, u"한글");
  EXPECT_DOUBLE_EQ(TextOf(d, ids[2], 0).record.y, 50 - 3);
  EXPECT_LT(TextOf(d, ids[2], 1).record.y, TextOf(d, ids[2], 0).record.y);
}

TEST(ImportStyleTest, TextsOfOldFilesAreReadInTheirCodePage) {
  // An R12 file in code page 1252: byte E9 is e acute; a UTF-8 file of AutoCAD 2007 on.
  std::string old =
      File(Groups({{0, "TEXT"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}, {1, "caf\xE9"}}));
  const auto d = Imported(old);
  EXPECT_EQ(TextOf(d, d.SegmentIds()[0]).text, u"caf\u00E9");
}

// Newer files append an "embedded object" to a multi-line MTEXT or attribute that repeats the
// entity's codes with other meanings (a direction in 10/20, a column width in 40): the text is
// placed and sized by its own codes, so that a title block does not stretch the drawing.
TEST(ImportStyleTest, EmbeddedObjectsDoNotPlaceOrSizeTheirTexts) {
  const std::string embedded = Groups({{101, "Embedded Object"},
                                       {70, "1"},
                                       {10, "1.0"},
                                       {20, "0.0"},
                                       {11, "9000"},
                                       {21, "9000"},
                                       {40, "5000"},
                                       {41, "0"}});
  const std::string entities =
      Groups({{0, "INSERT"}, {8, "0"}, {66, "1"}, {2, "TB"}, {10, "0"}, {20, "0"}}) +
      Groups({{0, "ATTRIB"},
              {8, "0"},
              {10, "20"},
              {20, "30"},
              {40, "2"},
              {1, "TITLE"},
              {2, "T"},
              {70, "0"}}) +
      embedded + Groups({{0, "SEQEND"}, {8, "0"}}) +
      Groups({{0, "MTEXT"}, {8, "0"}, {10, "40"}, {20, "60"}, {40, "3"}, {71, "1"}, {1, "NOTE"}}) +
      embedded;
  const auto d = Imported(File(entities, dxftest::Block("TB", dxftest::Line(0, 0, 100, 0))));
  double right = 0;
  int texts = 0;
  for (const int id : d.SegmentIds()) {
    for (const int e : d.FindSegment(id)->elements) {
      const auto* element = d.FindElement(e);
      if (!element->comment) continue;
      const auto& text = std::get<vexhost::TextComment>(*element->comment);
      ++texts;
      right = std::max(right, text.record.x);
      EXPECT_LE(text.record.size1, 3) << "sized by the embedded width";
    }
    const auto b = d.SegmentBounds(id);
    if (b) {
      EXPECT_LT(b->maxX, 200) << "stretched by the embedded object";
    }
  }
  EXPECT_EQ(texts, 2);
  EXPECT_LT(right, 100);
}

}  // namespace
