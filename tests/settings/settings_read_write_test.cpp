// Reading and writing one value through the store seam, and the colour and line-type names.
#include <gtest/gtest.h>

#include "settings/settings.h"
#include "settings/store_memory.h"

namespace twinfind {
namespace {

constexpr std::u16string_view kKey = u"SOFTWARE\\Norvane\\VEX\\Twinfind";

std::vector<unsigned char> Bytes(std::initializer_list<int> values) {
  std::vector<unsigned char> bytes;
  for (const int value : values) bytes.push_back(static_cast<unsigned char>(value));
  return bytes;
}

class ReadWriteTest : public ::testing::Test {
 protected:
  MemorySettingsStore store;
  ScopedSettingsStore installed{store};
};

TEST(SettingsKeyPath, IsTheProductKeyFollowedByTheSubkey) {
  EXPECT_EQ(MakeSettingsKeyPath(u"Twinfind"), kKey);
  EXPECT_EQ(MakeSettingsKeyPath(u""), u"SOFTWARE\\Norvane\\VEX\\");
}

TEST_F(ReadWriteTest, ForwardSlashesInTheKeyPathAreBackslashes) {
  EXPECT_EQ(RegWriteText(u"SOFTWARE/Norvane/VEX/Twinfind", u"mDPChar", u"D"), 0);
  EXPECT_EQ(store.Get(kKey, u"mDPChar"), u"D");
  std::u16string out;
  EXPECT_EQ(RegReadText(u"software/norvane\\vex/twinfind", u"MDPCHAR", out), 0);
  EXPECT_EQ(out, u"D");
}

TEST_F(ReadWriteTest, ReadSettingAndWriteSettingUseTheSubkeyUnderTheProductKey) {
  EXPECT_TRUE(WriteSetting(u"Twinfind", u"mBalloonStr", u"A-010"));
  EXPECT_EQ(store.Get(kKey, u"mBalloonStr"), u"A-010");
  std::u16string out;
  EXPECT_TRUE(ReadSetting(u"Twinfind", u"mBalloonStr", out));
  EXPECT_EQ(out, u"A-010");
  EXPECT_FALSE(ReadSetting(u"Other", u"mBalloonStr", out));
}

TEST_F(ReadWriteTest, TheByteLimitAdmits126CharactersAndNotMore) {
  std::u16string out = u"before";
  store.Put(kKey, u"v", std::u16string(126, u'가'));  // 254 bytes with the terminator
  EXPECT_EQ(RegReadText(kKey, u"v", out), 0);
  EXPECT_EQ(out, std::u16string(126, u'가'));

  out = u"before";
  store.Put(kKey, u"v", std::u16string(127, u'x'));  // 256 bytes
  EXPECT_EQ(RegReadText(kKey, u"v", out), -1);
  EXPECT_EQ(out, u"before");
}

TEST_F(ReadWriteTest, TheTextStopsAtTheFirstNulAndNeverPassesTheReturnedBytes) {
  const struct {
    std::vector<unsigned char> bytes;
    std::u16string_view expected;
  } cases[] = {
      {Bytes({'a', 0, 0, 0, 'b', 0, 0, 0}), u"a"},  // a NUL inside the data
      {Bytes({'a', 0, 'b', 0}), u"ab"},             // no terminating NUL
      {Bytes({'a', 0, 'b'}), u"a"},                 // an odd count: the last byte is no unit
      {Bytes({0x00, 0xAC, 0x00}), u"가"},
      {Bytes({'z'}), u""},
      {Bytes({}), u""},
  };
  for (const auto& c : cases) {
    store.PutBytes(kKey, u"v", c.bytes);
    std::u16string out = u"before";
    EXPECT_EQ(RegReadText(kKey, u"v", out), 0);
    EXPECT_EQ(out, c.expected);
  }
  // 255 bytes still fit: 127 code units are read and the odd byte dropped.
  std::vector<unsigned char> odd(255, 'q');
  store.PutBytes(kKey, u"v", odd);
  std::u16string out;
  EXPECT_EQ(RegReadText(kKey, u"v", out), 0);
  EXPECT_EQ(out.size(), 127u);
}

TEST_F(ReadWriteTest, FailuresLeaveTheOutputAsItWasAndReportMinusOne) {
  std::u16string out = u"kept";
  EXPECT_EQ(RegReadText(kKey, u"missing", out), -1);
  EXPECT_EQ(out, u"kept");

  store.Put(kKey, u"v", u"stored");
  store.SetReadsFail(true);
  EXPECT_EQ(RegReadText(kKey, u"v", out), -1);
  EXPECT_EQ(out, u"kept");

  store.SetWritesFail(true);
  EXPECT_EQ(RegWriteText(kKey, u"v", u"new"), -1);
  EXPECT_FALSE(WriteSetting(u"Twinfind", u"v", u"new"));
  EXPECT_EQ(store.FailedWriteCount(), 2);
  EXPECT_EQ(store.Get(kKey, u"v"), u"stored");
}

TEST(SettingNames, ColourNamesAreNumberedInTableOrderIgnoringCase) {
  for (size_t i = 0; i < kColorNames.size(); ++i) {
    EXPECT_EQ(ColorIndexOfName(kColorNames[i]), static_cast<int32_t>(i));
  }
  EXPECT_EQ(ColorIndexOfName(u"maincolor03"), 2);
  EXPECT_EQ(ColorIndexOfName(u"MainColor16"), 15);
  for (const std::u16string_view unknown :
       {u"MAINCOLOR17", u"MAINCOLOR00", u"MAINCOLOR6", u"MAINCOLOR06 ", u"", u"LINETYPE02"}) {
    EXPECT_EQ(ColorIndexOfName(unknown), 0);
  }
}

TEST(SettingNames, LineTypeNamesMapToTheHostNumbers) {
  const int32_t expected[] = {0, 4, 5, 6, 1, 2, 3, 7, 8, 9};
  for (size_t i = 0; i < kLineTypeNames.size(); ++i) {
    EXPECT_EQ(LineTypeIndexOfName(kLineTypeNames[i]), expected[i]);
  }
  EXPECT_EQ(LineTypeIndexOfName(u"linetype07"), 3);
  EXPECT_EQ(LineTypeIndexOfName(u"LINETYPE11"), 0);
  EXPECT_EQ(LineTypeIndexOfName(u"MAINCOLOR02"), 0);
}

}  // namespace
}  // namespace twinfind
