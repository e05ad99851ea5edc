// The settings file keeps what the user had: where it lives, concurrent writers, writes that
// fail part-way, and damaged or unusable files.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "common/utf.h"
#include "settings/reg_file.h"
#include "settings/settings.h"
#include "settings/store_file.h"
#include "settings/text_number.h"
#include "test_support.h"

namespace twinfind {
namespace {

using testing::ListDir;
using testing::ReadFile;
using testing::ScopedEnv;
using testing::TempDir;
using testing::WriteFile;

const std::u16string kKey = MakeSettingsKeyPath(kSettingsSubkey);
const std::u16string kSection = CurrentUserSectionPath(kKey);

// Runs `body` in a child process and returns its exit status (or -1 when it did not exit).
int RunInChild(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::optional<std::u16string> StoredValue(const std::string& path, std::u16string_view name) {
  const auto bytes = ReadFile(path);
  if (!bytes) return std::nullopt;
  const auto file = RegFile::Parse(*bytes);
  return file ? file->Find(kSection, name) : std::nullopt;
}

class FileStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetSettings(); }

  // Loads with the file store at `path` and expects the default record back.
  void ExpectLoadGivesDefaults() {
    LoadSettings();
    EXPECT_EQ(Settings().mMethod, 0);
    EXPECT_EQ(Settings().mIsRotate, 1);
    EXPECT_EQ(Settings().mColorIndex, 5);
    EXPECT_EQ(Settings().mBalloonStr, u"101");
  }

  TempDir dir;
  std::string path = dir / "settings.reg";
  ScopedEnv env{kSettingsFileVariable, path};
  FileSettingsStore store;
  ScopedSettingsStore installed{store};
};

TEST_F(FileStoreTest, TheFirstStartWritesAllDefaultsInLoadOrder) {
  LoadSettings();
  std::string expected = "Windows Registry Editor Version 5.00\n\n"
                         "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n";
  for (const SettingDefinition& definition : kSettingDefinitions) {
    expected += "\"" + ToUtf8(definition.name) + "\"=\"" + ToUtf8(definition.defaultText) + "\"\n";
  }
  EXPECT_EQ(ReadFile(path), expected);
  EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"settings.reg", "settings.reg.lock"}));
}

TEST_F(FileStoreTest, TheLocationFollowsTheEnvironmentAtEveryOperation) {
  ScopedEnv xdg("XDG_CONFIG_HOME", dir / "xdg");
  ScopedEnv home("HOME", dir / "home");
  ASSERT_TRUE(WriteSetting(kSettingsSubkey, u"mMethod", u"1"));
  EXPECT_EQ(StoredValue(path, u"mMethod"), u"1");

  {  // An empty variable counts as unset; the default directory is created.
    ScopedEnv unset(kSettingsFileVariable, "");
    ASSERT_TRUE(WriteSetting(kSettingsSubkey, u"mMethod", u"2"));
    EXPECT_EQ(StoredValue(dir / "xdg/twinfind/settings.reg", u"mMethod"), u"2");
  }
  {  // A relative XDG_CONFIG_HOME is not used.
    ScopedEnv unset(kSettingsFileVariable, std::nullopt);
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
    ASSERT_TRUE(WriteSetting(kSettingsSubkey, u"mMethod", u"3"));
    EXPECT_EQ(StoredValue(dir / "home/.config/twinfind/settings.reg", u"mMethod"), u"3");
  }
  {
    ScopedEnv unset(kSettingsFileVariable, std::nullopt);
    ScopedEnv noXdg("XDG_CONFIG_HOME", std::nullopt);
    ScopedEnv noHome("HOME", std::nullopt);
    EXPECT_FALSE(WriteSetting(kSettingsSubkey, u"mMethod", u"4"));
  }
  EXPECT_EQ(StoredValue(path, u"mMethod"), u"1");
}

TEST_F(FileStoreTest, TwoProcessesWritingAtOnceLoseNothing) {
  constexpr int kValuesEach = 200;
  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  const auto writer = [&](char prefix) {
    return [&, prefix] {
      close(gate[1]);
      char go;
      if (read(gate[0], &go, 1) != 0) return 2;  // wait until the parent opens the gate
      for (int i = 0; i < kValuesEach; ++i) {
        const std::u16string name = char16_t(prefix) + IntToText(i);
        if (!WriteSetting(kSettingsSubkey, name, IntToText(i * 7))) return 1;
      }
      return 0;
    };
  };
  std::vector<pid_t> children;
  for (const char prefix : {'a', 'b'}) {
    const pid_t pid = fork();
    if (pid == 0) _exit(writer(prefix)());
    ASSERT_GT(pid, 0);
    children.push_back(pid);
  }
  close(gate[0]);
  close(gate[1]);  // both start now
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (const char16_t prefix : {u'a', u'b'}) {
    for (int i = 0; i < kValuesEach; ++i) {
      EXPECT_EQ(StoredValue(path, prefix + IntToText(i)), IntToText(i * 7));
    }
  }
  EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"settings.reg", "settings.reg.lock"}));
}

