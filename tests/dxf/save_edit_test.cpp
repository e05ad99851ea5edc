// Saving into small hand-written files, one for each thing a save may have to do to a file:
// a header-less export that gets the sections new content needs, an array reference whose
// copies fare differently, a recoloured reference of nested blocks, block names already taken,
// and handles counted on from the file's. Each saved file is audited and compared with its input
// by ezdxf, and reads back as the drawing that was saved.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <set>

#include "drawing_compare.h"
#include "dxf/dxf_import.h"
#include "dxf/dxf_save.h"
#include "dxf_test_util.h"
#include "ezdxf_comparison.h"

namespace {

using dxftest::Groups;
using twinfind::dxf::DxfSource;

// An R12 file of the given entities, blocks and layer table entries, with an optional
// $HANDSEED; without a header and tables when `bare`.
std::string R12File(const std::string& entities, const std::string& blocks = "",
                    const std::string& layers = "", const std::string& handSeed = "") {
  std::string text = Groups({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1009"}});
  if (!handSeed.empty()) text += Groups({{9, "$HANDSEED"}, {5, handSeed}});
  text += Groups({{0, "ENDSEC"}, {0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"}, {2, "LAYER"}});
  text += layers + Groups({{0, "ENDTAB"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "BLOCKS"}});
  text += blocks + Groups({{0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}});
  return text + entities + Groups({{0, "ENDSEC"}, {0, "EOF"}});
}

std::string Insert(const std::string& block, std::vector<std::pair<int, std::string>> more = {},
                   double x = 0) {
  std::vector<std::pair<int, std::string>> g = {{0, "INSERT"},           {8, "0"},  {2, block},
                                                {10, std::to_string(x)}, {20, "0"}, {30, "0"}};
  g.insert(g.end(), more.begin(), more.end());
  return Groups(g);
}

std::string Circle(double x, double y, double r, int color) {
  return Groups({{0, "CIRCLE"},
                 {8, "0"},
                 {62, std::to_string(color)},
                 {10, std::to_string(x)},
                 {20, std::to_string(y)},
                 {40, std::to_string(r)}});
}

int AddLine(vexhost::Drawing& d, int layer, double x) {
  d.SetCurrentLayer(layer);
  FigureRecord line{};
  line.kind = VEX_FIG_LINE;
  line.u.line = {x, 0, x + 5, 5};
  const int id = d.CreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING);
  d.AddFigure(id, line);
  return id;
}

void Recolour(vexhost::Drawing& d, int segment, int color, int lineType) {
  for (const int e : d.FindSegment(segment)->elements) {
    if (auto& attr = d.FindElement(e)->lineAttr) {
      attr->color = color;
      attr->lineType = lineType;
    }
  }
}

struct Case {
  const char* name;
  std::string file;
  std::function<void(vexhost::Drawing&)> act;
  twinfind::dxf::SaveCounts counts;
  size_t removed, changed, added;  // as ezdxf tells them
  std::set<std::string> tables;    // its layer and block lines
  std::string saved;               // text the saved file holds
};

TEST(SaveEditTest, EachFileGetsWhatItsChangesNeedAndNothingElse) {
  const std::string twoLines = dxftest::Line(0, 0, 10, 0) + dxftest::Line(10, 0, 10, 30);
  const Case cases[] = {
      {"a header-less export gets a header, tables and blocks for a balloon and a line",
       Groups({{0, "SECTION"}, {2, "ENTITIES"}}) + dxftest::Line(0, 0, 10, 0) +
           Groups({{0, "ENDSEC"}, {0, "EOF"}}),
       [](vexhost::Drawing& d) {
         AddLine(d, 801, 20);
         const std::u16string row = u"A-1";
         BalloonData b{};
         b.leader = 1;
         b.anchorX = 5;
         b.centerX = 5;
         b.centerY = 20;
         b.diameter = 8;
         b.rowCount = 1;
         b.rows[0] = row.c_str();
         const int id = d.CreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
         d.AddComment(id, *vexhost::MakeBalloonComment(b));
       },
       {1, 0, 0, 2},
       0,
       0,
       2,
       {"layer+ 801 7 CONTINUOUS on", "block+ TWINFIND_BALLOON_3"},
       "$EXTMAX"},
      {"an array whose copies fare differently is written copy by copy",
       R12File(Insert("CELL", {{70, "3"}, {44, "20"}}),
               dxftest::Block("CELL", dxftest::Line(0, 0, 5, 5) + Circle(0, 0, 2, 3))),
       [](vexhost::Drawing& d) {
         d.DeleteSegment(2);    // the middle copy
         Recolour(d, 3, 1, 1);  // the last
       },
       {0, 0, 1, 1},
       1,  // ezdxf sees the array go and two references come
       0,
       2,
       {"block+ CELL_TWINFIND_BYBLOCK"},
       ""},
      {"a recoloured reference of nested blocks draws in its new look, its blocks kept",
       R12File(
           Insert("OUTER", {{62, "3"}}) + dxftest::Line(50, 0, 60, 0),
           dxftest::Block(
               "INNER",
               Circle(1, 1, 1, 5) +
                   Groups({{0, "TEXT"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}, {1, "label"}})) +
               dxftest::Block("OUTER",
                              dxftest::Line(0, 0, 4, 0) + Insert("INNER", {{62, "0"}}, 2))),
       [](vexhost::Drawing& d) { Recolour(d, 1, 2, 3); },
       {1, 0, 1, 0},
       0,
       1,
       0,
       {"block+ OUTER_TWINFIND_BYBLOCK", "block+ INNER_TWINFIND_BYBLOCK"},
       ""},
      {"block names already taken are not taken again",
       R12File(twoLines, dxftest::Block("TWINFIND_SEGMENT_3", Circle(0, 0, 1, 1))),
       [](vexhost::Drawing& d) {
         const int id = d.CopySegment(1);  // segment 3: two lines that do not join
         FigureRecord far{};
         far.kind = VEX_FIG_LINE;
         far.u.line = {100, 100, 110, 100};
         d.AddFigure(id, far);
       },
       {2, 0, 0, 1},
       0,
       0,
       1,
       {"block+ TWINFIND_SEGMENT_3_2"},
       ""},
      {"a copy of a reference recoloured is a reference of the block's BYBLOCK copy",
       R12File(Insert("CELL", {}, 5), dxftest::Block("CELL", dxftest::Line(0, 0, 5, 5))),
       [](vexhost::Drawing& d) {
         const VexPoint from{0, 0}, to{0, 40};
         vexhost::PlaneMap move = vexhost::PlaneMap::MoveTurnScale(from, to, 0, 1);
         const int copy = d.CopySegment(1);
         d.PlaceSegment(copy, move);
         Recolour(d, copy, 4, 2);
       },
       {1, 0, 0, 1},
       0,
       0,
       1,
       {"block+ CELL_TWINFIND_BYBLOCK"},
       ""},
      {"an entity changed otherwise is written as the host holds it",
       R12File(twoLines),
       [](vexhost::Drawing& d) {
         vexhost::PlaneMap move;
         move.tx = 3;
         d.PlaceSegment(2, move);
       },
       {1, 0, 1, 0},
       1,  // ezdxf sees a line go and another come
       0,
       1,
       {},
       ""},
      {"handles go on from the file's highest, past a stale seed",
       R12File(
           Groups({{0, "LINE"}, {5, "2A"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}}),
           "", "", "10"),
       [](vexhost::Drawing& d) { AddLine(d, 0, 5); },
       {1, 0, 0, 1},
       0,
       0,
       1,
       {},
       "$HANDSEED\n  5\n2E\n"},  // the line 2B, the line-type table it needs 2C, CONTINUOUS 2D
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dxftest::ScratchFolder folder;
    std::ofstream(folder / "in.dxf", std::ios::binary) << c.file;
    vexhost::Drawing d;
    const auto imported = twinfind::dxf::ImportDxf(folder / "in.dxf", d);
    ASSERT_TRUE(imported.ok) << imported.error;
    c.act(d);
    twinfind::dxf::SaveCounts counts;
    std::string error;
    ASSERT_TRUE(SaveDxf(d, *imported.source, folder / "out.dxf", counts, error)) << error;
    EXPECT_EQ(counts.kept, c.counts.kept);
    EXPECT_EQ(counts.deleted, c.counts.deleted);
    EXPECT_EQ(counts.changed, c.counts.changed);
    EXPECT_EQ(counts.added, c.counts.added);

    const dxftest::Comparison cmp =
        dxftest::CompareWithEzdxf(folder / "in.dxf", folder / "out.dxf", true);
    EXPECT_EQ(cmp.errors, 0) << cmp.output;
    EXPECT_EQ(cmp.fixes, 0) << cmp.output;
    EXPECT_EQ(cmp.versionOut, cmp.versionIn);
    EXPECT_EQ(cmp.removed.size(), c.removed) << cmp.output;
    EXPECT_EQ(cmp.changed.size(), c.changed) << cmp.output;
    EXPECT_EQ(cmp.added.size(), c.added) << cmp.output;
    EXPECT_EQ(std::set<std::string>(cmp.tables.begin(), cmp.tables.end()), c.tables) << cmp.output;
    for (const std::string& line : cmp.changed) {
      EXPECT_NE(line.find("draws=same"), std::string::npos) << line;
      EXPECT_EQ(line.find("look=mixed"), std::string::npos) << line;
    }
    std::ifstream in(folder / "out.dxf", std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(saved.find(c.saved), std::string::npos);

    vexhost::Drawing back;
    const auto reread = twinfind::dxf::ImportDxf(folder / "out.dxf", back);
    ASSERT_TRUE(reread.ok) << reread.error;
    EXPECT_TRUE(reread.notHeld.empty());
    dxftest::ExpectSameDrawing(d, back, true);
  }
}

// The import keeps, for every segment, the entity of the file it came from: a block reference's
// segments (its figures, its texts) name the reference once; an array's copies are told apart;
// segments made later and entities the host does not hold give none.
TEST(SaveEditTest, TheImportTellsTheEntityAndHandleEachSegmentCameFrom) {
  const std::string entities =
      Groups({{0, "LINE"}, {5, "A1"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}}) +
      Groups({{0, "HATCH"}, {5, "A2"}, {8, "0"}}) +
      Groups({{0, "INSERT"}, {5, "B2"}, {8, "0"}, {66, "1"}, {2, "PART"}, {10, "0"}, {20, "0"}}) +
      Groups({{0, "ATTRIB"},
              {5, "B3"},
              {8, "0"},
              {10, "0"},
              {20, "0"},
              {40, "1"},
              {1, "P-1"},
              {2, "NO"},
              {70, "0"}}) +
      Groups({{0, "SEQEND"}, {5, "B4"}, {8, "0"}}) +
      Groups({{0, "INSERT"},
              {5, "C3"},
              {8, "0"},
              {2, "PART"},
              {10, "0"},
              {20, "0"},
              {70, "2"},
              {44, "10"}});
  vexhost::Drawing d;
  const auto imported = twinfind::dxf::ImportDxfText(
      R12File(entities, dxftest::Block("PART", dxftest::Line(0, 0, 2, 0))), d);
  ASSERT_TRUE(imported.ok) << imported.error;
  const DxfSource& source = *imported.source;
  // Line 1; the reference's figures 2 and attribute text 3; the array's copies 4 and 5.
  ASSERT_EQ(d.SegmentCount(), 5u);
  ASSERT_EQ(source.entities().size(), 4u);  // the ATTRIB and SEQEND belong to their INSERT
  const std::vector<std::optional<size_t>> entityOf = {0, 2, 2, 3, 3};
  for (int id = 1; id <= 5; ++id) EXPECT_EQ(source.EntityOf(id), entityOf[id - 1]) << id;
  EXPECT_EQ(source.CellOf(4), 0);
  EXPECT_EQ(source.CellOf(5), 1);
  EXPECT_EQ(source.entities()[1].segmentCount, 0);  // the hatch
  EXPECT_TRUE(source.entities()[2].reference);
  const int later = AddLine(d, 0, 50);
  EXPECT_FALSE(source.EntityOf(later).has_value());
  const std::vector<int> twin = {3, later, 2};
  EXPECT_EQ(source.SourceHandles(twin), (std::vector<std::string>{"B2"}));
  const std::vector<int> all = {5, 4, 3, 2, 1};
  EXPECT_EQ(source.SourceHandles(all), (std::vector<std::string>{"A1", "B2", "C3"}));
  // Each entity's bytes, from its type to the next entity, parts included.
  const std::string& text = source.text();
  const auto& reference = source.entities()[2];
  const std::string bytes = text.substr(reference.begin, reference.end - reference.begin);
  EXPECT_EQ(bytes.rfind("0\nINSERT\n5\nB2\n", 0), 0u) << bytes;
  EXPECT_NE(bytes.find("SEQEND\n5\nB4\n8\n0\n"), std::string::npos) << bytes;
  EXPECT_EQ(text.substr(reference.end, 10), "0\nINSERT\n5");
}

// Found by fuzzing: in a file whose ENTITIES section ran on into another section without its
// end, the last entity reached to the end of the file, and deleting it took the rest of the
// file with it. Damaged structure (a section, table or block without its end) ends where the
// next begins; the saved file still reads as the drawing that was saved.
TEST(SaveEditTest, DamagedFilesSaveIntoFilesTheImporterReads) {
  const std::string noEnds =
      Groups({{0, "SECTION"}, {2, "BLOCKS"}}) +
      Groups({{0, "BLOCK"}, {8, "0"}, {2, "OPEN"}, {70, "0"}, {10, "0"}, {20, "0"}}) +
      Circle(0, 0, 1, 3) +  // no ENDBLK, no ENDSEC
      Groups({{0, "SECTION"}, {2, "ENTITIES"}}) + dxftest::Line(0, 0, 1, 0) + Insert("OPEN") +
      dxftest::Line(5, 0, 6, 0) +  // no ENDSEC
      Groups({{0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"}, {2, "LAYER"}}) + dxftest::Layer("0", 7) +
      Groups({{0, "ENDSEC"}, {0, "EOF"}});  // no ENDTAB
  vexhost::Drawing d;
  const auto imported = twinfind::dxf::ImportDxfText(noEnds, d);
  ASSERT_TRUE(imported.ok) << imported.error;
  ASSERT_EQ(d.SegmentCount(), 3u);
  ASSERT_TRUE(d.DeleteSegment(3));  // the last line
  Recolour(d, 2, 1, 1);             // the reference of the block without its end
  AddLine(d, 801, 20);
  twinfind::dxf::SaveCounts counts;
  const std::string saved = twinfind::dxf::SavedDxfText(d, *imported.source, counts);
  EXPECT_EQ(counts.kept, 1);
  EXPECT_EQ(counts.deleted, 1);
  EXPECT_EQ(counts.changed, 1);
  EXPECT_EQ(counts.added, 1);
  EXPECT_NE(saved.find("TABLES"), std::string::npos);
  EXPECT_EQ(saved.substr(saved.size() - 6), "0\nEOF\n");
  vexhost::Drawing back;
  const auto reread = twinfind::dxf::ImportDxfText(saved, back);
  ASSERT_TRUE(reread.ok) << reread.error;
  dxftest::ExpectSameDrawing(d, back, true);
}

}  // namespace
