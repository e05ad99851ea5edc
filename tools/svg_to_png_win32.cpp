// Turning an SVG picture into a PNG on Windows: rsvg-convert.exe, found on the PATH, writes the
// picture to a pipe, and the tool writes it whole.
#include <windows.h>

#include <string>

#include "common/atomic_file.h"
#include "common/utf.h"
#include "tools/svg_to_png.h"

namespace twinfind::tool {
namespace {

std::wstring Wide(const std::string& utf8) {
  const std::u16string text = ToUtf16(utf8);
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

// One argument as the C runtime's command-line parser reads it back: in quotes, with
// backslashes before a quote doubled.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, L'\\');
  return quoted + L"\"";
}

}  // namespace

bool ConvertSvgToPng(const std::string& svg, const std::string& png, std::string& error) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
    error = "cannot run rsvg-convert: no pipe";
    return false;
  }
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);  // only the child's end is inherited
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::wstring commandLine = L"rsvg-convert.exe --format=png " + Quoted(Wide(svg));
  PROCESS_INFORMATION child{};
  const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &child);
  const DWORD startError = GetLastError();
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    error = startError == ERROR_FILE_NOT_FOUND
                ? "rsvg-convert is not installed (rsvg-convert.exe on the PATH)"
                : "cannot run rsvg-convert: error " + std::to_string(startError);
    return false;
  }
  std::string bytes;
  char buffer[65536];
  DWORD n = 0;
  while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
  CloseHandle(readEnd);
  WaitForSingleObject(child.hProcess, INFINITE);
  DWORD status = 1;
  GetExitCodeProcess(child.hProcess, &status);
  CloseHandle(child.hProcess);
  CloseHandle(child.hThread);
  if (status != 0 || bytes.empty()) {
    error = "rsvg-convert could not convert " + svg;
    return false;
  }
  return WriteFileAtomically(png, bytes, error);
}

}  // namespace twinfind::tool
