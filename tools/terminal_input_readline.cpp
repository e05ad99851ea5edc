// Lines typed at a terminal through GNU readline (Debian: libreadline-dev), in its callback
// mode, so that the tool waits for input itself and sees Ctrl-C as it comes:
// - line editing and the history of earlier runs, kept in the user's state folder;
// - Ctrl-C at a prompt cancels the line; at an empty line right after a Ctrl-C it ends the run
//   as Ctrl-D does (the outputs are written, the report too);
// - Ctrl-C while a line is carried out (a search cannot be broken off half-way: it runs inside
//   the command's step) ends the run once that line is done;
// - the End key alone on a line is the end button: it types `end`.
#include <fcntl.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

// readline's header needs stdio's FILE declared first.
#include <readline/history.h>
#include <readline/readline.h>

#include "common/atomic_file.h"
#include "tools/stop_signals.h"
#include "tools/terminal_input.h"

namespace twinfind::tool {
namespace {

namespace fs = std::filesystem;

// The lines kept in the history file.
constexpr int kHistoryLines = 1000;

volatile std::sig_atomic_t interrupted = 0;  // Ctrl-C came
volatile std::sig_atomic_t atPrompt = 0;     // the reader waits for a line
volatile std::sig_atomic_t resized = 0;      // the terminal changed its size

void OnInterrupt(int) {
  if (!atPrompt) {
    if (!interrupted) {
      static const char kSaid[] =
          "^C\ntwinfind: interrupted: the run ends once this line is done\n";
      const ssize_t written = write(STDERR_FILENO, kSaid, sizeof kSaid - 1);
      (void)written;
    }
    NoteStopSignal(SIGINT);
  }
  interrupted = 1;
}

void OnResize(int) { resized = 1; }

// Where the typed lines are kept: $XDG_STATE_HOME/twinfind/history, else
// ~/.local/state/twinfind/history; nothing without either.
std::optional<fs::path> HistoryFile() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return fs::path(state) / "twinfind" / "history";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') {
    return fs::path(home) / ".local" / "state" / "twinfind" / "history";
  }
  return std::nullopt;
}

