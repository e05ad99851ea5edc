// The module's resources: the three dialog templates with their texts, and the ten line-type
// sample bitmaps, each recognisably its line type and still what the generator draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <tuple>

#include "host/palette.h"
#include "settings/settings.h"
#include "ui/bitmap.h"
#include "ui/bitmaps/linetype_patterns.h"
#include "ui/dialog_template.h"

namespace {

using namespace twinfind::ui;

const ControlTemplate& ControlOf(const DialogTemplate& t, int id) {
  for (const ControlTemplate& c : t.controls) {
    if (c.id == id) return c;
  }
  throw std::runtime_error("no control " + std::to_string(id));
}

TEST(Templates, CaptionsSizesAndControlCounts) {
  const struct {
    int id;
    std::u16string_view caption;
    int width, height;
    size_t controls;
  } expected[] = {{23000, u"동일부품검색", 369, 298, 40},
                  {17079, u"Color Property", 212, 88, 18},
                  {17080, u"Line Type Property", 212, 99, 12}};
  for (const auto& e : expected) {
    const DialogTemplate* t = FindDialogTemplate(e.id);
    ASSERT_NE(t, nullptr) << e.id;
    EXPECT_EQ(t->caption, e.caption);
    EXPECT_EQ(t->width, e.width);
    EXPECT_EQ(t->height, e.height);
    EXPECT_EQ(t->controls.size(), e.controls);
    EXPECT_EQ(t->fontName, u"MS Shell Dlg");
    EXPECT_EQ(t->fontPoints, 8);
    std::set<int> ids;
    for (const ControlTemplate& c : t->controls) {
      if (c.id != -1) {
        EXPECT_TRUE(ids.insert(c.id).second) << "twice: " << c.id;
      }
      EXPECT_GE(c.rect.x, 0);
      EXPECT_GE(c.rect.y, 0);
      EXPECT_LE(c.rect.x + c.rect.w, t->width) << c.id;
      EXPECT_LE(c.rect.y + c.rect.h, t->height) << c.id;
    }
  }
  EXPECT_EQ(FindDialogTemplate(23001), nullptr);
}

TEST(Templates, TheSettingsDialogsTextsAndOrder) {
  const DialogTemplate& t = *FindDialogTemplate(23000);
  const std::vector<std::pair<int, std::u16string_view>> texts = {
      {1, u"OK"},
      {12006, u"회전부품을 동일부품으로 취급"},
      {12007, u"동일 레이어 검색"},
      {12008, u"동일 선색ㆍ선종 검색"},
      {12001, u"부품배치 합니다."},
      {12002, u"동작안함"},
      {12003, u"삭 제"},
      {12004, u"선색변경"},
      {12012, u"일반검색방식"},
      {12013, u"풍선배열방식"},
      {12009, u"깊이값 질문 및 배치"},
      {12014, u"검색시 풍선 부품전체작성"},
      {12015, u"배치시 풍선 전체작성"},
      {12019, u"풍선 별도레이어작성"},
      {12021, u"재질 질문 및 배치"},
      {12023, u"풍선내 부품갯수 표시"},
      {12024, u"대칭부품을 동일부품으로 취급"},
      {12025, u"풍선을 자동으로 배치합니다."},
  };
  for (const auto& [id, text] : texts) EXPECT_EQ(ControlOf(t, id).text, text) << id;
  std::vector<std::u16string_view> unnamed;
  for (const ControlTemplate& c : t.controls) {
    if (c.id == -1) unnamed.push_back(c.text);
  }
  EXPECT_EQ(unnamed, (std::vector<std::u16string_view>{
                         u"검색조건", u"◆. 배치간격(Width)", u"배치유무", u"검색결과형상",
                         u"◆. 배치간격(Height)", u"검색방식", u"풍선배열방식", u"◆. 풍선직경",
                         u"◆. 풍선지시선간격", u"◆. 깊이값 전주기", u"◆. 레이어번호",
                         u"◆. 풍선배치위치", u"(회전후 대칭된 형상도 동일부품 인식)"}));
  // The first tab stop, where the focus goes, is edit 12000; radio buttons are no tab stops.
  for (const ControlTemplate& c : t.controls) {
    if (c.kind == ControlKind::kRadioButton) {
      EXPECT_EQ(c.style & kTabStop, 0u) << c.id;
    }
  }
  EXPECT_EQ(t.controls[1].id, 12000);
  EXPECT_NE(t.controls[1].style & kTabStop, 0u);
  EXPECT_EQ(ControlOf(t, 12002).style & kGroupStart, kGroupStart);
  EXPECT_EQ(ControlOf(t, 12022).rect.h, 45);
}

TEST(Templates, ThePickersButtonsAndSampleGrid) {
  for (int id : {17079, 17080}) {
    const DialogTemplate& t = *FindDialogTemplate(id);
    EXPECT_EQ(ControlOf(t, 1).text, u"OK");
    EXPECT_EQ(ControlOf(t, 2).text, u"CANCEL");
    EXPECT_EQ(ControlOf(t, 1).rect.x, 57);
    EXPECT_EQ(ControlOf(t, 2).rect.x, 108);
  }
  const DialogTemplate& colours = *FindDialogTemplate(17079);
  EXPECT_EQ(ControlOf(colours, 17038).rect.x, 179);
  EXPECT_EQ(ControlOf(colours, 17039).rect.y, 33);
  const DialogTemplate& lines = *FindDialogTemplate(17080);
  EXPECT_EQ(ControlOf(lines, 17083).rect.x, 155);
  EXPECT_EQ(ControlOf(lines, 17084).rect.y, 49);
}

TEST(DialogUnits, ConvertWithTheTemplateFontsBaseUnitsRoundingHalfAway) {
  EXPECT_EQ(DialogUnitsToPixelsX(4), 6);
  EXPECT_EQ(DialogUnitsToPixelsX(1), 2);  // 1.5
  EXPECT_EQ(DialogUnitsToPixelsX(369), 554);
  EXPECT_EQ(DialogUnitsToPixelsY(8), 13);
  EXPECT_EQ(DialogUnitsToPixelsY(298), 484);  // 484.25
  EXPECT_EQ(DialogUnitsToPixelsY(-1), -2);
}

// The stroke of a sample as runs of drawn pixels along its middle row.
std::vector<int> DrawnRuns(const Bitmap& b) {
  std::vector<int> runs;
  int run = 0;
  for (int x = 0; x < b.width; ++x) {
    const bool drawn = b.At(x, b.height / 2 - 1) == kBlack;
    if (drawn) ++run;
    if ((!drawn || x == b.width - 1) && run > 0) {
      runs.push_back(run);
      run = 0;
    }
  }
  return runs;
}

TEST(LineTypeSamples, EachIsA24BitPictureShowingItsPattern) {
  ASSERT_EQ(EmbeddedBitmaps().size(), 10u);
  std::map<int, int> dashOfHostNumber;  // the longest run of each broken line type
  for (size_t i = 0; i < 10; ++i) {
    const auto sample = LoadBitmapResource(17046 + static_cast<int>(i));
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->width, 62);
    EXPECT_EQ(sample->height, 23);
    const std::vector<int> runs = DrawnRuns(*sample);
    const int host = twinfind::kLineTypeNumbers[i];
    ASSERT_FALSE(runs.empty()) << host;
    dashOfHostNumber[host] = *std::max_element(runs.begin(), runs.end());
    // Whole periods, leaving out the last run, which the sample's edge may cut.
    const std::vector<int> whole(runs.begin(), runs.end() - 1);
    auto dots = [](const std::vector<int>& r, size_t from, size_t step) {
      for (size_t k = from; k < r.size(); k += step) {
        if (r[k] > 2) return false;
      }
      return true;
    };
    switch (host) {
      case 0:  // solid
        EXPECT_EQ(runs.size(), 1u);
        EXPECT_GE(runs[0], 50);
        break;
      case 4:  // dotted
        EXPECT_GE(runs.size(), 8u);
        EXPECT_TRUE(dots(runs, 0, 1));
        break;
      case 1:
      case 7:  // dashed: equal dashes, no dots
        EXPECT_GE(whole.size(), 2u);
        EXPECT_TRUE(std::all_of(whole.begin(), whole.end(), [&](int r) { return r == whole[0]; }));
        EXPECT_GT(whole[0], 2);
        break;
      case 2:
      case 5:
      case 8:  // chain: dash, dot, dash, dot
        EXPECT_GE(runs.size(), 3u);
        EXPECT_TRUE(dots(runs, 1, 2));
        for (size_t k = 0; k + 1 < runs.size(); k += 2) EXPECT_GT(runs[k], 2) << host;
        break;
      case 3:
      case 6:
      case 9:  // two-dot chain: dash, dot, dot, dash
        EXPECT_GE(runs.size(), 4u);
        EXPECT_GT(runs[0], 2);
        EXPECT_LE(runs[1], 2);
        EXPECT_LE(runs[2], 2);
        EXPECT_GT(runs[3], 2);
        break;
    }
  }
  // Within each family the dashes grow from the short to the normal to the long scale.
  for (const auto& [shortOne, normal, longOne] :
       std::vector<std::tuple<int, int, int>>{{4, 1, 7}, {5, 2, 8}, {6, 3, 9}}) {
    EXPECT_LT(dashOfHostNumber[shortOne], dashOfHostNumber[normal]);
    EXPECT_LT(dashOfHostNumber[normal], dashOfHostNumber[longOne]);
  }
  EXPECT_EQ(LoadBitmapResource(17056), nullptr);
  EXPECT_EQ(LoadBitmapResource(17045), nullptr);
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(LineTypeSamples, TheFilesAreWhatTheGeneratorDrawsAndWhatTheModuleCarries) {
  const auto folder = std::filesystem::temp_directory_path() / "twinfind-ui-samples";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  ASSERT_EQ(
      std::system(
          (std::string("'") + TWINFIND_SAMPLE_GENERATOR + "' '" + folder.string() + "'").c_str()),
      0);
  for (int n = 1; n <= 10; ++n) {
    const std::string name = (n < 10 ? "linetype0" : "linetype") + std::to_string(n) + ".bmp";
    const std::string drawn = ReadBytes(folder / name);
    EXPECT_EQ(drawn, ReadBytes(std::filesystem::path(TWINFIND_UI_BITMAP_DIR) / name)) << name;
    const auto& embedded = EmbeddedBitmaps()[static_cast<size_t>(n - 1)];
    EXPECT_EQ(embedded.id, 17045 + n);
    EXPECT_EQ(std::string(embedded.bytes.begin(), embedded.bytes.end()), drawn) << name;
  }
  std::filesystem::remove_all(folder);
}

TEST(Bmp, EncodingAndDecodingKeepEveryPixel) {
  Bitmap b;
  b.width = 5;  // rows of 15 bytes, padded to 16
  b.height = 3;
  for (int i = 0; i < 15; ++i) b.pixels.push_back(RGB(i, 2 * i, 255 - i));
  const auto bytes = EncodeBmp(b);
  EXPECT_EQ(bytes.size(), 54u + 3 * 16);
  const auto back = DecodeBmp(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->pixels, b.pixels);
  // Stored top-down (a negative height), the same picture reads the same.
  std::vector<uint8_t> topDown = bytes;
  const int32_t negative = -3;
  std::memcpy(&topDown[22], &negative, 4);
  for (int row = 0; row < 3; ++row) {
    std::copy_n(bytes.begin() + 54 + 16 * (2 - row), 16, topDown.begin() + 54 + 16 * row);
  }
  const auto flipped = DecodeBmp(topDown);
  ASSERT_TRUE(flipped);
  EXPECT_EQ(flipped->pixels, b.pixels);
}

TEST(Bmp, BytesThatAreNoWholePictureAreRefused) {
  Bitmap b;
  b.width = 4;
  b.height = 4;
  b.pixels.assign(16, kWhite);
  const auto good = EncodeBmp(b);
  EXPECT_FALSE(DecodeBmp(std::span(good).first(good.size() - 1)));  // a pixel short
  EXPECT_FALSE(DecodeBmp(std::span(good).first(20)));
  auto wrongDepth = good;
  wrongDepth[28] = 8;
  EXPECT_FALSE(DecodeBmp(wrongDepth));
  auto huge = good;
  huge[18] = 0xFF;
  huge[19] = 0xFF;
  huge[20] = 0xFF;
  huge[21] = 0x7F;  // a width of 2^31 - 1 must not overflow the size check
  EXPECT_FALSE(DecodeBmp(huge));
  auto offsetPastEnd = good;
  offsetPastEnd[10] = 0xFF;
  offsetPastEnd[11] = 0xFF;
  EXPECT_FALSE(DecodeBmp(offsetPastEnd));
  EXPECT_FALSE(DecodeBmp(std::vector<uint8_t>(100, 'B')));
}

}  // namespace

// The sample bitmaps and the host's own line types (pictures, DXF names) describe the same
// ten types: the same dashes and dots in each period, solid only for type 0.
TEST(LineTypeSamples, AgreeWithTheHostsLineTypes) {
  const auto& samples = twinfind::ui::LineTypePatterns();
  for (size_t n = 0; n < samples.size(); ++n) {
    const auto& host = vexhost::kLineTypes[n];
    ASSERT_EQ(static_cast<int>(samples[n].runs.size()), host.patternLength) << n;
    for (int i = 0; i < host.patternLength; i += 2) {
      const bool dot = host.pattern[i] == 0;
      EXPECT_EQ(dot, samples[n].runs[i] <= 2) << "type " << n << " run " << i;
    }
  }
}
