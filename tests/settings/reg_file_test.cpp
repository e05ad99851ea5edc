// The registry-export text form of the settings file: what is accepted, what is damaged, and
// how a change is written back.
#include "settings/reg_file.h"

#include <gtest/gtest.h>

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

  auto crlf = RegFile::Parse("Windows Registry Editor Version 5.00\r\n");
  ASSERT_TRUE(crlf->Set(u"HKEY_CURRENT_USER\\A", u"x", u"1"));
  EXPECT_EQ(
      crlf->Format(),
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n");
}

}  // namespace
}  // namespace twinfind
