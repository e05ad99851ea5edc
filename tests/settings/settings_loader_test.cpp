// Loading the settings record: defaults for what is missing, written back once, and the rules by
// which stored texts become flags, integers, texts and host numbers.
#include <gtest/gtest.h>

#include "common/utf.h"
#include "settings/reg_file.h"
#include "settings/settings.h"
#include "settings/store_file.h"
#include "settings/store_memory.h"
#include "test_support.h"

namespace twinfind {
namespace {

using S = TwinfindSettings;
const std::u16string kKey = MakeSettingsKeyPath(kSettingsSubkey);

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetSettings(); }
  void PutAllDefaults() {
    for (const SettingDefinition& d : kSettingDefinitions) store.Put(kKey, d.name, d.defaultText);
  }
  // Loads a complete store in which one value has the given text.
  const S& LoadWith(std::u16string_view name, std::u16string_view text) {
    PutAllDefaults();
    store.Put(kKey, name, text);
    LoadSettings();
    return Settings();
  }

  MemorySettingsStore store;
  ScopedSettingsStore installed{store};
};

void ExpectDefaultRecord(const S& s) {
  EXPECT_EQ(s.mMethod, 0);
  EXPECT_EQ(s.mBalloonSize, u"5.0");
  EXPECT_EQ(s.mBalloonLeaderSize, u"5.0");
  EXPECT_EQ(s.mBalloonLayer, u"801");
  const std::vector<int32_t> flags = {s.mIsBalloonLayer, s.mIsBalloonAutoArrange,
                                      s.mIsBalloonAssy,  s.mIsBalloonArray,
                                      s.mIsMaterial,     s.mIsDepth,
                                      s.mIsCount,        s.mIsRotate,
                                      s.mIsLayer,        s.mIsColor,
                                      s.mIsSymmetry,     s.mIsArrange};
  EXPECT_EQ(flags, (std::vector<int32_t>{1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 1}));
  EXPECT_EQ(s.mMaterial, 0);
  EXPECT_EQ(s.mDPChar, u"T");
  EXPECT_EQ(s.mFigure, 0);
  EXPECT_EQ(s.mArrangeWidth, u"5.0");
  EXPECT_EQ(s.mArrangeHeight, u"5.0");
  EXPECT_EQ(s.mColorIndex, 5);
  EXPECT_EQ(s.mLTypeIndex, 0);
  EXPECT_EQ(s.mBalloonStr, u"101");
}

TEST_F(LoaderTest, AnEmptyStoreGetsEveryDefaultWrittenOnce) {
  LoadSettings();
  ExpectDefaultRecord(Settings());
  EXPECT_EQ(store.TotalWriteCount(), 24);
  for (const SettingDefinition& d : kSettingDefinitions) {
    EXPECT_EQ(store.Get(kKey, d.name), std::u16string(d.defaultText));
  }
  LoadSettings();  // the next start finds everything and writes nothing
  EXPECT_EQ(store.TotalWriteCount(), 24);
}

TEST_F(LoaderTest, OnlyMissingValuesAreWrittenBack) {
  PutAllDefaults();
  store.Put(kKey, u"mIsLayer", u"1");
  const std::u16string_view missing[] = {u"mMethod", u"mIsRotate", u"m_ColorMain"};
  for (const auto name : missing) store.Remove(kKey, name);
  LoadSettings();
  EXPECT_EQ(store.TotalWriteCount(), 3);
  for (const auto name : missing) EXPECT_EQ(store.WriteCount(kKey, name), 1);
  EXPECT_EQ(Settings().mIsLayer, 1);
  EXPECT_EQ(Settings().mColorIndex, 5);
}

TEST_F(LoaderTest, AnUnreadableStoreGivesDefaultsAndFailedWritesAreIgnored) {
  PutAllDefaults();
  store.Put(kKey, u"mMethod", u"1");
  store.SetReadsFail(true);
  store.SetWritesFail(true);
  LoadSettings();
  ExpectDefaultRecord(Settings());
  EXPECT_EQ(store.FailedWriteCount(), 24);
}

TEST_F(LoaderTest, StoredTextsFollowTheRuleOfTheirKind) {
  // Only the exact text "1" sets a flag.
  for (const std::u16string_view text : {u"01", u"true", u"1 ", u" 1", u"2", u""}) {
    EXPECT_EQ(LoadWith(u"mIsRotate", text).mIsRotate, 0);
  }
  EXPECT_EQ(LoadWith(u"mIsLayer", u"1").mIsLayer, 1);
  EXPECT_EQ(LoadWith(u"mMethod", u"2").mMethod, 2);
  EXPECT_EQ(LoadWith(u"mMethod", u"B").mMethod, 0);
  EXPECT_EQ(LoadWith(u"mFigure", u"7").mFigure, 7);
  EXPECT_EQ(LoadWith(u"mBalloonSize", u"").mBalloonSize, u"");
  EXPECT_EQ(LoadWith(u"mArrangeWidth", u"wide").mArrangeWidth, u"wide");
  EXPECT_EQ(LoadWith(u"m_ColorMain", u"maincolor03").mColorIndex, 2);
  EXPECT_EQ(LoadWith(u"m_ColorMain", u"MAINCOLOR17").mColorIndex, 0);
  EXPECT_EQ(LoadWith(u"mLTypeName", u"LineType05").mLTypeIndex, 1);
  EXPECT_EQ(store.TotalWriteCount(), 0);  // present texts, however odd, are never rewritten

  const int32_t lineTypes[] = {0, 4, 5, 6, 1, 2, 3, 7, 8, 9};
  for (size_t i = 0; i < kLineTypeNames.size(); ++i) {
    EXPECT_EQ(LineTypeIndexOfName(kLineTypeNames[i]), lineTypes[i]);
  }
}

