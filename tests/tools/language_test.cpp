// The command's language: the same runs of both methods, their dialogs, message boxes and
// refusals in Korean (the default) and with mLanguage en. The English run holds no Korean
// character, and each of its lines is the Korean run's line said in English.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "common/message_format.h"
#include "common/said_texts.h"
#include "common/utf.h"
#include "tool_run.h"

namespace {

using tooltest::ReadFile;
using tooltest::RunTool;
using tooltest::ScratchFolder;

const std::string kPlate = std::string(TWINFIND_SAMPLES_DIR) + "/demo-plate.dxf";

bool HasKorean(const std::string& text) {
  for (const char16_t c : twinfind::ToUtf16(text)) {
    if ((c >= 0x1100 && c <= 0x11FF) || (c >= 0x3130 && c <= 0x318F) ||
        (c >= 0xAC00 && c <= 0xD7A3)) {
      return true;
    }
  }
  return false;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct LanguageRun {
  const char* what;
  std::vector<const char*> settings;  // NAME VALUE pairs set before the run
  std::string script;                 // DIR stands for the scratch folder
  const char* englishSaid;            // a line the English run must say
};

TEST(Language, BothMethodsSayEverythingInEnglishOnRequestAndInKoreanByDefault) {
  const std::vector<LanguageRun> runs = {
      {"the settings dialog and both pickers",
       {},
       "end\ndialog picture DIR/main.svg\ndialog click 12010\ndialog picture DIR/colour.svg\n"
       "dialog cancel\ndialog click 12011\ndialog picture DIR/line.svg\ndialog cancel\n"
       "dialog click 12004\ndialog ok\n",
       "dialog: == Identical Part Search (23000) =="},
      {"general method: rows, recolouring, undo and redo",
       {"mIsArrange", "1", "mFigure", "2"},
       "range -20 -20 440 280\nrange 18 18 62 52\nend\nmove 0 -90\npoint 0 -90\nundo\nredo\n"
       "range 28 178 68 218\nend\nend\nend\n",
       "info: Found 4 identical parts in all."},
      {"general method: deleting, a part drawn once, an empty part",
       {"mFigure", "1"},
       "range -20 -20 440 280\nrange 380 200 420 240\nrange 400 0 401 1\nend\n",
       "error: Select a shape."},
      {"balloon method: material, number, depth, count, placed by a click",
       {"mMethod", "1", "mIsMaterial", "1", "mIsDepth", "1", "mIsCount", "1"},
       "range -5 -5 425 265\nkey SS400\nkey A-009\nkey 12\nrange 28 178 68 218\nend\n"
       "point 0 -280\nend\n",
       "prompt: Part material  (now:SS400) :"},
      {"a range over the limit and its advice",
       {"mRangeLimit", "5"},
       "range -20 -20 440 280\n",
       "box: The search range is larger than the memory set aside for it.(T01)"},
  };
  for (const LanguageRun& run : runs) {
    SCOPED_TRACE(run.what);
    std::string said[2];
    for (const bool english : {false, true}) {
      ScratchFolder folder;
      const std::string with = " --settings '" + (folder.path() / "s.reg").string() + "'";
      std::vector<const char*> settings = run.settings;
      if (english) settings.insert(settings.end(), {"mLanguage", "en"});
      for (size_t i = 0; i + 1 < settings.size(); i += 2) {
        ASSERT_EQ(RunTool(folder,
                          std::string("settings set ") + settings[i] + " " + settings[i + 1] + with)
                      .status,
                  0);
      }
      std::string script = run.script;
      for (size_t at; (at = script.find("DIR")) != std::string::npos;) {
        script.replace(at, 3, folder.path().string());
      }
      const auto r = RunTool(folder, "run '" + kPlate + "'" + with + " --out out.dxf", script,
                             folder.path().string());
      said[english] = r.out + r.err;
      // The runs' own folders differ.
      for (size_t at; (at = said[english].find(folder.path().string())) != std::string::npos;) {
        said[english].replace(at, folder.path().string().size(), "DIR");
      }
      for (const char* picture : {"main.svg", "colour.svg", "line.svg"}) {
        const std::string svg = ReadFile(folder.path() / picture);
        if (english) {
          EXPECT_FALSE(HasKorean(svg)) << picture;
        } else if (std::string(picture) == "main.svg" && !svg.empty()) {
          EXPECT_NE(svg.find(">동일부품검색</text>"), std::string::npos);
        }
      }
    }
    EXPECT_TRUE(HasKorean(said[0])) << said[0];
    EXPECT_FALSE(HasKorean(said[1])) << said[1];
    EXPECT_NE(said[1].find(std::string(run.englishSaid) + "\n"), std::string::npos) << said[1];
    // Line by line the runs agree: each English line of the command, said again in Korean, is
    // the Korean run's line (its "prompt: " or other kind kept); the dialogs' own lines and the
    // tool's lines are compared as they are, apart from the dialog texts.
    const std::vector<std::string> korean = Lines(said[0]), inEnglish = Lines(said[1]);
    ASSERT_EQ(korean.size(), inEnglish.size()) << said[0] << said[1];
    for (size_t i = 0; i < korean.size(); ++i) {
      const size_t colon = inEnglish[i].find(": ");
      if (inEnglish[i].starts_with("dialog:")) {
        // A dialog's line with a text of its own differs; one without (a value, a paint) not.
        if (!HasKorean(korean[i])) {
          EXPECT_EQ(korean[i], inEnglish[i]);
        }
        continue;
      }
      const std::string kind = colon == std::string::npos ? "" : inEnglish[i].substr(0, colon + 2);
      const std::string back = twinfind::ToUtf8(twinfind::SayAgain(
          twinfind::ToUtf16(inEnglish[i].substr(kind.size())), twinfind::Language::kKorean));
      EXPECT_EQ(korean[i], kind + back);
    }
  }
}

// Every text of the table has both languages, and the English ones hold no Korean.
TEST(Language, EveryTextHasAnEnglishSideAndSayAgainGoesBothWays) {
  for (const twinfind::SaidText* text : twinfind::AllSaidTexts()) {
    const std::string korean = twinfind::ToUtf8(text->korean);
    const std::string english = twinfind::ToUtf8(text->english);
    SCOPED_TRACE(korean);
    EXPECT_FALSE(english.empty());
    EXPECT_FALSE(HasKorean(english));
    const std::u16string filledKorean =
        twinfind::FormatText(twinfind::FormatInt(text->korean, 12), u"A-009");
    const std::u16string filledEnglish =
        twinfind::FormatText(twinfind::FormatInt(text->english, 12), u"A-009");
    EXPECT_EQ(twinfind::SayAgain(filledKorean, twinfind::Language::kEnglish), filledEnglish);
    EXPECT_EQ(twinfind::SayAgain(filledEnglish, twinfind::Language::kKorean), filledKorean);
  }
  EXPECT_EQ(twinfind::SayAgain(u"selected 3 segments", twinfind::Language::kEnglish),
            u"selected 3 segments");
}

}  // namespace
