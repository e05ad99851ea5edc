// Part files of real drawings, written one after another by one writer (which reads the file
// once and reuses what it read for every part): each part's file is the one a writer made for
// it alone gives, whatever parts came before, byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dxf/dxf_import.h"
#include "dxf/part_file.h"
#include "dxf_test_util.h"
#include "host/host.h"

namespace {

using twinfind::dxf::EntityPiece;
using twinfind::dxf::PartFileWriter;

std::vector<EntityPiece> Pieces(const std::vector<size_t>& entities) {
  std::vector<EntityPiece> pieces;
  for (const size_t e : entities) pieces.push_back({e, {}});
  return pieces;
}

TEST(PartFileTest, OneWriterGivesEachPartTheFileAWriterOfItsOwnGives) {
  for (const auto& entry : std::filesystem::directory_iterator(dxftest::RealDrawings())) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".dxf" && ext != ".DXF") continue;
    SCOPED_TRACE(entry.path().filename().string());
    vexhost::ResetHost();
    const auto imported =
        twinfind::dxf::ImportDxf(entry.path().string(), vexhost::TheHost().drawing);
    ASSERT_TRUE(imported.ok && imported.source);
    const size_t n = imported.source->entities().size();
    ASSERT_GT(n, 3u);
    // The first entities, a stretch in the middle, every third one, the last one, and the
    // first again: parts that share entities, leave out runs and follow one another.
    std::vector<std::vector<size_t>> parts = {{0, 1, 2}, {}, {}, {n - 1}, {0, 1, 2}};
    for (size_t e = n / 3; e < n / 3 + 10 && e < n; ++e) parts[1].push_back(e);
    for (size_t e = 0; e < n; e += 3) parts[2].push_back(e);
    const VexBox extent{0, 0, 1, 1};
    PartFileWriter reused(*imported.source);
    for (size_t p = 0; p < parts.size(); ++p) {
      const PartFileWriter alone(*imported.source);
      const std::string text = reused.Text(Pieces(parts[p]), 1.5, -2.5, extent);
      EXPECT_EQ(text, alone.Text(Pieces(parts[p]), 1.5, -2.5, extent)) << "part " << p;
      EXPECT_LT(text.size(), imported.source->text().size()) << "part " << p;
    }
  }
}

}  // namespace
