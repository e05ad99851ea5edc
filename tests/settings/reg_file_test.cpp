// The registry-export text form of the settings file: what is accepted, what is damaged, and
// how a change is written back.
#include "settings/reg_file.h"

#include <gtest/gtest.h>

namespace twinfind {
namespace {

const std::u16string kSection = u"HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind";
const std::string kHeader = "Windows Registry Editor Version 5.00\n";

RegFile ParseOk(const std::string& bytes) {
  auto file = RegFile::Parse(bytes);
  EXPECT_TRUE(file.has_value()) << bytes;
  return file.value_or(RegFile{});
}

TEST(RegFile, ANewFileHasTheHeaderABlankLineAndOneSection) {
  RegFile file;
  ASSERT_TRUE(file.Set(kSection, u"mMethod", u"0"));
  ASSERT_TRUE(file.Set(kSection, u"mDPChar", u"a\"b\\c"));
  EXPECT_EQ(file.Format(), kHeader +
                               "\n"
                               "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n"
                               "\"mMethod\"=\"0\"\n"
                               "\"mDPChar\"=\"a\\\"b\\\\c\"\n");
  EXPECT_EQ(CurrentUserSectionPath(u"SOFTWARE\\Norvane\\VEX\\Twinfind"), kSection);
}

TEST(RegFile, AcceptsTheFormsOfAHandEditedOrWindowsFile) {
  const std::string section = "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]";
  const std::string accepted[] = {
      kHeader + "\n" + section + "\n\"mMethod\"=\"1\"\n",
      "\xEF\xBB\xBF" + kHeader + section + "\n\"mMethod\"=\"1\"",           // BOM, no final LF
      "Windows Registry Editor Version 5.00\r\n\r\n" + section + "\r\n\"mMethod\"=\"1\"\r\n",
      kHeader + "; a comment\n  \t\n" + section + "  \n  \"mMethod\"=\"1\"\t\n; end\n",
      kHeader + "[HKEY_CURRENT_USER\\Other]\n\"mMethod\"=\"9\"\n" + section + "\n\"mMethod\"=\"1\"\n",
  };
  for (const std::string& bytes : accepted) {
    EXPECT_EQ(ParseOk(bytes).Find(kSection, u"mMethod"), u"1") << bytes;
  }
  EXPECT_EQ(ParseOk("").Find(kSection, u"mMethod"), std::nullopt);
  EXPECT_EQ(ParseOk("\xEF\xBB\xBF").Format(), kHeader);
}

TEST(RegFile, AnythingElseIsDamaged) {
  const std::string section = "[HKEY_CURRENT_USER\\Key]\n";
  const std::string damaged[] = {
      "REGEDIT4\n" + section,                       // another header
      "\n" + kHeader + section,                     // header not first
      kHeader + "\"a\"=\"1\"\n",                    // a value outside any section
      kHeader + section + "\"a\"=\"1",              // unterminated string (truncated file)
      kHeader + section + "\"a\"=\"1\" x\n",        // text after the value
      kHeader + section + "\"a\" = \"1\"\n",        // blanks around '='
      kHeader + section + "\"a\"=\"\\n\"\n",        // unknown escape
      kHeader + section + "\"a\"=\"1\\\"\n",        // escaped closing quote
      kHeader + section + "\"a\"=dword:00000001\n",  // another value type
      kHeader + section + "@=\"1\"\n",              // the default value
      kHeader + "[HKEY_CURRENT_USER\\Key\n",        // unclosed section
      kHeader + "[]\n",
      kHeader + section + "junk\n",
      kHeader + section + "\"a\"=\"1\"\r\"b\"=\"2\"\n",  // a lone CR
      kHeader + section + std::string("\"a\"=\"1\0\"\n", 9),  // a NUL byte
      kHeader + section + "\"a\"=\"\xC3\x28\"\n",           // invalid UTF-8
      kHeader + section + "\"a\"=\"\xED\xA0\x80\"\n",       // an encoded surrogate
      std::string("\xFF\xFE" "W\0i\0n\0", 8),               // UTF-16 text
      kHeader + section + std::string(kMaxRegFileBytes, ';'),  // too large
  };
  for (const std::string& bytes : damaged) {
    EXPECT_FALSE(RegFile::Parse(bytes).has_value()) << bytes.substr(0, 80);
  }
}

TEST(RegFile, LookupIgnoresCaseAndTheLastDuplicateCounts) {
  RegFile file = ParseOk(kHeader + "[hkey_current_user\\software\\NORVANE\\vex\\twinfind]\n"
                                   "\"MMETHOD\"=\"1\"\n\"mMethod\"=\"2\"\n");
  EXPECT_EQ(file.Find(kSection, u"mMethod"), u"2");
  EXPECT_EQ(file.Find(kSection, u"mFigure"), std::nullopt);
  EXPECT_EQ(file.Find(u"HKEY_CURRENT_USER\\SOFTWARE", u"mMethod"), std::nullopt);
}

TEST(RegFile, SetChangesInPlaceAndKeepsEverythingElse) {
  const std::string original = kHeader +
                               "; kept comment\n"
                               "\n"
                               "[HKEY_CURRENT_USER\\A]\n"
                               "\"x\"=\"1\"\n"
                               "\"y\"=\"2\"\n"
                               "\n"
                               "[HKEY_CURRENT_USER\\B]\n"
                               "\"z\"=\"3\"\n";
  RegFile file = ParseOk(original);
  ASSERT_TRUE(file.Set(u"hkey_current_user\\a", u"X", u"10"));  // changed where it stands
  ASSERT_TRUE(file.Set(u"HKEY_CURRENT_USER\\A", u"w", u"4"));   // added at the end of A
  ASSERT_TRUE(file.Set(u"HKEY_CURRENT_USER\\C", u"v", u"5"));   // a new section at the end
  EXPECT_EQ(file.Format(), kHeader +
                               "; kept comment\n"
                               "\n"
                               "[HKEY_CURRENT_USER\\A]\n"
                               "\"x\"=\"10\"\n"
                               "\"y\"=\"2\"\n"
                               "\"w\"=\"4\"\n"
                               "\n"
                               "[HKEY_CURRENT_USER\\B]\n"
                               "\"z\"=\"3\"\n"
                               "\n"
                               "[HKEY_CURRENT_USER\\C]\n"
                               "\"v\"=\"5\"\n");
}

TEST(RegFile, KeepsCrlfLineEnds) {
  RegFile file = ParseOk("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n");
  ASSERT_TRUE(file.Set(u"HKEY_CURRENT_USER\\A", u"x", u"1"));
  EXPECT_EQ(file.Format(),
            "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n");
}

TEST(RegFile, RefusesTextsItCannotHold) {
  RegFile file;
  const std::u16string refused[] = {u"a\nb", u"a\rb", std::u16string(u"a\0b", 3),
                                    std::u16string(1, char16_t{0xDC00}),
                                    std::u16string(1, char16_t{0xD800}) + u"x"};
  for (const std::u16string& text : refused) {
    EXPECT_FALSE(file.Set(kSection, u"v", text));
    EXPECT_FALSE(file.Set(kSection, text, u"v"));
    EXPECT_FALSE(file.Set(text, u"v", u"v"));
  }
  EXPECT_FALSE(file.Set(u"", u"v", u"v"));
  EXPECT_EQ(file.Format(), kHeader);
  // What it accepts parses back to the same text.
  const std::u16string text = u"😀 [x] ; \"q\" \\ 가";
  ASSERT_TRUE(file.Set(kSection, u"name \"odd\"", text));
  EXPECT_EQ(ParseOk(file.Format()).Find(kSection, u"name \"odd\""), text);
}

}  // namespace
}  // namespace twinfind
