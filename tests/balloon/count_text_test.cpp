// Part numbers that count up, and the count and depth texts beside a row.
#include "balloon/label_fixture.h"

namespace {

using namespace labeltest;
using namespace twinfind;

TEST(NextPartNumber, CountsUpTheTrailingRunKeepingItsWidth) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"A-009", u"A-010"}, {u"P12", u"P13"},   {u"99", u"100"},     {u"0099", u"0100"},
      {u"X", u"X"},         {u"B1.5", u"B002"}, {u"", u""},          {u"9", u"10"},
      {u"A9", u"A10"},      {u"A09", u"A10"},   {u"부품7", u"부품8"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(NextPartNumber(in), out);
  // A run beyond the 32-bit range saturates instead of wrapping into a negative number.
  EXPECT_EQ(NextPartNumber(u"99999999999"), u"02147483648");
}

TEST_F(LabelTest, CountTextsStackUpwardsWithAndWithoutDepth) {
  Settings().mBalloonStr = u"A-009";
  depthText = u"12";
  for (int i = 0; i < 7; ++i) foundParts.twins.push_back(MatchRecord{});
  CreateCountTexts({100, 200}, 0, 0);
  auto texts = Comments(VEX_ELEMENT_TEXT);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(std::u16string(texts[0].text.text), u"T12");
  EXPECT_EQ(texts[0].text.size1, 7.0);
  EXPECT_EQ(texts[0].text.size2, 5.5);
  EXPECT_EQ(std::u16string(texts[1].text.text), u"7EA");
  EXPECT_EQ(texts[1].text.y, 210);
  EXPECT_EQ(std::u16string(texts[2].text.text), u"A-009");
  EXPECT_EQ(texts[2].text.y, 220);
  EXPECT_EQ(texts[2].text.x, 50);
  EXPECT_EQ(texts[1].text.type, 33);
  EXPECT_EQ(texts[1].text.three, 3);
  EXPECT_EQ(texts[1].text.one, 1);
  EXPECT_EQ(texts[1].text.ten, 10);
  EXPECT_EQ(depthText, u"");  // used up
  // On the balloon layer, the current layer untouched.
  EXPECT_EQ(VexSgmGetLayer(host().drawing.SegmentIds().back()), 801);
  EXPECT_EQ(VexLyrGetCurrentLayer(), 0);

  vexhost::ResetHost();
  Settings().mBalloonStr = u"";
  CreateCountTexts({0, 0}, 3, 2);
  texts = Comments(VEX_ELEMENT_TEXT);
  ASSERT_EQ(texts.size(), 1u);  // no depth, no part number
  EXPECT_EQ(std::u16string(texts[0].text.text), u"3/2EA");
  EXPECT_EQ(texts[0].text.y, 0);
  vexhost::ResetHost();
  CreateCountTexts({0, 0}, 0, 2);
  EXPECT_EQ(std::u16string(Comments(VEX_ELEMENT_TEXT)[0].text.text), u"0/2EA");
}

}  // namespace
