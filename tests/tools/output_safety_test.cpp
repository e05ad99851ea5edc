// What the tool's outputs never do: write over the input drawing or another output of the run,
// replace what is not a regular file, cut a symbolic link, follow a link another user planted
// in a shared folder, replace a read-only file, change the mode of a file they replace, leave
// the temporary files of a killed writer for ever, or lose the session's drawing when it cannot
// be written at the end.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "tool_run.h"

namespace {

namespace fs = std::filesystem;
using tooltest::Quote;
using tooltest::ReadFile;
using tooltest::RunTool;
using tooltest::RunToolThrough;
using tooltest::ScratchFolder;
using tooltest::Shell;

const std::string kSamples = TWINFIND_SAMPLES_DIR;

// The exit status of a run in which some lines were refused.
constexpr int kSomeLinesRefused = 3;

// The user whose files are at stake, and another local user; no accounts are made for them.
constexpr uid_t kUser = 23456;
constexpr uid_t kOtherUser = 12345;

mode_t ModeOf(const fs::path& p) {
  struct stat info {};
  return lstat(p.c_str(), &info) == 0 ? info.st_mode : 0;
}

// Root, which may hand files to other users, with setpriv (util-linux) to run as one of them.
bool CanRunAsAnotherUser() { return geteuid() == 0 && !Shell("command -v setpriv").empty(); }

// Shell words that run a command as `uid`, with that user's group and no other.
std::string AsUser(uid_t uid) {
  const std::string id = std::to_string(uid);
  return "setpriv --reuid=" + id + " --regid=" + id + " --clear-groups";
}

TEST(OutputSafety, NoOutputIsTheInputOrAnotherOutputOfTheRun) {
  ScratchFolder folder;
  const fs::path dir = folder.path();
  const fs::path input = dir / "plate.dxf";
  fs::copy_file(kSamples + "/demo-plate.dxf", input);
  fs::create_hard_link(input, dir / "hard.dxf");
  fs::create_symlink(input, dir / "link.dxf");
  const std::string before = ReadFile(input);
  const std::string dotted = (dir / "." / "plate.dxf").string();
  struct Case {
    std::string arguments;
    std::string script;
    int status;
    std::string message;
  };
  const std::string isInput = "is the input drawing; it is never written over";
  const Case cases[] = {
      {"--out " + Quote(dir / "hard.dxf"), "", 2, isInput},
      {"--svg " + Quote(dir / "link.dxf"), "", 2, isInput},
      {"--png '" + dotted + "'", "", 2, isInput},
      {"--svg-at-confirm " + Quote(dir / "hard.dxf"), "", 2, isInput},
      {"--out " + Quote(dir / "a.dxf") + " --svg '" + (dir / "." / "a.dxf").string() + "'", "", 2,
       "is already the file of --out"},
      {"", "snapshot " + (dir / "link.dxf").string() + "\n", kSomeLinesRefused,
       "line 1: the output"},
      {"", "end\ndialog picture " + dotted + "\ndialog cancel\n", kSomeLinesRefused,
       "line 2: the output"},
      // The dialog writes a.svg beside a.png.
      {"--svg " + Quote(dir / "a.svg"),
       "end\ndialog picture " + (dir / "a.png").string() + "\ndialog cancel\n", kSomeLinesRefused,
       "line 2: the output " + (dir / "a.svg").string() + " is already the file of --svg"},
      {"--svg " + Quote(dir / "s.svg"), "snapshot " + (dir / "s.svg").string() + "\n",
       kSomeLinesRefused, "is already the file of --svg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments + " | " + c.script);
    const auto script = folder.Write("run.script", c.script);
    const auto r = RunTool(folder, "run " + Quote(input) + " --script " + Quote(script) + " " +
                                       c.arguments + " --settings " + Quote(dir / "s.reg"));
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(input), before);
    EXPECT_TRUE(fs::is_symlink(dir / "link.dxf"));
  }

  // The demo's outputs against its own input: its PNG is a hard link to the sample plate.
  const fs::path samples = dir / "samples";
  fs::create_directories(samples);
  for (const char* file : {"demo-plate.dxf", "demo-general.script", "demo-balloon.script"}) {
    fs::copy_file(kSamples + "/" + file, samples / file);
  }
  fs::create_directories(dir / "demo");
  fs::create_hard_link(samples / "demo-plate.dxf", dir / "demo" / "demo.png");
  setenv("TWINFIND_SAMPLES", samples.c_str(), 1);
  const auto demo = RunTool(folder, "demo --out " + Quote(dir / "demo"));
  unsetenv("TWINFIND_SAMPLES");
  EXPECT_NE(demo.err.find("demo.png is the input drawing"), std::string::npos) << demo.err;
  EXPECT_EQ(ReadFile(samples / "demo-plate.dxf"), before);
}

// An output that can never be written is refused when the run starts, before the drawing is
// loaded (status 2): found at the end, it cost the user the whole session's work. A line that
// names one is answered and the run goes on.
TEST(OutputSafety, WritersRespectWhatStandsAtTheTarget) {
  ScratchFolder folder;
  const fs::path dir = folder.path();
  ASSERT_EQ(chmod(dir.c_str(), 0755), 0);  // open to the other user of one case
  const fs::path input = dir / "plate.dxf";
  fs::copy_file(kSamples + "/demo-plate.dxf", input);
  const fs::path fifo = dir / "fifo.svg", dirTarget = dir / "folder.dxf";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  fs::create_directories(dirTarget);
  const fs::path real = dir / "real.svg", link = dir / "link.svg";
  folder.Write("real.svg", "old");
  fs::create_symlink("real.svg", link);  // relative, as users make them
  const fs::path readOnly = folder.Write("read-only.json", "keep me");
  ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
  const fs::path secret = folder.Write("private.svg", "old");
  ASSERT_EQ(chmod(secret.c_str(), 0600), 0);
  // A folder the user cannot make files in. Root could, so as root the run is another user's.
  const fs::path locked = dir / "locked";
  fs::create_directories(locked);
  ASSERT_EQ(chmod(locked.c_str(), 0555), 0);
  const fs::path device = dir / "null.png";
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  }
  // The settings where any user of the test may write them.
  const fs::path settings = dir / "settings";
  fs::create_directories(settings);
  ASSERT_EQ(chmod(settings.c_str(), 0777), 0);
  struct Case {
    std::string option;  // or "snapshot", a line of the script
    fs::path target;
    bool written;
    std::string message;
    bool asUser = false;  // run as a user who is not root
  };
  std::vector<Case> cases = {
      {"--svg", fifo, false, "it is not a regular file"},
      {"snapshot", fifo, false, "it is not a regular file"},
      {"--out", dirTarget, false, "it is a directory"},
      {"--report", readOnly, false, "the file is read-only"},
      {"snapshot", readOnly, false, "the file is read-only"},
      {"--svg-at-confirm", locked / "shot.svg", false, "no file can be made in the folder", root},
      {"--svg", link, true, ""},
      {"snapshot", secret, true, ""},
  };
  if (root) cases.push_back({"--png", device, false, "it is not a regular file"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option + " " + c.target.string());
    if (c.asUser && !CanRunAsAnotherUser()) continue;
    const bool line = c.option == "snapshot";
    const auto r =
        RunToolThrough(c.asUser ? AsUser(kUser) : "", folder,
                       "run " + Quote(input) + " --settings " + Quote(settings / "s.reg") +
                           (line ? "" : " " + c.option + " " + Quote(c.target)),
                       line ? "snapshot " + c.target.string() + "\n" : "");
    EXPECT_EQ(r.status, c.written ? 0 : (line ? kSomeLinesRefused : 2)) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    // Refused as an option: before the drawing was loaded, which prints its load line.
    if (!c.written && !line) {
      EXPECT_EQ(r.out.find("drawing:"), std::string::npos) << r.out;
    }
  }
  EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));
  EXPECT_TRUE(fs::is_directory(dirTarget) && fs::is_empty(dirTarget));
  EXPECT_EQ(ReadFile(readOnly), "keep me");
  EXPECT_EQ(ModeOf(readOnly) & 0777, 0444u);
  EXPECT_TRUE(fs::is_empty(locked));
  if (root) {
    EXPECT_TRUE(S_ISCHR(ModeOf(device)));
  }
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(real).rfind("<?xml", 0), 0u);
  EXPECT_EQ(ReadFile(secret).rfind("<?xml", 0), 0u);
  EXPECT_EQ(ModeOf(secret) & 0777, 0600u);
}

