// Running the twinfind tool in a child process and collecting what it printed.
#ifndef TESTS_TOOLS_TOOL_RUN_H
#define TESTS_TOOLS_TOOL_RUN_H

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tooltest {

struct ToolResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A path quoted for the shell.
inline std::string Quote(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

// What a shell command printed on its standard output.
inline std::string Shell(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}

// A scratch folder for one test, removed with it.
class ScratchFolder {
 public:
  ScratchFolder() {
    path_ = std::filesystem::temp_directory_path() /
            ("twinfind-tool-" + std::to_string(getpid()) + "-" + std::to_string(counter_++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
    return path_ / name;
  }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

// Runs the tool with the arguments (a shell-quoted string) and the given standard input, in the
// folder `cwd` when one is given, through `launcher` when one is given: shell words that run
// the command after them ("timeout 20", "setpriv --reuid=...").
inline ToolResult RunToolThrough(const std::string& launcher, const ScratchFolder& folder,
                                 const std::string& arguments, const std::string& input = "",
                                 const std::string& cwd = "") {
  const auto in = folder.Write("stdin.txt", input);
  const auto out = folder.path() / "stdout.txt";
  const auto err = folder.path() / "stderr.txt";
  const std::string command = (cwd.empty() ? "" : "cd '" + cwd + "' && ") + launcher +
                              (launcher.empty() ? "" : " ") + "'" + TWINFIND_TOOL_PATH + "' " +
                              arguments + " < '" + in.string() + "' > '" + out.string() +
                              "' 2> '" + err.string() + "'";
  const int raw = std::system(command.c_str());
  ToolResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadFile(out);
  result.err = ReadFile(err);
  return result;
}

inline ToolResult RunTool(const ScratchFolder& folder, const std::string& arguments,
                          const std::string& input = "", const std::string& cwd = "") {
  return RunToolThrough("", folder, arguments, input, cwd);
}

}  // namespace tooltest

#endif  // TESTS_TOOLS_TOOL_RUN_H
