// Saving a real drawing back into its file, checked with ezdxf: with no change the file comes
// back byte for byte; a deletion, a recolouring, a copy of a block reference and a new figure on
// a new layer change those entities and nothing else, and the saved file reads back as the
// drawing that was saved (the copy of the reference as a reference, its texts and attributes
// moved with it).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "drawing_compare.h"
#include "dxf/dxf_import.h"
#include "dxf/dxf_save.h"
#include "dxf_test_util.h"
#include "ezdxf_comparison.h"

namespace {

using twinfind::dxf::DxfSource;
using twinfind::dxf::SaveCounts;
using twinfind::dxf::SourceEntity;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> RealFiles() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dxftest::RealDrawings())) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".dxf" || ext == ".DXF") files.push_back(entry.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// How ezdxf names an entity of model space in the comparison: by its handle, or for a file
// whose entities have none, by its place.
std::string KeyOf(const DxfSource& source, size_t index) {
  const SourceEntity& e = source.entities()[index];
  return e.handleLength > 0 ? std::string(source.HandleOf(e)) : "#" + std::to_string(index);
}

// The entity of one figure segment that is (or is not) a block reference: the first or last.
std::optional<size_t> OneSegmentEntity(const vexhost::Drawing& d, const DxfSource& source,
                                       bool reference, bool last) {
  std::optional<size_t> found;
  for (size_t i = 0; i < source.entities().size(); ++i) {
    const SourceEntity& e = source.entities()[i];
    if (e.segmentCount != 1 || e.reference != reference) continue;
    if (d.FindSegment(e.firstSegment)->kind != VEX_SEGMENT_FIGURES) continue;
    found = i;
    if (!last) break;
  }
  return found;
}

// A block reference with texts (figures and texts, two segments) when the file has one, else
// one of figures alone.
std::optional<size_t> ReferenceToCopy(const vexhost::Drawing& d, const DxfSource& source) {
  std::optional<size_t> plain;
  for (size_t i = 0; i < source.entities().size(); ++i) {
    const SourceEntity& e = source.entities()[i];
    if (!e.reference || e.segmentCount < 1 || e.segmentCount > 2) continue;
    if (d.FindSegment(e.firstSegment)->kind != VEX_SEGMENT_FIGURES) continue;
    if (e.segmentCount == 2) return i;
    if (!plain) plain = i;
  }
  return plain;
}

class SaveRealDrawingTest : public ::testing::TestWithParam<std::string> {};

TEST_P(SaveRealDrawingTest, WithNoChangeTheFileComesBackAsItWas) {
  dxftest::ScratchFolder folder;
  const std::string input = (dxftest::RealDrawings() / GetParam()).string();
  vexhost::Drawing d;
  const auto imported = twinfind::dxf::ImportDxf(input, d);
  ASSERT_TRUE(imported.ok) << imported.error;
  SaveCounts counts;
  std::string error;
  ASSERT_TRUE(SaveDxf(d, *imported.source, folder / "out.dxf", counts, error)) << error;
  EXPECT_EQ(ReadAll(folder / "out.dxf"), ReadAll(input));
  EXPECT_EQ(counts.kept, static_cast<int>(imported.source->entities().size()));
  EXPECT_EQ(counts.deleted + counts.changed + counts.added, 0);

  const dxftest::Comparison c = dxftest::CompareWithEzdxf(input, folder / "out.dxf");
  EXPECT_EQ(c.errors, 0) << c.output.substr(0, 2000);
  EXPECT_EQ(c.fixes, c.inputFixes);
  EXPECT_EQ(c.versionOut, c.versionIn);
  EXPECT_TRUE(c.removed.empty() && c.added.empty() && c.changed.empty() && c.tables.empty())
      << c.output.substr(0, 2000);
  EXPECT_TRUE(c.sameOrder);
  for (const auto& [layout, kept] : c.kept) EXPECT_EQ(kept, c.total.at(layout)) << layout;
  EXPECT_GT(c.kept.count("Model"), 0u);
}

TEST_P(SaveRealDrawingTest, ChangesTouchOnlyTheEntitiesTheyConcern) {
  dxftest::ScratchFolder folder;
  const std::string input = (dxftest::RealDrawings() / GetParam()).string();
  vexhost::Drawing d;
  const auto imported = twinfind::dxf::ImportDxf(input, d);
  ASSERT_TRUE(imported.ok) << imported.error;
  const DxfSource& source = *imported.source;
  const auto restyled = OneSegmentEntity(d, source, false, false);
  const auto deleted = OneSegmentEntity(d, source, false, true);
  const auto copied = ReferenceToCopy(d, source);
  ASSERT_TRUE(restyled && deleted && *restyled != *deleted);

  // A twin recoloured, another deleted, a block reference copied aside, a frame line added on
  // the balloon layer, which the file does not have.
  const int restyledSegment = source.entities()[*restyled].firstSegment;
  for (const int id : d.FindSegment(restyledSegment)->elements) {
    LineAttr& attr = *d.FindElement(id)->lineAttr;
    attr.color = (attr.color + 5) % 16;
    attr.lineType = (attr.lineType + 1) % 10;
  }
  ASSERT_TRUE(d.DeleteSegment(source.entities()[*deleted].firstSegment));
  if (copied) {  // its figures and texts moved together, as the copy of a twin moves them
    const SourceEntity& e = source.entities()[*copied];
    for (int id = e.firstSegment; id < e.firstSegment + e.segmentCount; ++id) {
      const int copy = d.CopySegment(id);
      vexhost::PlaneMap move;
      move.tx = 100;
      move.ty = -50;
      d.PlaceSegment(copy, move);
    }
  }
  d.SetCurrentLayer(801);
  d.SetCurrentLineAttr(LineAttr{2, 0, 0, 0, 1, 0});
  FigureRecord line{};
  line.kind = VEX_FIG_LINE;
  line.u.line = {0, 0, 10, 10};
  d.AddFigure(d.CreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING), line);

  SaveCounts counts;
  std::string error;
  ASSERT_TRUE(SaveDxf(d, source, folder / "out.dxf", counts, error)) << error;
  const int entities = static_cast<int>(source.entities().size());
  EXPECT_EQ(counts.kept, entities - 2);
  EXPECT_EQ(counts.deleted, 1);
  EXPECT_EQ(counts.changed, 1);
  EXPECT_EQ(counts.added, copied ? 2 : 1);

  const bool byOrder = source.entities()[*deleted].handleLength == 0;
  const dxftest::Comparison c = dxftest::CompareWithEzdxf(input, folder / "out.dxf", byOrder);
  EXPECT_EQ(c.errors, 0) << c.output.substr(0, 2000);
  EXPECT_EQ(c.fixes, c.inputFixes);  // only what ezdxf fixes in the input too
  EXPECT_EQ(c.versionOut, c.versionIn);
  ASSERT_EQ(c.kept.count("Model"), 1u) << c.output.substr(0, 2000);
  EXPECT_EQ(c.kept.at("Model"), c.total.at("Model") - 2);
  EXPECT_TRUE(c.sameOrder);
  ASSERT_EQ(c.removed.size(), 1u) << c.output.substr(0, 2000);
  EXPECT_EQ(c.removed[0].rfind("Model " + KeyOf(source, *deleted) + " ", 0), 0u) << c.removed[0];
  ASSERT_EQ(c.changed.size(), 1u) << c.output.substr(0, 2000);
  std::istringstream change(c.changed[0]);
  std::string layout, key, type, field;
  change >> layout >> key >> type;
  EXPECT_EQ(key, KeyOf(source, *restyled));
  std::set<std::string> fields;
  while (change >> field) fields.insert(field.substr(0, field.find('=')));
  fields.erase("true_color");  // dropped where there was one: the colour is the new one
  EXPECT_EQ(fields, (std::set<std::string>{"color", "linetype"})) << c.changed[0];
  ASSERT_EQ(c.added.size(), copied ? 2u : 1u) << c.output.substr(0, 2000);
  EXPECT_NE(c.added.back().find(" LINE 801 "), std::string::npos) << c.added.back();
  if (copied) {
    EXPECT_NE(c.added[0].find(" INSERT "), std::string::npos) << c.added[0];
  }
  ASSERT_EQ(c.tables.size(), 1u) << c.output.substr(0, 2000);
  EXPECT_EQ(c.tables[0].rfind("layer+ 801 7 ", 0), 0u) << c.tables[0];

  // The file reads back as the drawing that was saved, and saving that again with no change
  // gives the same file.
  vexhost::Drawing back;
  const auto reread = twinfind::dxf::ImportDxf(folder / "out.dxf", back);
  ASSERT_TRUE(reread.ok) << reread.error;
  dxftest::ExpectSameDrawing(d, back, true);
  ASSERT_TRUE(SaveDxf(back, *reread.source, folder / "again.dxf", counts, error)) << error;
  EXPECT_EQ(ReadAll(folder / "again.dxf"), ReadAll(folder / "out.dxf"));
}

INSTANTIATE_TEST_SUITE_P(SamplesReal, SaveRealDrawingTest, ::testing::ValuesIn(RealFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param.substr(0, info.param.find('.'));
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