// Whether lines can be appended to the file at `path` (made when missing): a regular file,
// never waited on. False with the reason.
bool CanAppend(const std::string& path, std::string& error) {
  struct stat standing {};
  if (stat(path.c_str(), &standing) == 0 && !S_ISREG(standing.st_mode)) {
    error = path + " is not a regular file";
    return false;
  }
  // O_NONBLOCK: what came to stand there since is refused below rather than waited on. The
  // history may hold what the user typed: for the user alone.
  const int fd =
      open(path.c_str(),
           O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0600);
  if (fd < 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  const bool regular = fstat(fd, &standing) == 0 && S_ISREG(standing.st_mode);
  close(fd);
  if (!regular) error = path + " is not a regular file";
  return regular;
}

// The history file, checked as every file the tool writes is: a name without control
// characters, links followed only where the rule for shared folders allows (a link planted in
// a shared state folder could lead to any file of the user's, which the history would then
// grow and cut), and a regular file or none (a FIFO there would hold the run at its start).
// The path reached; nothing, with a line on stderr, when it cannot be kept.
std::optional<fs::path> OpenHistory() {
  const std::optional<fs::path> file = HistoryFile();
  if (!file) return std::nullopt;
  std::error_code ec;
  fs::create_directories(file->parent_path(), ec);
  std::string followed, error;
  if (FollowLinksForWrite(file->string(), followed, error) && CanAppend(followed, error)) {
    return fs::path(followed);
  }
  std::cerr << "twinfind: the typed lines are not kept: " << error << '\n';
  return std::nullopt;
}

// Cuts the history file to its last kHistoryLines lines, written whole by rename (readline's
// own truncation rewrites the file in place, and a run killed half-way would leave it cut).
void KeepLastLines(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(std::move(line));
  if (!in.eof() || lines.size() <= static_cast<size_t>(kHistoryLines)) return;
  std::string kept;
  for (size_t i = lines.size() - kHistoryLines; i < lines.size(); ++i) kept += lines[i] + '\n';
  std::string error;
  AtomicWriteOptions options;
  options.mode = 0600;
  if (!WriteFileAtomically(file.string(), kept, error, options)) {
    std::cerr << "twinfind: the typed lines were not cut to the last " << kHistoryLines << ": "
              << error << '\n';
  }
}

// The End key on an empty line is the end button; elsewhere it goes to the line's end.
int EndKey(int count, int key) {
  if (rl_end == 0) {
    rl_insert_text("end");
    rl_redisplay();  // the transcript shows the line it gave
    return rl_newline(1, key);
  }
  return rl_end_of_line(count, key);
}

class ReadlineInput final : public TerminalInput {
 public:
  ReadlineInput() {
    // Typed text is UTF-8 (Korean material names): readline must take multibyte characters
    // as characters, whatever locale the environment sets.
    if (const char* locale = std::setlocale(LC_CTYPE, "");
        locale == nullptr || std::strcmp(locale, "C") == 0 || std::strcmp(locale, "POSIX") == 0) {
      std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    rl_readline_name = "twinfind";
    rl_catch_signals = 0;  // Ctrl-C is the tool's (below), not readline's
    rl_catch_sigwinch = 0;
    rl_initialize();
    rl_variable_bind("input-meta", "on");
    rl_variable_bind("output-meta", "on");
    rl_variable_bind("convert-meta", "off");
    // The keys as terminals send them (xterm, its application mode, VT220, rxvt).
    for (const char* end : {"\033[F", "\033OF", "\033[4~", "\033[8~"}) rl_bind_keyseq(end, EndKey);
    for (const char* home : {"\033[H", "\033OH", "\033[1~", "\033[7~"}) {
      rl_bind_keyseq(home, rl_beg_of_line);
    }
    using_history();
    history_ = OpenHistory();
    if (history_) read_history(history_->c_str());
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: the wait for input sees it
    sigaction(SIGINT, &action, &oldInterrupt_);
    action.sa_handler = OnResize;
    sigaction(SIGWINCH, &action, &oldResize_);
  }

  ~ReadlineInput() override {
    Remove();
    sigaction(SIGINT, &oldInterrupt_, nullptr);
    sigaction(SIGWINCH, &oldResize_, nullptr);
    if (history_) KeepLastLines(*history_);
    clear_history();
  }

  std::optional<std::string> ReadLine() override {
    std::cout.flush();
    std::cerr.flush();
    current_ = this;
    if (interrupted) {  // Ctrl-C while the last line was carried out
      Remove();
      return std::nullopt;
    }
    line_.reset();
    done_ = false;
    atPrompt = 1;
    // Installed once and kept while lines are carried out: the terminal stays as readline
    // wants it, so that what is typed meanwhile reaches the next line as typed (Ctrl-D too).
    if (!installed_) {
      rl_callback_handler_install("", OnLine);
      installed_ = true;
    }
    while (!done_) {
      fd_set in;
      FD_ZERO(&in);
      FD_SET(STDIN_FILENO, &in);
      const int ready = select(STDIN_FILENO + 1, &in, nullptr, nullptr, nullptr);
      if (resized) {
        resized = 0;
        rl_resize_terminal();
      }
      if (interrupted) {
        interrupted = 0;
        if (Interrupt()) break;
        continue;
      }
      // The terminal closed (SIGHUP) or a polite kill: the input has ended.
      if (CaughtStopSignal() != 0) break;
      if (ready < 0) {
        if (errno == EINTR) continue;
        break;  // the terminal is gone: the input has ended
      }
      rl_callback_read_char();
    }
    atPrompt = 0;
    if (!line_) Remove();  // the run ends: the terminal as it was
    return line_;
  }

 private:
  void Remove() {
    if (installed_) rl_callback_handler_remove();
    installed_ = false;
  }

  // Ctrl-C at the prompt: the line is cancelled; at an empty line after a Ctrl-C, the run
  // ends. True when it ends.
  bool Interrupt() {
    const bool empty = rl_end == 0;
    rl_free_line_state();
    rl_callback_sigcleanup();
    rl_replace_line("", 0);
    rl_point = rl_end = 0;
    if (armed_ && empty) {
      NoteStopSignal(SIGINT);
      Remove();
      std::fputs("^C\n", rl_outstream ? rl_outstream : stdout);
      std::fflush(rl_outstream ? rl_outstream : stdout);
      return true;
    }
    armed_ = true;
    std::fputs(empty ? "^C (Ctrl-C again, or Ctrl-D, ends the run)\n" : "^C\n",
               rl_outstream ? rl_outstream : stdout);
    rl_on_new_line();
    rl_redisplay();
    return false;
  }

  static void OnLine(char* text) {
    ReadlineInput& self = *current_;
    self.done_ = true;
    if (text == nullptr) {
      // Ctrl-D: readline leaves the cursor after the prompt.
      std::fputs("\n", rl_outstream ? rl_outstream : stdout);
      return;
    }
    self.line_ = std::string(text);
    std::free(text);
    self.armed_ = false;
    self.Remember(*self.line_);
  }

  void Remember(const std::string& line) {
    if (line.find_first_not_of(" \t") == std::string::npos) return;
    const HIST_ENTRY* last =
        history_length > 0 ? history_get(history_base + history_length - 1) : nullptr;
    if (last != nullptr && line == last->line) return;
    add_history(line.c_str());
    if (history_) append_history(1, history_->c_str());
  }

  static inline ReadlineInput* current_ = nullptr;
  std::optional<fs::path> history_;
  std::optional<std::string> line_;
  bool done_ = false;
  bool installed_ = false;  // readline's handler, and its terminal settings
  bool armed_ = false;      // a Ctrl-C cancelled the line, and none was typed since
  struct sigaction oldInterrupt_ {};
  struct sigaction oldResize_ {};
};

}  // namespace

std::unique_ptr<TerminalInput> OpenTerminalInput() {
  if (isatty(STDIN_FILENO) == 0 || isatty(STDOUT_FILENO) == 0) return nullptr;
  return std::make_unique<ReadlineInput>();
}

}  // namespace twinfind::tool
