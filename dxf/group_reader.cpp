#include "dxf/group_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace twinfind::dxf {
namespace {

constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";

// A group code line: an optional sign and up to five digits, spaces around them allowed.
bool ParseCode(std::string_view line, int& code) {
  line = Trimmed(line);
  if (line.empty() || line.size() > 6) return false;
  bool negative = false;
  if (line.front() == '-') {
    negative = true;
    line.remove_prefix(1);
    if (line.empty()) return false;
  }
  int value = 0;
  for (const char c : line) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  code = negative ? -value : value;
  return code >= -5 && code <= 1071;
}

// Shortens a line for an error message, keeping it printable.
std::string Shown(std::string_view line) {
  std::string shown;
  for (const char c : line.substr(0, 40)) {
    shown += (static_cast<unsigned char>(c) < 0x20) ? '?' : c;
  }
  if (line.size() > 40) shown += "...";
  return shown;
}

}  // namespace

std::string_view Trimmed(std::string_view value) {
  const size_t first = value.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = value.find_last_not_of(" \t");
  return value.substr(first, last - first + 1);
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    error = path + " is a directory, not a DXF file";
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = path + " is not a regular file";
    return false;
  }
  if (static_cast<size_t>(info.st_size) > kMaxDxfBytes) {
    error = path + " is too large to read (" + std::to_string(info.st_size) + " bytes)";
    return false;
  }
  const std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  bytes.clear();
  char buffer[1 << 16];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    bytes.append(buffer, n);
    if (bytes.size() > kMaxDxfBytes) {
      error = path + " is too large to read";
      return false;
    }
  }
  if (std::ferror(file.get())) {
    error = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool ParseGroups(std::string bytes, GroupList& out, std::string& error) {
  out.text = std::move(bytes);
  out.groups.clear();
  if (out.text.size() > kMaxDxfBytes) {  // group offsets are 32 bits
    error = "the file is too large to read (" + std::to_string(out.text.size()) + " bytes)";
    return false;
  }
  std::string_view text = out.text;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a UTF-8 byte order mark
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    error = "the file is empty";
    return false;
  }
  if (text.substr(0, kBinarySentinel.size()) == kBinarySentinel) {
    error = "this is a binary DXF file; only text (ASCII) DXF can be read: save it as text DXF";
    return false;
  }
  if (text.find('\0') != std::string_view::npos) {
    const size_t at = text.find('\0');
    const int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
    error = "not a DXF text file: binary data at line " + std::to_string(line);
    return false;
  }

  int lineNumber = 0;
  size_t pos = 0;
  // The next line without its line end; false at the end of the text.
  auto nextLine = [&](std::string_view& line) {
    if (pos >= text.size()) return false;
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = end + 1;
    ++lineNumber;
    return true;
  };

  std::string_view codeLine, valueLine;
  bool ended = false;
  while (nextLine(codeLine)) {
    Group group;
    group.line = lineNumber;
    group.offset = static_cast<uint32_t>(codeLine.data() - out.text.data());
    if (!ParseCode(codeLine, group.code)) {
      if (Trimmed(codeLine).empty() && pos >= text.size()) break;  // a blank last line
      error = (out.groups.empty() ? "not a DXF file: " : "damaged DXF file: ") +
              std::string("line ") + std::to_string(lineNumber) +
              ": expected a group code, found '" + Shown(codeLine) + "'";
      return false;
    }
    if (!nextLine(valueLine)) {
      error = "the file is cut short: group code " + std::to_string(group.code) + " at line " +
              std::to_string(group.line) + " has no value";
      return false;
    }
    group.value = valueLine;
    out.groups.push_back(group);
    if (group.code == 0 && Trimmed(group.value) == "EOF") {
      ended = true;
      break;
    }
  }
  // A file whose last section is closed is whole even without its end marker; anything else
  // stopped in the middle.
  const bool closed = !out.groups.empty() && out.groups.back().code == 0 &&
                      Trimmed(out.groups.back().value) == "ENDSEC";
  if (!ended && !closed) {
    error = "the file is cut short: it ends at line " + std::to_string(lineNumber) +
            " inside a section, before its end marker (0 EOF)";
    return false;
  }
  return true;
}

}  // namespace twinfind::dxf
