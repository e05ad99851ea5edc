// The registry store as the settings use it, in the test's own HKEY_CURRENT_USER (see
// tests/support/guarded_main_win32.cpp): what RegWriteText puts into the registry, what
// RegReadText takes out of values that others wrote, and the loader's defaults.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "settings/settings.h"

namespace twinfind {
namespace {

const std::u16string kKey = MakeSettingsKeyPath(kSettingsSubkey);

std::wstring Wide(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

struct RawValue {
  bool exists = false;
  DWORD type = REG_NONE;
  std::vector<unsigned char> bytes;
};

// A value exactly as the registry holds it.
RawValue Query(std::u16string_view keyPath, std::u16string_view name) {
  RawValue value;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(keyPath).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return value;
  }
  DWORD size = 0;
  if (RegQueryValueExW(key, Wide(name).c_str(), nullptr, &value.type, nullptr, &size) ==
      ERROR_SUCCESS) {
    value.bytes.resize(size);
    value.exists = RegQueryValueExW(key, Wide(name).c_str(), nullptr, &value.type,
                                    value.bytes.data(), &size) == ERROR_SUCCESS;
    value.bytes.resize(size);
  }
  RegCloseKey(key);
  return value;
}

// Writes a value as another program would: any type, any bytes.
void Put(std::u16string_view name, DWORD type, const std::vector<unsigned char>& bytes) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Wide(kKey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, Wide(name).c_str(), 0, type, bytes.data(),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

std::vector<unsigned char> Utf16Bytes(std::u16string_view text, bool terminated) {
  std::vector<unsigned char> bytes;
  for (const char16_t c : text) {
    bytes.push_back(static_cast<unsigned char>(c & 0xFF));
    bytes.push_back(static_cast<unsigned char>(c >> 8));
  }
  if (terminated) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

void DeleteSettingsKey() { RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Norvane"); }

class RegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteSettingsKey();
    Settings() = TwinfindSettings{};
  }
  void TearDown() override { DeleteSettingsKey(); }
};

TEST_F(RegistryStoreTest, WritesRegSzWithTheTerminatorAndMakesTheKeysOnThePath) {
  const std::u16string texts[] = {u"", u"5.0", u"깊이 \"T\" C:\\dir\\ 끝😀",
                                  std::u16string(126, u'x'), std::u16string(300, u'y')};
  for (const std::u16string& text : texts) {
    ASSERT_TRUE(WriteSetting(kSettingsSubkey, u"mDPChar", text));
    const RawValue value = Query(kKey, u"mDPChar");
    ASSERT_TRUE(value.exists);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.bytes.size(), 2 * text.size() + 2);
    EXPECT_EQ(value.bytes, Utf16Bytes(text, true));
  }
  // "/" in a key path is a "\": the keys on the path are made as needed.
  EXPECT_EQ(RegWriteText(u"SOFTWARE/Norvane/VEX/Deeper/Still", u"v", u"1"), 0);
  EXPECT_TRUE(Query(u"SOFTWARE\\Norvane\\VEX\\Deeper\\Still", u"v").exists);
  std::u16string read;
  EXPECT_EQ(RegReadText(u"SOFTWARE/Norvane/VEX/Deeper/Still", u"v", read), 0);
  EXPECT_EQ(read, u"1");
}

TEST_F(RegistryStoreTest, ReadsAtMost255BytesWhateverTheTypeAndNeverPastTheBytesReturned) {
  struct Case {
    const char* what;
    DWORD type;
    std::vector<unsigned char> bytes;
    bool read;
    std::u16string text;
  };
  const Case cases[] = {
      {"126 characters fit", REG_SZ, Utf16Bytes(std::u16string(126, u'부'), true), true,
       std::u16string(126, u'부')},
      {"127 do not", REG_SZ, Utf16Bytes(std::u16string(127, u'a'), true), false, u""},
      {"up to the first NUL", REG_SZ, Utf16Bytes(std::u16string(u"ab\0cd", 5), true), true, u"ab"},
      {"no terminator", REG_BINARY, Utf16Bytes(u"xyz", false), true, u"xyz"},
      {"an odd last byte is no character", REG_BINARY, {'A', 0, 'B'}, true, u"A"},
      {"a number's bytes", REG_DWORD, {'B', 0, 'A', 0}, true, u"BA"},
      {"empty data", REG_SZ, {}, true, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Put(u"mBalloonStr", c.type, c.bytes);
    std::u16string text = u"unchanged";
    ASSERT_EQ(ReadSetting(kSettingsSubkey, u"mBalloonStr", text), c.read);
    EXPECT_EQ(text, c.read ? c.text : u"unchanged");
  }
  std::u16string text = u"unchanged";
  EXPECT_FALSE(ReadSetting(kSettingsSubkey, u"mNoSuchValue", text));
  EXPECT_FALSE(ReadSetting(u"NoSuchSubkey", u"mBalloonStr", text));
  EXPECT_EQ(text, u"unchanged");
}

TEST_F(RegistryStoreTest, TheFirstStartWritesAll24DefaultsAndLaterOnlyWhatIsMissing) {
  LoadSettings();
  for (const SettingDefinition& d : kSettingDefinitions) {
    const RawValue value = Query(kKey, d.name);
    ASSERT_TRUE(value.exists);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.bytes, Utf16Bytes(d.defaultText, true));
  }
  EXPECT_EQ(Settings().mColorIndex, 5);
  EXPECT_EQ(Settings().mIsRotate, 1);

  // Flags are "1" only; a 127-character value and a deleted one get their defaults again,
  // and what was there stays as it was.
  Put(u"mIsRotate", REG_SZ, Utf16Bytes(u"01", true));
  Put(u"mIsLayer", REG_SZ, Utf16Bytes(u"1", true));
  Put(u"mIsColor", REG_SZ, Utf16Bytes(u"1 ", true));
  Put(u"mBalloonLayer", REG_SZ, Utf16Bytes(std::u16string(127, u'9'), true));
  Put(u"mArrangeWidth", REG_SZ, Utf16Bytes(std::u16string(126, u'8'), true));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Wide(kKey).c_str(), 0, KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  RegDeleteValueW(key, L"mIsDepth");
  RegCloseKey(key);
  LoadSettings();
  EXPECT_EQ(Settings().mIsRotate, 0);
  EXPECT_EQ(Settings().mIsLayer, 1);
  EXPECT_EQ(Settings().mIsColor, 0);
  EXPECT_EQ(Settings().mBalloonLayer, u"801");
  EXPECT_EQ(Settings().mArrangeWidth, std::u16string(126, u'8'));
  EXPECT_EQ(Query(kKey, u"mBalloonLayer").bytes, Utf16Bytes(u"801", true));
  EXPECT_EQ(Query(kKey, u"mIsDepth").bytes, Utf16Bytes(u"1", true));
  EXPECT_EQ(Query(kKey, u"mIsRotate").bytes, Utf16Bytes(u"01", true));
}

}  // namespace
}  // namespace twinfind
