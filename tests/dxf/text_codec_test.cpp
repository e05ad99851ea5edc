// The tables and codes between DXF and the host: texts and their escapes, colours, line-type
// names, layer numbers.
#include <gtest/gtest.h>

#include "dxf/aci_palette.h"
#include "dxf/layer_numbers.h"
#include "dxf/line_type_names.h"
#include "dxf/text_codec.h"
#include "host/palette.h"

namespace {

using namespace twinfind::dxf;

TEST(TextCodecTest, ValuesDecodeByVersionCodePageAndEscapes) {
  const TextEncoding old = EncodingOf("AC1015", "ANSI_1252");
  EXPECT_FALSE(old.utf8);
  EXPECT_EQ(DecodeValue("Stra\xDF"
                        "e",
                        old),
            u"Straße");                                                    // code page 1252
  EXPECT_EQ(DecodeValue("\xEC\x88\x98\xEB\x9F\x89", old), u"수량");        // UTF-8 in an old file
  EXPECT_EQ(DecodeValue("\\U+C218\\U+B7C9 \\U+12", old), u"수량 \\U+12");  // a short escape stays
  const TextEncoding korean = EncodingOf("AC1018", "ansi_949");
  EXPECT_EQ(korean.codePage, "CP949");
  EXPECT_EQ(DecodeValue("\xBC\xF6\xB7\xAE", korean), u"수량");  // code page 949
  EXPECT_TRUE(EncodingOf("AC1032", "ANSI_1252").utf8);
}

TEST(TextCodecTest, TextSpecialCodesBecomeTheirSymbols) {
  EXPECT_EQ(PlainText(u"%%c10 %%d %%p0.1 %%%"), u"\u230010 \u00B0 \u00B10.1 %");
  EXPECT_EQ(PlainText(u"%%uunder%%u %%0650"), u"under A0");
  EXPECT_EQ(PlainText(u"50%"), u"50%");
}

// Found by fuzzing: "%%000" made a NUL, which cut the text short where the host copied it.
TEST(TextCodecTest, NoControlCharacterReachesATextWhateverItsSpelling) {
  EXPECT_EQ(PlainText(u"%%0000189"), u"0189");
  EXPECT_EQ(DecodeValue("a\\U+0000b\\U+000Ac\x01", EncodingOf("AC1009", "")), u"abc");
}

TEST(TextCodecTest, MTextFormattingIsRemovedAndParagraphsSplit) {
  EXPECT_EQ(PlainMTextLines(u"\\A1;{\\C1;\\fArial|b1|i0;Red bold}\\Pnext\\~line"),
            (std::vector<std::u16string>{u"Red bold", u"next line"}));
  EXPECT_EQ(PlainMTextLines(u"1\\S1^2; inch \\\\ {braces\\}"),
            (std::vector<std::u16string>{u"11/2 inch \\ braces}"}));
  EXPECT_EQ(PlainMTextLines(u"a^Jb\\Nc"), (std::vector<std::u16string>{u"a", u"b", u"c"}));
}

TEST(TextCodecTest, EncodedTextsAreAsciiAndDecodeToTheSameText) {
  const std::u16string text = u"부품 %%c Ø 10 \U0001F600";
  const std::string encoded = EncodeValue(text);
  for (const char c : encoded) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << encoded;
  EXPECT_EQ(PlainText(DecodeValue(encoded, EncodingOf("AC1009", ""))), text);
  EXPECT_EQ(EncodeValue(u"50% off"), "50% off");  // a lone % needs nothing
  EXPECT_EQ(EncodeValue(u"a\nb"), "a\\U+000Ab");  // never a line end inside a value
}

TEST(AciPaletteTest, EveryHostColourIsWrittenAsAnAciThatReadsBackAsIt) {
  for (int c = 0; c < 16; ++c) {
    const int aci = AciOfHostColor(c);
    ASSERT_GE(aci, 1);
    ASSERT_LE(aci, 255);
    EXPECT_EQ(HostColorOfAci(aci), c) << "host colour " << c << " as ACI " << aci;
  }
  // The named ACI colours land on the host colours of the same look.
  EXPECT_EQ(HostColorOfAci(1), 5);   // red
  EXPECT_EQ(HostColorOfAci(2), 8);   // yellow
  EXPECT_EQ(HostColorOfAci(4), 10);  // cyan
  EXPECT_EQ(HostColorOfAci(5), 11);  // blue
  EXPECT_EQ(HostColorOfAci(7), 0);   // white
  EXPECT_EQ(HostColorOfAci(8), 9);   // grey
}

TEST(LineTypeNamesTest, NamesVariantsAndBoundNamesFindTheHostType) {
  for (size_t i = 0; i < vexhost::kLineTypes.size(); ++i) {
    EXPECT_EQ(HostLineTypeOfName(vexhost::kLineTypes[i].dxfName), static_cast<int>(i));
    EXPECT_EQ(DxfNameOfHostLineType(static_cast<int>(i)), vexhost::kLineTypes[i].dxfName);
  }
  EXPECT_EQ(HostLineTypeOfName("Continuous"), 0);
  EXPECT_EQ(HostLineTypeOfName("hidden2"), 1);  // a look-alike's variant
  EXPECT_EQ(HostLineTypeOfName("CENTERX2"), 8);
  EXPECT_EQ(HostLineTypeOfName("DASHDOTX2"), 8);  // a host type of its own, not DASHDOT
  EXPECT_EQ(HostLineTypeOfName("DASHDOT2"), 5);
  EXPECT_EQ(HostLineTypeOfName("xref-Plan$0$DASHED2"), 1);
  EXPECT_EQ(HostLineTypeOfName("ACAD_ISO10W100"), 2);
  EXPECT_EQ(HostLineTypeOfName("1mm DASH"), std::nullopt);
  EXPECT_EQ(HostLineTypeOfName(""), std::nullopt);
}

TEST(LayerNumbersTest, OnlyNumbersWrittenAsNumbersCount) {
  EXPECT_EQ(NumericLayerName("0"), 0);
  EXPECT_EQ(NumericLayerName("-12"), -12);
  EXPECT_EQ(NumericLayerName("1000000000"), 1000000000);
  for (const char* name : {"07", "-0", "+7", "1e3", "12 ", "", "-", "99999999999", "1000000001"}) {
    EXPECT_EQ(NumericLayerName(name), std::nullopt) << name;
  }
  // Named layers are numbered after the highest numbered one, negative numbers included.
  const auto numbers = NumberLayers({"B", "-5", "a", "b", "3"});
  EXPECT_EQ(numbers, (std::map<std::string, int>{{"-5", -5}, {"3", 3}, {"A", 5}, {"B", 4}}));
  EXPECT_EQ(NumberLayers({"X"}), (std::map<std::string, int>{{"X", 1}}));
}

}  // namespace
