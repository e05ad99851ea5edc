// The settings file keeps what the user had: where it lives, concurrent writers, writes that
// fail part-way, and damaged or unusable files.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "common/language.h"
#include "common/utf.h"
#include "settings/reg_file.h"
#include "settings/settings.h"
#include "settings/store_file.h"
#include "settings/text_number.h"
#include "test_support.h"

namespace twinfind {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::ScopedEnv;
using testing::WriteFile;
using Names = std::vector<std::string>;

const std::u16string kKey = MakeSettingsKeyPath(kSettingsSubkey);

std::optional<std::u16string> StoredValue(const std::string& path, std::u16string_view name) {
  const auto file = RegFile::Parse(ReadFile(path).value_or(""));
  return file ? file->Find(CurrentUserSectionPath(kKey), name) : std::nullopt;
}

// Forks; the child runs `body` and exits with its result.
template <typename Body>
pid_t Spawn(Body body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  return pid;
}

int ExitCode(pid_t pid) {
  int status = 0;
  if (pid <= 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

class FileStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetSettings(); }

  void ExpectLoadGivesDefaults() {
    LoadSettings();
    EXPECT_EQ(Settings().mMethod, 0);
    EXPECT_EQ(Settings().mColorIndex, 5);
    EXPECT_EQ(Settings().mBalloonStr, u"101");
  }

  testing::TempDir dir;
  std::string path = dir / "settings.reg";
  ScopedEnv env{kSettingsFileVariable, path};
  FileSettingsStore store;
  ScopedSettingsStore installed{store};
};

TEST_F(FileStoreTest, TheFirstStartWritesAllDefaultsInLoadOrder) {
  LoadSettings();
  std::string expected =
      "Windows Registry Editor Version 5.00\n\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n";
  for (const SettingDefinition& d : kSettingDefinitions) {
    expected += "\"" + ToUtf8(d.name) + "\"=\"" + ToUtf8(d.defaultText) + "\"\n";
  }
  EXPECT_EQ(ReadFile(path), expected);
  EXPECT_EQ(testing::ListDir(dir.path()), (Names{"settings.reg"}));
}

TEST_F(FileStoreTest, TheLocationFollowsTheEnvironmentAtEveryOperation) {
  ScopedEnv xdg("XDG_CONFIG_HOME", dir / "xdg");
  ScopedEnv home("HOME", dir / "home");
  ASSERT_TRUE(WriteSetting(kSettingsSubkey, u"mMethod", u"1"));
  EXPECT_EQ(StoredValue(path, u"mMethod"), u"1");
  {  // An empty variable counts as unset; the default directory is created.
    ScopedEnv empty(kSettingsFileVariable, "");
    ASSERT_TRUE(WriteSetting(kSettingsSubkey, u"mMethod", u"2"));
    EXPECT_EQ(StoredValue(dir / "xdg/twinfind/settings.reg", u"mMethod"), u"2");
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");  // not used
    ASSERT_TRUE(WriteSetting(kSettingsSubkey, u"mMethod", u"3"));
    EXPECT_EQ(StoredValue(dir / "home/.config/twinfind/settings.reg", u"mMethod"), u"3");
    ScopedEnv noHome("HOME", std::nullopt);
    EXPECT_FALSE(WriteSetting(kSettingsSubkey, u"mMethod", u"4"));
  }
  // A store given its own file ignores the environment.
  FileSettingsStore fixed(dir / "fixed.reg");
  ASSERT_TRUE(fixed.WriteValue(kKey, u"mMethod", u"5"));
  EXPECT_EQ(StoredValue(dir / "fixed.reg", u"mMethod"), u"5");
  EXPECT_EQ(StoredValue(path, u"mMethod"), u"1");
}

// A session's file is read first and never written: the view's settings for one session. The
// command reads it through the same store when it starts, and sets its language from it.
TEST_F(FileStoreTest, ASessionsValuesAreReadFirstAndNeverWritten) {
  const std::string session = dir / "session.reg";
  ASSERT_TRUE(WriteSetting(kSettingsSubkey, u"mRangeLimit", u"300"));
  ScopedEnv named(kSessionSettingsVariable, session);
  EXPECT_EQ(StoredSettingText(u"mRangeLimit"), u"300");  // no session file yet
  FileSettingsStore held(session);
  ASSERT_TRUE(held.WriteValue(kKey, u"mRangeLimit", u"49"));
  ASSERT_TRUE(held.WriteValue(kKey, u"mLanguage", u"en"));
  LoadSettings();
  EXPECT_EQ(Settings().mRangeLimit, u"49");
  EXPECT_EQ(CurrentLanguage(), Language::kEnglish);
  ASSERT_TRUE(WriteSetting(kSettingsSubkey, u"mRangeLimit", u"500"));
  EXPECT_EQ(StoredValue(path, u"mRangeLimit"), u"500");
  EXPECT_EQ(StoredValue(session, u"mRangeLimit"), u"49");
  EXPECT_EQ(StoredSettingText(u"mRangeLimit"), u"49");
  {  // Only an absolute path names a session's file.
    ScopedEnv relative(kSessionSettingsVariable, "session.reg");
    EXPECT_EQ(StoredSettingText(u"mRangeLimit"), u"500");
  }
  SetLanguage(Language::kKorean);
}

TEST_F(FileStoreTest, TwoProcessesWritingAtOnceLoseNothing) {
  constexpr int kValuesEach = 200;
  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  std::vector<pid_t> writers;
  for (const char16_t prefix : {u'a', u'b'}) {
    writers.push_back(Spawn([&] {
      close(gate[1]);
      char unused;
      if (read(gate[0], &unused, 1) != 0) return 2;  // wait until the parent opens the gate
      for (int i = 0; i < kValuesEach; ++i) {
        if (!WriteSetting(kSettingsSubkey, prefix + IntToText(i), IntToText(i * 7))) return 1;
      }
      return 0;
    }));
  }
  close(gate[0]);
  close(gate[1]);  // both start now
  for (const pid_t pid : writers) EXPECT_EQ(ExitCode(pid), 0);
  for (const char16_t prefix : {u'a', u'b'}) {
    for (int i = 0; i < kValuesEach; ++i) {
      EXPECT_EQ(StoredValue(path, prefix + IntToText(i)), IntToText(i * 7));
    }
  }
  EXPECT_EQ(testing::ListDir(dir.path()), (Names{"settings.reg"}));
}

TEST_F(FileStoreTest, AWriteThatFailsPartWayLeavesTheOldFileWhole) {
  LoadSettings();
  const std::string before = ReadFile(path).value();
  const pid_t child = Spawn([] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};  // the new file cannot grow past 100 bytes
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
    return WriteSetting(kSettingsSubkey, u"mBalloonStr", u"A-001") ? 0 : 1;
  });
  EXPECT_EQ(ExitCode(child), 1);
  EXPECT_EQ(ReadFile(path), before);
  EXPECT_EQ(testing::ListDir(dir.path()), (Names{"settings.reg"}));
}

