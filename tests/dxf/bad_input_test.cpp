// Files that are not drawings, or not whole, and outputs that cannot be written: a clear
// message, nothing half-written, nothing left behind.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "dxf/dxf_export.h"
#include "dxf/dxf_import.h"
#include "dxf_test_util.h"
#include "picture/render.h"

namespace {

using dxftest::ScratchFolder;

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Imports a file that must be refused; the reason must name the file and contain `why`.
void ExpectRefused(const std::string& path, const std::string& why) {
  vexhost::Drawing d;
  const auto result = twinfind::dxf::ImportDxf(path, d);
  EXPECT_FALSE(result.ok) << path;
  EXPECT_NE(result.error.find(why), std::string::npos) << result.error;
  EXPECT_NE(result.error.find(path), std::string::npos) << result.error;
  EXPECT_EQ(d.SegmentCount(), 0u);
}

TEST(BadInputTest, FilesThatAreNoWholeDrawingAreRefusedWithAReason) {
  ScratchFolder folder;
  const std::string real = Read((dxftest::RealDrawings() / "floorplan.dxf").string());
  ASSERT_GT(real.size(), 100000u);
  Write(folder / "cut.dxf", real.substr(0, real.size() / 2));
  ExpectRefused(folder / "cut.dxf", "cut short");
  Write(folder / "binary.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "\x00\x01\x02");
  ExpectRefused(folder / "binary.dxf", "binary DXF");
  Write(folder / "picture.dxf", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  ExpectRefused(folder / "picture.dxf", "binary data");
  Write(folder / "empty.dxf", "");
  ExpectRefused(folder / "empty.dxf", "empty");
  Write(folder / "blank.dxf", "\n  \r\n\n");
  ExpectRefused(folder / "blank.dxf", "empty");
  Write(folder / "letter.dxf", "Dear reader,\nthis is no drawing.\n");
  ExpectRefused(folder / "letter.dxf", "not a DXF file");
  Write(folder / "damaged.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\nten\n1\n0\nENDSEC\n0\nEOF\n");
  ExpectRefused(folder / "damaged.dxf", "line 7");
  ExpectRefused(folder / "missing.dxf", "No such file");
  std::filesystem::create_directory(folder.path() / "folder.dxf");
  ExpectRefused(folder / "folder.dxf", "directory");
}

TEST(BadInputTest, AFileClosedAfterItsLastSectionNeedsNoEndMarker) {
  vexhost::Drawing d;
  const auto result = twinfind::dxf::ImportDxfText(
      "0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\n0\n10\n1\n20\n2\n0\nENDSEC\n", d);
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.segments, 1);
}

struct SmallDrawing : vexhost::Drawing {
  SmallDrawing() {
    EXPECT_TRUE(twinfind::dxf::ImportDxfText(dxftest::File(dxftest::Line(0, 0, 10, 5)), *this).ok);
  }
};

TEST(BadInputTest, OutputsThatCannotBeWrittenSayWhyAndLeaveNoTemporaryFile) {
  ScratchFolder folder;
  const SmallDrawing d;
  std::string error;
  EXPECT_FALSE(twinfind::dxf::ExportDxf(d, folder / "no/such/folder/out.dxf", error));
  EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
  std::filesystem::create_directory(folder.path() / "taken");
  EXPECT_FALSE(twinfind::picture::RenderSvg(d, folder / "taken", error));
  EXPECT_NE(error.find("directory"), std::string::npos) << error;
  EXPECT_FALSE(twinfind::picture::RenderPng(d, folder / "missing/out.png", error));
  EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
  twinfind::picture::RenderOptions tiny;
  tiny.widthPixels = 3;
  EXPECT_FALSE(twinfind::picture::RenderPng(d, folder / "tiny.png", error, tiny));
  EXPECT_NE(error.find("width"), std::string::npos) << error;
  // A picture of a tall drawing at the largest width would take gigabytes: refused.
  vexhost::Drawing tall;
  ASSERT_TRUE(twinfind::dxf::ImportDxfText(dxftest::File(dxftest::Line(0, 0, 1, 100)), tall).ok);
  twinfind::picture::RenderOptions huge;
  huge.widthPixels = 20000;
  EXPECT_FALSE(twinfind::picture::RenderPng(tall, folder / "huge.png", error, huge));
  EXPECT_NE(error.find("pixels"), std::string::npos) << error;
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"taken"});
}

TEST(BadInputTest, AnOutputReplacesTheOldFileWholeOrNotAtAll) {
  ScratchFolder folder;
  const SmallDrawing d;
  const std::string path = folder / "out.dxf";
  Write(path, "old contents");
  std::string error;
  ASSERT_TRUE(twinfind::dxf::ExportDxf(d, path, error)) << error;
  const std::string written = Read(path);
  EXPECT_EQ(written, twinfind::dxf::DxfTextOf(d));
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"out.dxf"});
  // A refused picture leaves the file that was there.
  twinfind::picture::RenderOptions wide;
  wide.widthPixels = 1000000;
  EXPECT_FALSE(twinfind::picture::RenderSvg(d, path, error, wide));
  EXPECT_EQ(Read(path), written);
}

}  // namespace
