// Reading and writing one value through the store seam.
#include <gtest/gtest.h>

#include "settings/settings.h"
#include "settings/store_memory.h"

namespace twinfind {
namespace {

constexpr std::u16string_view kKey = u"SOFTWARE\\Norvane\\VEX\\Twinfind";

class ReadWriteTest : public ::testing::Test {
 protected:
  MemorySettingsStore store;
  ScopedSettingsStore installed{store};
};

TEST_F(ReadWriteTest, KeyPathsUseBackslashesAndIgnoreCase) {
  EXPECT_EQ(MakeSettingsKeyPath(u"Twinfind"), kKey);
  EXPECT_EQ(RegWriteText(u"SOFTWARE/Norvane/VEX/Twinfind", u"mDPChar", u"D"), 0);
  EXPECT_EQ(store.Get(kKey, u"mDPChar"), u"D");
  std::u16string out;
  EXPECT_TRUE(ReadSetting(u"twinfind", u"MDPCHAR", out));
  EXPECT_EQ(out, u"D");
  EXPECT_FALSE(ReadSetting(u"Other", u"mDPChar", out));
}

TEST_F(ReadWriteTest, TheTextStopsAtTheFirstNulAndNeverPassesTheReturnedBytes) {
  using Bytes = std::vector<unsigned char>;
  const std::pair<Bytes, std::u16string> cases[] = {
      {{'a', 0, 0, 0, 'b', 0, 0, 0}, u"a"},  // a NUL inside the data
      {{'a', 0, 'b', 0}, u"ab"},             // no terminating NUL
      {{'a', 0, 'b'}, u"a"},                 // an odd count: the last byte is no code unit
      {{0x00, 0xAC}, u"가"},
      {{}, u""},
      {Bytes(255, 'q'), std::u16string(127, u'\u7171')},  // 255 bytes still fit the limit
  };
  for (const auto& [bytes, expected] : cases) {
    store.PutBytes(kKey, u"v", bytes);
    std::u16string out = u"before";
    EXPECT_EQ(RegReadText(kKey, u"v", out), 0);
    EXPECT_EQ(out, expected);
  }
}

TEST_F(ReadWriteTest, FailuresReportMinusOneAndLeaveTheOutputAsItWas) {
  std::u16string out = u"kept";
  EXPECT_EQ(RegReadText(kKey, u"missing", out), -1);
  store.Put(kKey, u"long", std::u16string(127, u'x'));  // 256 bytes with the terminator
  EXPECT_EQ(RegReadText(kKey, u"long", out), -1);
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

}  // namespace
}  // namespace twinfind
