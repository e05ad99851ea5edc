// The standard streams on Windows. Output and input are binary, so that a transcript or a
// script carries exactly the bytes it has on other systems (no CR added before each line
// feed, no end at a Ctrl-Z); a console shows UTF-8 output and, when the user types at it, its
// UTF-16 input is read as such and handed on as UTF-8. The arguments are taken from the wide
// command line, as UTF-8.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "common/utf.h"
#include "tools/console.h"

namespace twinfind::tool {
namespace {

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

// Lines typed at the console, read as UTF-16 and given out as UTF-8.
class ConsoleInput final : public std::streambuf {
 public:
  explicit ConsoleInput(HANDLE console) : console_(console) {}

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    wchar_t wide[1024];
    DWORD read = 0;
    if (!ReadConsoleW(console_, wide, static_cast<DWORD>(std::size(wide)), &read, nullptr) ||
        read == 0) {
      return traits_type::eof();
    }
    std::u16string text(reinterpret_cast<const char16_t*>(wide), read);
    // The console ends a line with CR LF; Ctrl-Z at the start of a line ends the input.
    if (!text.empty() && text.front() == u'\x1A') return traits_type::eof();
    std::u16string lines;
    for (const char16_t c : text) {
      if (c != u'\r') lines.push_back(c);
    }
    buffer_ = ToUtf8(lines);
    if (buffer_.empty()) return underflow();
    setg(buffer_.data(), buffer_.data(), buffer_.data() + buffer_.size());
    return traits_type::to_int_type(*gptr());
  }

 private:
  HANDLE console_;
  std::string buffer_;
};

}  // namespace

bool StandardErrorIsTerminal() { return IsConsole(GetStdHandle(STD_ERROR_HANDLE)); }

void SetUpStandardStreams(int& argc, char**& argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
  if (IsConsole(GetStdHandle(STD_OUTPUT_HANDLE)) || IsConsole(GetStdHandle(STD_ERROR_HANDLE))) {
    SetConsoleOutputCP(CP_UTF8);
  }
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (IsConsole(input)) {
    static ConsoleInput console(input);
    std::cin.rdbuf(&console);
  }

  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return;
  static std::vector<std::string> arguments;
  static std::vector<char*> pointers;
  for (int i = 0; i < count; ++i) {
    arguments.push_back(ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide[i]))));
  }
  LocalFree(wide);
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  argc = count;
  argv = pointers.data();
}

}  // namespace twinfind::tool
