// The registry-export text form of the settings file: what is accepted, what is damaged, and
// how a change is written back.
#include "settings/reg_file.h"

#include "common/utf.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace twinfind {
namespace {

const std::string kHeader = "Windows Registry Editor Version 5.00\n";

TEST(RegFile, AcceptsTheFormsOfAHandEditedOrWindowsFile) {
  const std::string key = "[HKEY_CURRENT_USER\\Key]";
  const std::string accepted[] = {
      "\xEF\xBB\xBF" + kHeader + key + "\n\"v\"=\"1\"",  // byte-order mark, no final LF
      "Windows Registry Editor Version 5.00\r\n\r\n" + key + "\r\n\"v\"=\"1\"\r\n",
      kHeader + "; note\n  \t\n" + key + "  \n  \"v\"=\"1\"\t\n",
      kHeader + "[hkey_current_user\\KEY]\n\"V\"=\"0\"\n\"v\"=\"1\"\n",  // any case; last counts
  };
  for (const std::string& bytes : accepted) {
    const auto file = RegFile::Parse(bytes);
    ASSERT_TRUE(file.has_value()) << bytes;
    EXPECT_EQ(file->Find(u"HKEY_CURRENT_USER\\Key", u"v"), u"1") << bytes;
  }
  EXPECT_EQ(RegFile::Parse("")->Format(), kHeader);
}

TEST(RegFile, AnythingElseIsDamaged) {
  const std::string key = "[HKEY_CURRENT_USER\\Key]\n";
  const std::string damaged[] = {
      "REGEDIT4\n" + key,
      "\n" + kHeader + key,                          // header not first
      kHeader + "\"a\"=\"1\"\n",                     // a value outside any section
      kHeader + key + "\"a\"=\"1",                   // unterminated string
      kHeader + key + "\"a\"=\"1\" x\n",             // text after the value
      kHeader + key + "\"a\" = \"1\"\n",             // blanks around '='
      kHeader + key + "\"a\"=\"\\n\"\n",             // unknown escape
      kHeader + key + "\"a\"=dword:00000001\n",      // another value type
      kHeader + key + "@=\"1\"\n",                   // the unnamed value
      kHeader + "[HKEY_CURRENT_USER\\Key\n",         // unclosed section
      kHeader + key + "\"a\"=\"1\"\r\"b\"=\"2\"\n",  // a lone CR
      kHeader + key + "\"a\"=\"\xED\xA0\x80\"\n",    // an encoded surrogate
      std::string("\xFF\xFE"
                  "W\0i\0n\0",
                  8),  // UTF-16 text
  };
  for (const std::string& bytes : damaged) {
    EXPECT_FALSE(RegFile::Parse(bytes).has_value()) << bytes;
  }
}

std::string Utf16LittleEndianWithMark(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// A UTF-16 file reads as the same text in UTF-8 would: a U+FFFD it holds is a character like
// any other, and the size limit is the file's, though its UTF-8 text is longer.
TEST(RegFile, ReadsUtf16AsTheTextItHolds) {
  const std::u16string header = u"Windows Registry Editor Version 5.00\r\n";
  const std::u16string key = u"[HKEY_CURRENT_USER\\Key]\r\n";
  const std::u16string wide(kMaxRegFileBytes / 2 - 100, u'\uAC00');  // 3 bytes each in UTF-8
  const struct {
    std::u16string name, text;
  } cases[] = {
      {u"v", u"1"},
      {u"\uFFFD", u"a\uFFFDb"},
      {u"v", u"\U0001F600 \uD55C"},
      {u"v", wide},
  };
  for (const auto& c : cases) {
    const std::string bytes =
        Utf16LittleEndianWithMark(header + key + u"\"" + c.name + u"\"=\"" + c.text + u"\"\r\n");
    ASSERT_LE(bytes.size(), kMaxRegFileBytes);
    const auto file = RegFile::Parse(bytes);
    ASSERT_TRUE(file.has_value()) << bytes.size();
    EXPECT_EQ(file->Values(),
              (std::vector<RegFile::Value>{{u"HKEY_CURRENT_USER\\Key", c.name, c.text}}));
  }
  // Unpaired surrogates stay damage.
  for (const std::u16string text : {u"\xD800", u"\xDC00x", u"x\xD83D"}) {
    EXPECT_FALSE(
        RegFile::Parse(Utf16LittleEndianWithMark(header + key + u"\"v\"=\"" + text + u"\"\r\n")));
  }
  // One byte-order mark goes before the text; a second one is text, in either encoding.
  EXPECT_FALSE(RegFile::Parse(Utf16LittleEndianWithMark(u"\uFEFF" + header + key)));
  EXPECT_FALSE(RegFile::Parse("\xEF\xBB\xBF\xEF\xBB\xBF" + ToUtf8(header + key)));
  EXPECT_TRUE(RegFile::Parse("\xEF\xBB\xBF" + ToUtf8(header + key)));
}

TEST(RegFile, SetChangesInPlaceAndKeepsEverythingElse) {
  auto file = RegFile::Parse(kHeader +
                             "; kept comment\n\n"
                             "[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\"\n\"y\"=\"2\"\n\n"
                             "[HKEY_CURRENT_USER\\B]\n\"z\"=\"3\"\n");
  ASSERT_TRUE(file.has_value());
  ASSERT_TRUE(file->Set(u"hkey_current_user\\a", u"X", u"10"));  // changed where it stands
  ASSERT_TRUE(file->Set(u"HKEY_CURRENT_USER\\A", u"w", u"4"));   // added at the end of A
  ASSERT_TRUE(file->Set(u"HKEY_CURRENT_USER\\C", u"v", u"5"));   // a new section at the end
  EXPECT_EQ(file->Format(), kHeader +
                                "; kept comment\n\n"
                                "[HKEY_CURRENT_USER\\A]\n\"x\"=\"10\"\n\"y\"=\"2\"\n\"w\"=\"4\"\n\n"
                                "[HKEY_CURRENT_USER\\B]\n\"z\"=\"3\"\n\n"
                                "[HKEY_CURRENT_USER\\C]\n\"v\"=\"5\"\n");
  EXPECT_EQ(file->Values(), (std::vector<RegFile::Value>{{u"HKEY_CURRENT_USER\\A", u"x", u"10"},
                                                         {u"HKEY_CURRENT_USER\\A", u"y", u"2"},
                                                         {u"HKEY_CURRENT_USER\\A", u"w", u"4"},
                                                         {u"HKEY_CURRENT_USER\\B", u"z", u"3"},
                                                         {u"HKEY_CURRENT_USER\\C", u"v", u"5"}}));

  auto crlf = RegFile::Parse("Windows Registry Editor Version 5.00\r\n");
  ASSERT_TRUE(crlf->Set(u"HKEY_CURRENT_USER\\A", u"x", u"1"));
  EXPECT_EQ(
      crlf->Format(),
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n");
}

}  // namespace
}  // namespace twinfind