// A name holding a line break (or a NUL, or another control character) names no file of the
// user's: every path option is refused before the drawing is read, and nothing is made.
TEST(OutputSafety, NamesWithControlCharactersAreRefusedBeforeTheDrawingIsRead) {
  ScratchFolder folder;
  const std::string input = kSamples + "/demo-plate.dxf";
  const fs::path work = folder.path() / "work";
  fs::create_directories(work);
  const std::string bad = Quote(work / "line\nbreak");
  const std::string settings = " --settings " + Quote(folder.path() / "s.reg");
  const std::string cases[] = {
      "run " + Quote(input) + settings + " --out " + bad + ".dxf",
      "run " + Quote(input) + settings + " --report " + bad + ".json",
      "run " + Quote(input) + settings + " --svg " + bad + ".svg",
      "run " + Quote(input) + settings + " --script " + bad + ".script",
      "run " + Quote(input) + " --settings " + bad + ".reg",
      "survey " + Quote(input) + settings + " --split " + bad,
      "survey " + bad + ".dxf" + settings,
  };
  for (const std::string& arguments : cases) {
    SCOPED_TRACE(arguments);
    const auto r = RunTool(folder, arguments, "end\n");
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("cannot hold control characters"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("drawing:"), std::string::npos) << r.out;
  }
  std::vector<std::string> made;
  for (const auto& entry : fs::directory_iterator(work)) {
    made.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(made, std::vector<std::string>{}) << "files were made";
}

// Another local user plants OUT.dxf in a shared folder such as /tmp as a link to the user's
// ~/.bashrc. The tool follows a link as the system's rule for protected links would: not one in
// a sticky folder that anyone may write to, unless it is the user's own or the folder owner's;
// so the planted link is refused before the run, even to root, and the user's file stays.
TEST(OutputSafety, ALinkPlantedInASharedFolderLeadsNowhere) {
  if (!CanRunAsAnotherUser()) GTEST_SKIP() << "needs root and setpriv to act as two users";
  ScratchFolder folder;
  const fs::path dir = folder.path();
  ASSERT_EQ(chmod(dir.c_str(), 0755), 0);
  const fs::path input = dir / "plate.dxf";
  fs::copy_file(kSamples + "/demo-plate.dxf", input);
  // The user's home and the file at stake.
  const fs::path home = dir / "home";
  fs::create_directories(home);
  ASSERT_EQ(chown(home.c_str(), kUser, kUser), 0);
  const fs::path bashrc = folder.Write("home/.bashrc", "alias ls='ls -F'\n");
  ASSERT_EQ(chown(bashrc.c_str(), kUser, kUser), 0);
  // The shared folder, as /tmp is: root's, sticky, writable by anyone.
  const fs::path shared = dir / "shared";
  fs::create_directories(shared);
  ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
  const auto link = [](const fs::path& to, const fs::path& at, uid_t owner) {
    fs::create_symlink(to, at);
    return lchown(at.c_str(), owner, owner) == 0;
  };
  for (const char* name : {"out.dxf", "pic.svg", "report.json", "settings.reg"}) {
    ASSERT_TRUE(link(bashrc, shared / name, kOtherUser));
  }
  ASSERT_TRUE(link(home, shared / "home", kOtherUser));  // a folder on the way
  // Folders for --split: the user's own empty one reached by a planted link, and one the user
  // cannot make files in.
  const fs::path parts = home / "parts", locked = home / "locked";
  for (const fs::path& made : {parts, locked}) {
    fs::create_directories(made);
    ASSERT_EQ(chown(made.c_str(), kUser, kUser), 0);
  }
  ASSERT_EQ(chmod(locked.c_str(), 0555), 0);
  ASSERT_TRUE(link(parts, shared / "parts", kOtherUser));
  ASSERT_TRUE(link(shared / "out.dxf", home / "mine.dxf", kUser));  // the user's own, to it
  // Links that are followed: the user's own and the folder owner's in the shared folder, and
  // another user's in a sticky folder that not everyone may write to.
  ASSERT_TRUE(link(home / "a.svg", shared / "own.svg", kUser));
  ASSERT_TRUE(link(home / "b.svg", shared / "owners.svg", 0));
  const fs::path team = dir / "team";
  fs::create_directories(team);
  ASSERT_EQ(chmod(team.c_str(), 01775), 0);
  ASSERT_TRUE(link(home / "c.svg", team / "c.svg", kOtherUser));
  for (const char* name : {"a.svg", "b.svg", "c.svg"}) {
    ASSERT_EQ(chown(folder.Write(std::string("home/") + name, "old").c_str(), kUser, kUser), 0);
  }

  const std::string planted = "is not followed";
  struct Case {
    std::string arguments;
    std::string script;
    int status;
    std::string message;  // empty: written
    bool asRoot = false;
  };
  const std::string run = "run " + Quote(input) + " --settings " + Quote(home / "s.reg");
  const Case cases[] = {
      {run + " --out " + Quote(shared / "out.dxf"), "", 2, planted},
      {run + " --out " + Quote(shared / "out.dxf"), "", 2, planted, true},
      {run + " --svg " + Quote(shared / "pic.svg"), "", 2, planted},
      {run + " --report " + Quote(shared / "report.json"), "", 2, planted},
      {run + " --out " + Quote(shared / "home" / ".bashrc"), "", 2, planted},
      {run + " --out " + Quote(home / "mine.dxf"), "", 2, planted},
      {run, "snapshot " + (shared / "pic.svg").string() + "\n", kSomeLinesRefused, planted},
      {"settings set mMethod 1 --settings " + Quote(shared / "settings.reg"), "", 2, planted},
      {"survey " + Quote(input) + " --settings " + Quote(shared / "settings.reg"), "", 2, planted},
      {"survey " + Quote(input) + " --settings " + Quote(home / "s.reg") + " --split " +
           Quote(shared / "parts"),
       "", 2, planted},
      {"survey " + Quote(input) + " --settings " + Quote(home / "s.reg") + " --split " +
           Quote(locked),
       "", 2, "no file can be made in the folder"},
      {run + " --svg " + Quote(shared / "own.svg"), "", 0, ""},
      {run + " --svg " + Quote(shared / "owners.svg"), "", 0, ""},
      {run + " --svg " + Quote(team / "c.svg"), "", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments + " | " + c.script + (c.asRoot ? " (as root)" : ""));
    const auto r = RunToolThrough(c.asRoot ? "" : AsUser(kUser), folder, c.arguments, c.script);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    if (c.status == 2) {
      EXPECT_EQ(r.out.find("drawing:"), std::string::npos) << r.out;
    }
  }
  EXPECT_EQ(ReadFile(bashrc), "alias ls='ls -F'\n");
  struct stat info {};
  ASSERT_EQ(stat(bashrc.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, kUser);
  for (const char* name : {"out.dxf", "pic.svg", "report.json", "settings.reg", "home"}) {
    EXPECT_TRUE(fs::is_symlink(shared / name)) << name;
  }
  for (const fs::path& written : {home / "a.svg", home / "b.svg", home / "c.svg"}) {
    EXPECT_EQ(ReadFile(written).rfind("<?xml", 0), 0u) << written;
  }
}

// A drawing that cannot be written at the end after all (here the file was made read-only
// during the run) is saved beside it under the first free rescue name, and the user is told.
TEST(OutputSafety, ADrawingThatCannotBeWrittenAtTheEndIsSavedBesideIt) {
  ScratchFolder folder;
  const fs::path dir = folder.path();
  const fs::path input = dir / "plate.dxf";
  fs::copy_file(kSamples + "/demo-plate.dxf", input);
  const std::string script = ReadFile(kSamples + "/demo-general.script");
  const std::string settings = " --settings " + Quote(dir / "s.reg");
  // What the session saves when nothing stands in its way.
  const auto expected = RunTool(
      folder, "run " + Quote(input) + " --out " + Quote(dir / "expected.dxf") + settings, script);
  ASSERT_EQ(expected.status, 0) << expected.err;

  const fs::path out = folder.Write("out.dxf", "the last save");
  const fs::path earlier = folder.Write("out.dxf.rescue-1", "an earlier rescue");
  const fs::path started = dir / "started.svg";
  std::signal(SIGPIPE, SIG_IGN);  // a tool that ended early must fail the test, not end it
  const std::string command = "'" TWINFIND_TOOL_PATH "' run " + Quote(input) + " --out " +
                              Quote(out) + settings + " > " + Quote(dir / "stdout.txt") + " 2> " +
                              Quote(dir / "stderr.txt");
  FILE* tool = popen(command.c_str(), "w");
  ASSERT_NE(tool, nullptr);
  // The snapshot is written once the run has begun, past the checks of its outputs.
  fprintf(tool, "snapshot %s\n", started.c_str());
  fflush(tool);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!fs::exists(started) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(fs::exists(started));
  EXPECT_EQ(chmod(out.c_str(), 0444), 0);
  fputs(script.c_str(), tool);
  const int raw = pclose(tool);
  std::signal(SIGPIPE, SIG_DFL);
  const std::string err = ReadFile(dir / "stderr.txt");
  EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1) << err;
  EXPECT_NE(err.find("the file is read-only"), std::string::npos) << err;
  const fs::path rescue = dir / "out.dxf.rescue-2";
  EXPECT_NE(err.find("the drawing was saved as " + rescue.string() + " instead"), std::string::npos)
      << err;
  EXPECT_NE(ReadFile(dir / "stdout.txt").find("wrote " + rescue.string() + ": "),
            std::string::npos);
  EXPECT_EQ(ReadFile(rescue), ReadFile(dir / "expected.dxf"));
  EXPECT_EQ(ReadFile(out), "the last save");
  EXPECT_EQ(ReadFile(earlier), "an earlier rescue");
}

TEST(OutputSafety, AKilledWritersTemporaryGoesAtTheNextWriteAndALiveOneStays) {
  ScratchFolder folder;
  const fs::path dir = folder.path();
  const fs::path stale = folder.Write(".out.svg.aB3xY9.tmp", "half a picture");
  const fs::path live = folder.Write(".out.svg.Qw7Er5.tmp", "being written");
  const fs::path userFile = folder.Write(".out.svg.backup", "the user's own");
  const int held = open(live.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(flock(held, LOCK_EX), 0);  // as the writer that makes it holds it
  const auto r = RunTool(
      folder, "run --settings " + Quote(dir / "s.reg") + " --svg " + Quote(dir / "out.svg"));
  close(held);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(live));
  EXPECT_TRUE(fs::exists(userFile));
  EXPECT_EQ(ReadFile(dir / "out.svg").rfind("<?xml", 0), 0u);
}

}  // namespace
