// What the tool's outputs never do: write over the input drawing or another output of the run,
// replace what is not a regular file, cut a symbolic link, replace a read-only file, change the
// mode of a file they replace, or leave the temporary files of a killed writer for ever.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tool_run.h"

namespace {

namespace fs = std::filesystem;
using tooltest::Quote;
using tooltest::ReadFile;
using tooltest::RunTool;
using tooltest::ScratchFolder;

const std::string kSamples = TWINFIND_SAMPLES_DIR;

// The exit status of a run in which some lines were refused.
constexpr int kSomeLinesRefused = 3;

mode_t ModeOf(const fs::path& p) {
  struct stat info {};
  return lstat(p.c_str(), &info) == 0 ? info.st_mode : 0;
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

TEST(OutputSafety, WritersRespectWhatStandsAtTheTarget) {
  ScratchFolder folder;
  const fs::path dir = folder.path();
  const fs::path fifo = dir / "fifo.svg", dirTarget = dir / "folder.svg";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  fs::create_directories(dirTarget);
  const fs::path real = dir / "real.svg", link = dir / "link.svg";
  folder.Write("real.svg", "old");
  fs::create_symlink("real.svg", link);  // relative, as users make them
  const fs::path readOnly = folder.Write("read-only.svg", "keep me");
  ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
  const fs::path secret = folder.Write("private.svg", "old");
  ASSERT_EQ(chmod(secret.c_str(), 0600), 0);
  struct Case {
    std::string target;
    bool throughSnapshot;
    bool written;
    std::string message;
  };
  const Case cases[] = {
      {fifo.string(), false, false, "it is not a regular file"},
      {fifo.string(), true, false, "it is not a regular file"},
      {dirTarget.string(), false, false, "it is a directory"},
      {readOnly.string(), false, false, "the file is read-only"},
      {readOnly.string(), true, false, "the file is read-only"},
      {link.string(), false, true, ""},
      {secret.string(), true, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target + (c.throughSnapshot ? " (snapshot)" : " (--svg)"));
    const std::string args = c.throughSnapshot ? "" : " --svg " + Quote(c.target);
    const std::string script = c.throughSnapshot ? "snapshot " + c.target + "\n" : "";
    const auto r = RunTool(folder, "run --settings " + Quote(dir / "s.reg") + args, script);
    EXPECT_EQ(r.status, c.written ? 0 : (c.throughSnapshot ? kSomeLinesRefused : 1)) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));
  EXPECT_TRUE(fs::is_directory(dirTarget));
  EXPECT_EQ(ReadFile(readOnly), "keep me");
  EXPECT_EQ(ModeOf(readOnly) & 0777, 0444u);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(real).rfind("<?xml", 0), 0u);
  EXPECT_EQ(ReadFile(secret).rfind("<?xml", 0), 0u);
  EXPECT_EQ(ModeOf(secret) & 0777, 0600u);
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