// Each stored value must land in its own field: set one flag at a time, and give every other
// value a distinct text.
TEST_F(LoaderTest, EveryValueLandsInItsOwnField) {
  const std::pair<std::u16string_view, int32_t S::*> flags[] = {
      {u"mIsBalloonLayer", &S::mIsBalloonLayer},
      {u"mIsBalloonAutoArrange", &S::mIsBalloonAutoArrange},
      {u"mIsBalloonAssy", &S::mIsBalloonAssy},
      {u"mIsBalloonArray", &S::mIsBalloonArray},
      {u"mIsMaterial", &S::mIsMaterial},
      {u"mIsDepth", &S::mIsDepth},
      {u"mIsCount", &S::mIsCount},
      {u"mIsRotate", &S::mIsRotate},
      {u"mIsLayer", &S::mIsLayer},
      {u"mIsColor", &S::mIsColor},
      {u"mIsSymmetry", &S::mIsSymmetry},
      {u"mIsArrange", &S::mIsArrange},
  };
  for (const auto& [name, field] : flags) {
    for (const auto& [other, unused] : flags) store.Put(kKey, other, other == name ? u"1" : u"0");
    LoadSettings();
    for (const auto& [other, otherField] : flags) {
      EXPECT_EQ(Settings().*otherField, other == name ? 1 : 0) << "only " << ToUtf8(name) << " set";
    }
  }
  const std::pair<std::u16string_view, std::u16string S::*> texts[] = {
      {u"mBalloonSize", &S::mBalloonSize},   {u"mBalloonLeaderSize", &S::mBalloonLeaderSize},
      {u"mBalloonLayer", &S::mBalloonLayer}, {u"mDPChar", &S::mDPChar},
      {u"mArrangeWidth", &S::mArrangeWidth}, {u"mArrangeHeight", &S::mArrangeHeight},
      {u"mBalloonStr", &S::mBalloonStr},
  };
  for (const auto& [name, field] : texts) store.Put(kKey, name, name);
  store.Put(kKey, u"mMethod", u"11");
  store.Put(kKey, u"mMaterial", u"12");
  store.Put(kKey, u"mFigure", u"13");
  store.Put(kKey, u"m_ColorMain", u"MAINCOLOR15");
  store.Put(kKey, u"mLTypeName", u"LINETYPE10");
  LoadSettings();
  for (const auto& [name, field] : texts) EXPECT_EQ(Settings().*field, name);
  EXPECT_EQ(std::vector<int32_t>({Settings().mMethod, Settings().mMaterial, Settings().mFigure,
                                  Settings().mColorIndex, Settings().mLTypeIndex}),
            std::vector<int32_t>({11, 12, 13, 14, 9}));
}

#if !defined(_WIN32)
// The same rules where the values persist in the settings file (the POSIX store; the
// registry's are in tests/windows/).
class FileLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetSettings(); }

  testing::TempDir dir;
  std::string file = dir / "settings.reg";
  testing::ScopedEnv env{kSettingsFileVariable, file};
  FileSettingsStore store;
  ScopedSettingsStore installed{store};
};

TEST_F(FileLoaderTest, A126CharacterValueReadsAndA127CharacterValueIsReplacedByItsDefault) {
  // Korean text: 3 bytes a character in the file but one UTF-16 unit, which is what counts.
  const std::u16string fits(126, u'부');
  ASSERT_TRUE(WriteSetting(kSettingsSubkey, u"mBalloonStr", fits));
  LoadSettings();
  EXPECT_EQ(Settings().mBalloonStr, fits);

  ASSERT_TRUE(WriteSetting(kSettingsSubkey, u"mBalloonStr", std::u16string(127, u'x')));
  LoadSettings();
  EXPECT_EQ(Settings().mBalloonStr, u"101");
  EXPECT_EQ(RegFile::Parse(testing::ReadFile(file).value())
                ->Find(CurrentUserSectionPath(kKey), u"mBalloonStr"),
            u"101");
}

TEST_F(FileLoaderTest, QuotesBackslashesAndKoreanTextRoundTrip) {
  const std::u16string text = u"깊이 \"T\" C:\\dir\\ \\\" 끝😀\\";
  ASSERT_TRUE(WriteSetting(kSettingsSubkey, u"mDPChar", text));
  EXPECT_NE(testing::ReadFile(file)->find(R"("mDPChar"="깊이 \"T\" C:\\dir\\ \\\" 끝😀\\")"),
            std::string::npos);
  LoadSettings();
  EXPECT_EQ(Settings().mDPChar, text);
}

TEST_F(FileLoaderTest, AValueTheFileCannotHoldIsRefusedAndLosesNothing) {
  LoadSettings();
  const std::string before = testing::ReadFile(file).value();
  const std::u16string refused[] = {u"two\nlines", u"cr\r", std::u16string(u"a\0b", 3),
                                    std::u16string(1, char16_t{0xD800}),
                                    std::u16string(kMaxRegFileBytes, u'x')};
  for (const std::u16string& text : refused) {
    EXPECT_FALSE(WriteSetting(kSettingsSubkey, u"mDPChar", text));
  }
  EXPECT_EQ(testing::ReadFile(file), before);
}
#endif

}  // namespace
}  // namespace twinfind
