// Pictures of a dialog: the SVG drawing laid out from the template, and the picture action that
// writes it.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "common/utf.h"
#include "ui/bitmap.h"
#include "ui/headless/dialog_picture.h"
#include "ui/twinfind_dlg.h"
#include "ui_fixture.h"

namespace {

using twinfind::ToUtf16;
using twinfind::ToUtf8;

std::vector<uint8_t> FromBase64(const std::string& text) {
  const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::vector<uint8_t> out;
  uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    if (c == '=') break;
    bits = bits << 6 | static_cast<uint32_t>(digits.find(c));
    if ((count += 6) >= 8) {
      count -= 8;
      out.push_back(static_cast<uint8_t>(bits >> count));
    }
  }
  return out;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class PictureTest : public uitest::DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    folder = std::filesystem::temp_directory_path() /
             ("twinfind-ui-picture-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  void TearDown() override {
    std::filesystem::remove_all(folder);
    DialogTest::TearDown();
  }
  std::string OpenedSettingsSvg(std::initializer_list<std::u16string> actions) {
    Actions(actions);
    Actions({u"cancel"});
    twinfind::ui::TwinfindDlg dialog;
    dialog.DoModal();
    return twinfind::ui::DialogSvg(snapshots.back());
  }
  static std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::filesystem::path folder;
};

TEST_F(PictureTest, TheSettingsDialogIsLaidOutFromItsTemplateWithEveryText) {
  const std::string svg = OpenedSettingsSvg({});
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  // 369 x 298 dialog units are 554 x 484 pixels, with a frame and a caption bar around them.
  EXPECT_NE(svg.find("viewBox=\"0 0 556 516\""), std::string::npos);
  EXPECT_NE(svg.find("font-family=\"'Noto Sans CJK KR'"), std::string::npos);
  EXPECT_NE(svg.find(">동일부품검색</text>"), std::string::npos);
  for (const auto& c : twinfind::ui::FindDialogTemplate(23000)->controls) {
    if (!c.text.empty()) {
      EXPECT_NE(svg.find(">" + ToUtf8(c.text) + "</text>"), std::string::npos);
    }
  }
  // The OK button at (150, 244) dialog units: x 225, y 397 pixels, text in the middle.
  EXPECT_NE(svg.find("<rect x=\"225.5\" y=\"397.5\" width=\"74\""), std::string::npos);
  EXPECT_NE(svg.find("<text x=\"262.5\" y=\"412\" text-anchor=\"middle\">OK</text>"),
            std::string::npos);
  EXPECT_EQ(Count(svg, "l3 3 l6 -6"), 9u);  // the nine ticked check boxes
  EXPECT_EQ(Count(svg, "r=\"3.5\""), 2u);   // the two selected radio buttons
  EXPECT_NE(svg.find(">1단</text>"), std::string::npos);
  EXPECT_EQ(Count(svg, ">5.0</text>"), 4u);
  // The swatch as it painted itself: its client area, inside its sunken edge, in red.
  const auto& swatch = Last(12010);
  EXPECT_NE(svg.find("<rect x=\"" + std::to_string(swatch.client.left) + "\" y=\"" +
                     std::to_string(swatch.client.top) + "\" width=\"" +
                     std::to_string(swatch.client.Width()) + "\" height=\"" +
                     std::to_string(swatch.client.Height()) + "\" fill=\"#FF0000\""),
            std::string::npos);
}

TEST_F(PictureTest, TheLineTypeSampleIsEmbeddedAsItsOwnPicture) {
  const std::string svg = OpenedSettingsSvg({});
  const std::smatch found = [&] {
    std::smatch m;
    std::regex_search(svg, m, std::regex("xlink:href=\"data:image/bmp;base64,([A-Za-z0-9+/=]+)\""));
    return m;
  }();
  ASSERT_EQ(found.size(), 2u);
  const auto decoded = twinfind::ui::DecodeBmp(FromBase64(found[1].str()));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->pixels, twinfind::ui::LoadBitmapResource(17046)->pixels);
}

TEST_F(PictureTest, TextsAreEscapedForXml) {
  const std::string svg = OpenedSettingsSvg({u"text 12018 <a & \"b\">"});
  EXPECT_NE(svg.find(">&lt;a &amp; &quot;b&quot;&gt;</text>"), std::string::npos);
  EXPECT_EQ(svg.find("<a &"), std::string::npos);
}

TEST_F(PictureTest, ThePictureActionWritesTheDialogAsItStands) {
  const std::u16string file = ToUtf16((folder / "settings.svg").string());
  StoreDefaults();
  Actions({u"click 12024", u"picture " + file, u"cancel"});
  twinfind::ui::TwinfindDlg dialog;
  ASSERT_EQ(dialog.DoModal(), twinfind::ui::IDCANCEL);
  EXPECT_EQ(Read(folder / "settings.svg"), twinfind::ui::DialogSvg(snapshots.back()));
  EXPECT_EQ(Count(Read(folder / "settings.svg"), "l3 3 l6 -6"), 10u);  // with 12024 ticked
  const auto shown = Shown();
  EXPECT_NE(std::find(shown.begin(), shown.end(), u"picture written: " + file), shown.end());
}

TEST_F(PictureTest, APngRequestWritesTheSvgBesideItAndNothingHalfWritten) {
  const std::u16string png = ToUtf16((folder / "d.PNG").string());
  EXPECT_EQ(twinfind::ui::SvgFileOfPicture(png), ToUtf16((folder / "d.svg").string()));
  EXPECT_EQ(twinfind::ui::SvgFileOfPicture(u"d.svg"), u"d.svg");
  EXPECT_EQ(twinfind::ui::SvgFileOfPicture(u"png"), u"png");

  twinfind::ui::DialogSnapshot empty;
  std::ofstream(folder / "d.svg") << "old";
  const auto written = twinfind::ui::WriteDialogPicture(empty, png);
  EXPECT_TRUE(written.ok);
  EXPECT_EQ(written.message,
            u"picture written: " + ToUtf16((folder / "d.svg").string()) + u" (for " + png + u")");
  EXPECT_EQ(Read(folder / "d.svg"), twinfind::ui::DialogSvg(empty));
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    names.push_back(e.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"d.svg"});

  std::filesystem::create_directories(folder / "taken.svg");
  const auto refused =
      twinfind::ui::WriteDialogPicture(empty, ToUtf16((folder / "taken.svg").string()));
  EXPECT_FALSE(refused.ok);
  EXPECT_NE(refused.message.find(u"it is a directory"), std::u16string::npos);
  const auto nowhere =
      twinfind::ui::WriteDialogPicture(empty, ToUtf16((folder / "no" / "x.svg").string()));
  EXPECT_FALSE(nowhere.ok);
  EXPECT_NE(nowhere.message.find(u"does not exist"), std::u16string::npos);
  EXPECT_FALSE(std::filesystem::exists(folder / "no"));
}

}  // namespace