TEST_F(FileStoreTest, ADamagedFileGivesDefaultsAndIsKeptAside) {
  const std::string header =
      "Windows Registry Editor Version 5.00\n\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n\"mMethod\"=\"1\"\n";
  const std::string damaged[] = {
      header + "\"mIsRot",  // truncated line
      "\x7F"
      "ELF\x02\x01\x01\xFF\xFE garbage",                  // binary
      header + std::string("\"mFigure\"=\"1\0\"\n", 15),  // a NUL byte
      header + "\"mFigure\"=\"\xFF\"\n",                  // invalid UTF-8
      header + std::string(kMaxRegFileBytes, ';'),        // larger than the limit
  };
  for (size_t i = 0; i < std::size(damaged); ++i) {
    SCOPED_TRACE(i);
    WriteFile(path, damaged[i]);
    ::testing::internal::CaptureStderr();
    ExpectLoadGivesDefaults();
    // The first copy is ".damaged"; later ones are numbered, never overwriting an earlier one.
    const std::string aside = path + ".damaged" + (i == 0 ? "" : "." + std::to_string(i));
    // The user is told, with both files named.
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "twinfind: the settings file " + path +
                                                            " could not be read; it was kept as " +
                                                            aside + " and the defaults apply\n");
    EXPECT_EQ(ReadFile(aside), damaged[i]);
    EXPECT_EQ(StoredValue(path, u"mBalloonStr"), u"101");  // a sound file with every default
  }
}

// The registry editor exports UTF-16 with a byte-order mark: such a file is read as the text it
// holds, and not taken for a damaged one.
TEST_F(FileStoreTest, AFileInUtf16FromTheRegistryEditorIsRead) {
  const std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n"
      u"[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\r\n\"mBalloonStr\"=\"가-7\"\r\n";
  std::string bytes = "\xFF\xFE";
  for (const char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  WriteFile(path, bytes);
  std::u16string read;
  ASSERT_TRUE(ReadSetting(kSettingsSubkey, u"mBalloonStr", read));
  EXPECT_EQ(read, u"가-7");
  EXPECT_FALSE(fs::exists(path + ".damaged"));
  WriteFile(path, bytes + "x");  // half a character at the end: damaged after all
  EXPECT_FALSE(ReadSetting(kSettingsSubkey, u"mBalloonStr", read));
}

TEST_F(FileStoreTest, AnUnusablePathLosesNothingAndDoesNotHang) {
  {  // An explicit path's missing directory is not created.
    ScopedEnv missing(kSettingsFileVariable, dir / "no/such/settings.reg");
    ExpectLoadGivesDefaults();
    EXPECT_FALSE(fs::exists(dir / "no"));
  }
  fs::create_directory(path);
  ExpectLoadGivesDefaults();
  EXPECT_TRUE(fs::is_directory(path) && fs::is_empty(path));
  fs::remove(path);
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);  // opening a FIFO must not wait for a writer
  ExpectLoadGivesDefaults();
  EXPECT_TRUE(fs::is_fifo(path));
}

TEST_F(FileStoreTest, ASymlinkedFileIsWrittenThroughAndKeepsItsPermissions) {
  const std::string target = dir / "real.reg";
  WriteFile(target, "");
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  fs::create_symlink(target, path);
  LoadSettings();
  EXPECT_TRUE(fs::is_symlink(path));
  EXPECT_EQ(StoredValue(target, u"mMethod"), u"0");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
  fs::remove(target);  // a dangling link is not replaced by a file
  EXPECT_FALSE(WriteSetting(kSettingsSubkey, u"mMethod", u"1"));
  EXPECT_TRUE(fs::is_symlink(path));
}

}  // namespace
}  // namespace twinfind