TEST_F(FileStoreTest, AWriteThatFailsPartWayLeavesTheOldFileWhole) {
  LoadSettings();
  const std::string before = ReadFile(path).value();
  const int result = RunInChild([] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};  // the new file cannot grow past 100 bytes
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
    return WriteSetting(kSettingsSubkey, u"mBalloonStr", u"A-001") ? 0 : 1;
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(ReadFile(path), before);
  EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"settings.reg", "settings.reg.lock"}));
}

TEST_F(FileStoreTest, ADamagedFileGivesDefaultsAndIsKeptAside) {
  const std::string header = "Windows Registry Editor Version 5.00\n\n"
                             "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n";
  const std::string damaged[] = {
      header + "\"mMethod\"=\"1\"\n\"mIsRot",                     // truncated line
      "\x7F" "ELF\x02\x01\x01\xFF\xFE garbage",                   // binary
      header + std::string("\"mMethod\"=\"1\0\"\n", 15),          // a NUL byte
      header + "\"mMethod\"=\"\xFF\"\n",                          // invalid UTF-8
      header + "\"mMethod\"=\"1\"\n" + std::string(2 << 20, ';'),  // larger than 1 MiB
  };
  for (const std::string& bytes : damaged) {
    SCOPED_TRACE(bytes.substr(0, 40));
    std::filesystem::remove(path + ".damaged");
    WriteFile(path, bytes);
    ExpectLoadGivesDefaults();
    EXPECT_EQ(ReadFile(path + ".damaged"), bytes);
    EXPECT_EQ(StoredValue(path, u"mBalloonStr"), u"101");  // a sound file with every default
    EXPECT_EQ(StoredValue(path, u"mIsRotate"), u"1");
  }
}

TEST_F(FileStoreTest, AnEarlierDamagedCopyIsNeverOverwritten) {
  WriteFile(path + ".damaged", "first");
  WriteFile(path, "second");
  ExpectLoadGivesDefaults();
  WriteFile(path, "third");
  ExpectLoadGivesDefaults();
  EXPECT_EQ(ReadFile(path + ".damaged"), "first");
  EXPECT_EQ(ReadFile(path + ".damaged.1"), "second");
  EXPECT_EQ(ReadFile(path + ".damaged.2"), "third");
}

TEST_F(FileStoreTest, AMissingDirectoryForAnExplicitPathIsNotCreated) {
  const std::string missing = dir / "no/such/dir/settings.reg";
  ScopedEnv explicitPath(kSettingsFileVariable, missing);
  ExpectLoadGivesDefaults();
  EXPECT_FALSE(std::filesystem::exists(dir / "no"));
  EXPECT_FALSE(WriteSetting(kSettingsSubkey, u"mMethod", u"1"));
}

TEST_F(FileStoreTest, SomethingOtherThanAFileAtThePathIsLeftAlone) {
  std::filesystem::create_directory(path);  // a directory
  ExpectLoadGivesDefaults();
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_TRUE(std::filesystem::is_empty(path));
  std::filesystem::remove(path);

  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);  // a FIFO must not make the load wait for a writer
  ExpectLoadGivesDefaults();
  EXPECT_TRUE(std::filesystem::is_fifo(path));
}

TEST_F(FileStoreTest, ASymlinkedFileIsWrittenThroughAndKeepsItsPermissions) {
  const std::string target = dir / "real.reg";
  WriteFile(target, "");
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  std::filesystem::create_symlink(target, path);
  LoadSettings();
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  EXPECT_EQ(StoredValue(target, u"mMethod"), u"0");
  struct stat status {};
  ASSERT_EQ(stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);

  std::filesystem::remove(target);  // a dangling link is not replaced by a file
  EXPECT_FALSE(WriteSetting(kSettingsSubkey, u"mMethod", u"1"));
  EXPECT_TRUE(std::filesystem::is_symlink(path));
}

TEST_F(FileStoreTest, AWriteThatWouldOutgrowTheFileLimitIsRefused) {
  LoadSettings();
  const std::string before = ReadFile(path).value();
  EXPECT_FALSE(WriteSetting(kSettingsSubkey, u"huge", std::u16string(kMaxRegFileBytes, u'x')));
  EXPECT_EQ(ReadFile(path), before);
}

TEST_F(FileStoreTest, AnExplicitFileGivenToTheStoreIgnoresTheEnvironment) {
  const std::string other = dir / "other.reg";
  FileSettingsStore fixed(other);
  ScopedSettingsStore use(fixed);
  ASSERT_TRUE(WriteSetting(kSettingsSubkey, u"mMethod", u"1"));
  EXPECT_EQ(StoredValue(other, u"mMethod"), u"1");
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace twinfind
