#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "dxf/dwg_reader.h"

namespace twinfind::dxf {
namespace {

namespace fs = std::filesystem;

std::string ReaderScript() {
  const char* given = std::getenv("TWINFIND_DWG_READER");
  return given == nullptr || *given == '\0' ? std::string(TWINFIND_DWG_READER_DEFAULT)
                                            : std::string(given);
}

// Whether an executable `name` lies in a folder of the PATH.
bool OnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path != nullptr ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string file = (folder.empty() ? "." : folder) + "/" + name;
    if (access(file.c_str(), X_OK) == 0 && !fs::is_directory(file)) return true;
  }
  return false;
}

// The memory a process holds now (its resident set), in bytes; 0 when it cannot be told.
uint64_t ResidentBytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtoull(line.c_str() + 6, nullptr, 10) * 1024;
  }
  return 0;
}

// The last line the reader wrote that starts with its prefix, else its last line.
std::string ReaderSays(const std::string& said) {
  std::stringstream lines(said);
  std::string last, own;
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) continue;
    last = line;
    if (line.rfind("twinfind-dwg: ", 0) == 0) own = line.substr(14);
  }
  if (!own.empty()) return own;
  return last.size() > 300 ? last.substr(0, 300) + "..." : last;
}

// A folder of our own for the reader's DXF, removed with it.
class ScratchFolder {
 public:
  ScratchFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/twinfind-dwg-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

bool ReadDwgAsDxf(const std::string& path, const DwgReaderLimits& limits, std::string& dxfText,
                  std::string& error) {
  const std::string script = ReaderScript();
  if (!OnPath("node")) {
    error = std::string("reading DWG needs Node.js, and no node is on the PATH: ") +
            kDwgInstallCommand + " installs it and the reader";
    return false;
  }
  // The reader's folder holds its package.json, and npm puts the package beside it.
  const fs::path folder = fs::path(script).parent_path();
  const bool installed =
      !fs::exists(folder / "package.json") ||
      fs::exists(folder / "node_modules" / "@mlightcad" / "libredwg-web" / "package.json");
  if (!fs::exists(script) || !installed) {
    error = std::string("the DWG reader (the npm package @mlightcad/libredwg-web beside ") +
            script + ") is not installed: " + kDwgInstallCommand + " installs it";
    return false;
  }
  const ScratchFolder scratch;
  if (scratch.path().empty()) {
    error = "no temporary folder for the DWG reader's DXF";
    return false;
  }
  const std::string out = scratch.path() + "/drawing.dxf";
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    error = "the DWG reader could not be started";
    return false;
  }
  const std::string absolute = fs::absolute(path).string();
  const pid_t child = fork();
  if (child < 0) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    error = "the DWG reader could not be started";
    return false;
  }
  if (child == 0) {
    setpgid(0, 0);  // its own group, stopped whole
    const int none = open("/dev/null", O_RDWR);
    dup2(none, STDIN_FILENO);
    dup2(none, STDOUT_FILENO);  // the reader's own notes
    dup2(pipeEnds[1], STDERR_FILENO);
    close(pipeEnds[0]);
    execlp("node", "node", "--liftoff-only", script.c_str(), absolute.c_str(), out.c_str(),
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeEnds[1]);
  fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
  const auto start = std::chrono::steady_clock::now();
  std::string said;
  int status = 0;
  std::string stopped;
  bool ended = false;
  while (!ended) {
    pollfd fd{pipeEnds[0], POLLIN, 0};
    poll(&fd, 1, 20);
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
      said.append(buffer, static_cast<size_t>(n));
      if (said.size() > 65536) said.erase(0, said.size() - 16384);
    }
    ended = waitpid(child, &status, WNOHANG) == child;
    if (ended || !stopped.empty()) continue;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const uint64_t held = ResidentBytes(child);
    if (seconds > limits.seconds) {
      std::ostringstream why;
      why << "the DWG reader ran past " << limits.seconds << " s and was stopped";
      stopped = why.str();
    } else if (held > limits.memoryBytes) {
      stopped = "the DWG reader held more than " + std::to_string(limits.memoryBytes >> 20) +
                " MB and was stopped";
    }
    if (!stopped.empty()) {
      kill(-child, SIGKILL);  // its group, should it have started others
      kill(child, SIGKILL);
    }
  }
  close(pipeEnds[0]);
  if (!stopped.empty()) {
    error = stopped;
    return false;
  }
  if (WIFSIGNALED(status)) {
    error = "the DWG reader crashed (signal " + std::to_string(WTERMSIG(status)) + ")";
    return false;
  }
  const int code = WEXITSTATUS(status);
  if (code == 127 && said.empty()) {
    error = std::string("Node.js could not be started: ") + kDwgInstallCommand +
            " installs it and the reader";
    return false;
  }
  if (code != 0) {
    const std::string why = ReaderSays(said);
    error = code == 2 ? "the DWG reader: " + why
                      : "the DWG reader failed (exit status " + std::to_string(code) + ")" +
                            (why.empty() ? std::string() : ": " + why);
    return false;
  }
  std::ifstream in(out, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  dxfText = text.str();
  if (!in || dxfText.empty()) {
    error = "the DWG reader wrote no DXF";
    return false;
  }
  return true;
}

}  // namespace twinfind::dxf
