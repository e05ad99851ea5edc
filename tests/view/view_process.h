// A `twinfind view` run in a child process for the tests: started with its arguments in a
// scratch folder, its address read from what it prints, asked over real HTTP, and stopped.
#ifndef TESTS_VIEW_VIEW_PROCESS_H
#define TESTS_VIEW_VIEW_PROCESS_H

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace viewtest {

class ViewProcess {
 public:
  // Starts the tool in `folder` with the arguments (and at most `openFiles` open files, when
  // given); waits (up to 20 s) for its address.
  ViewProcess(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
              rlim_t openFiles = 0) {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      dup2(out[1], 2);
      close(out[0]);
      close(out[1]);
      if (chdir(folder.c_str()) != 0) _exit(127);
      setenv("TMPDIR", folder.c_str(), 1);  // the view's session settings stay in the folder
      const rlimit files{openFiles, openFiles};
      if (openFiles > 0 && setrlimit(RLIMIT_NOFILE, &files) != 0) _exit(127);
      std::vector<std::string> words = {TWINFIND_TOOL_PATH, "view"};
      words.insert(words.end(), arguments.begin(), arguments.end());
      std::vector<char*> argv;
      for (std::string& w : words) argv.push_back(w.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    out_ = out[0];
    const std::regex address(R"(http://127\.0\.0\.1:(\d+)(/[0-9a-f]{32}/))");
    std::smatch m;
    while (ReadSome(std::chrono::seconds(20))) {
      if (std::regex_search(printed_, m, address)) {
        port_ = std::stoi(m[1]);
        base_ = m[2];
        return;
      }
    }
  }
  ~ViewProcess() {
    if (pid_ > 0 && !status_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
  }

  bool started() const { return port_ > 0; }
  int port() const { return port_; }
  // "/TOKEN/"
  const std::string& base() const { return base_; }
  std::string token() const { return base_.substr(1, base_.size() - 2); }
  const std::string& printed() const { return printed_; }

  void Signal(int signal) const { kill(pid_, signal); }
  // Waits up to `limit` for the process to end; its exit status, nothing when it goes on.
  std::optional<int> Wait(std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!status_) {
      ReadSome(std::chrono::milliseconds(50));
      int raw = 0;
      if (waitpid(pid_, &raw, WNOHANG) == pid_) {
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        while (ReadSome(std::chrono::milliseconds(50))) {
        }
      } else if (std::chrono::steady_clock::now() > until) {
        break;
      }
    }
    return status_;
  }

 private:
  // Reads what the process printed; false at its end or when nothing came in time.
  bool ReadSome(std::chrono::milliseconds limit) {
    pollfd p{out_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(limit.count())) <= 0) return false;
    char buffer[4096];
    const ssize_t n = read(out_, buffer, sizeof buffer);
    if (n <= 0) return false;
    printed_.append(buffer, static_cast<size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int out_ = -1;
  int port_ = -1;
  std::string base_;
  std::string printed_;
  std::optional<int> status_;
};

}  // namespace viewtest

#endif  // TESTS_VIEW_VIEW_PROCESS_H
