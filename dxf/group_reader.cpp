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
  // The file's size as it stands, so that the text is held once rather than grown by doubling;
  // a file that grows while it is read is still read to its end.
  bytes.reserve(static_cast<size_t>(info.st_size) + 1);
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

bool CheckDxfText(std::string_view text, std::string& error) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a UTF-8 byte order mark
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    error = "the file is empty";
    return false;
  }
  if (text.substr(0, kBinarySentinel.size()) == kBinarySentinel) {
    error = "this is a binary DXF file; only text (ASCII) DXF can be read: save it as text DXF";
    return false;
  }
  if (const void* nul = std::memchr(text.data(), '\0', text.size())) {
    const char* at = static_cast<const char*>(nul);
    const int line = 1 + static_cast<int>(std::count(text.data(), at, '\n'));
    error = "not a DXF text file: binary data at line " + std::to_string(line);
    return false;
  }
  return true;
}

GroupStream::GroupStream(std::string_view text) : all_(text) {
  if (all_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
}

bool GroupStream::NextLine(std::string_view& line) {
  if (pos_ >= all_.size()) return false;
  const void* found = std::memchr(all_.data() + pos_, '\n', all_.size() - pos_);
  const size_t end =
      found ? static_cast<size_t>(static_cast<const char*>(found) - all_.data()) : all_.size();
  line = all_.substr(pos_, end - pos_);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  pos_ = end + 1;
  ++lineNumber_;
  return true;
}

bool GroupStream::Next(Group& group) {
  if (done_) return false;
  std::string_view codeLine, valueLine;
  if (!NextLine(codeLine)) {
    done_ = true;
    return false;
  }
  group.line = lineNumber_;
  group.offset = static_cast<uint32_t>(codeLine.data() - all_.data());
  if (!ParseCode(codeLine, group.code)) {
    done_ = true;
    if (Trimmed(codeLine).empty() && pos_ >= all_.size()) return false;  // a blank last line
    error_ = (any_ ? "damaged DXF file: " : "not a DXF file: ") + std::string("line ") +
             std::to_string(lineNumber_) + ": expected a group code, found '" + Shown(codeLine) +
             "'";
    return false;
  }
  if (!NextLine(valueLine)) {
    done_ = true;
    error_ = "the file is cut short: group code " + std::to_string(group.code) + " at line " +
             std::to_string(group.line) + " has no value";
    return false;
  }
  group.value = valueLine;
  any_ = true;
  if (group.code == 0 && Trimmed(group.value) == "EOF") {
    sawEnd_ = true;
    done_ = true;
  }
  return true;
}

bool IsSectionEnd(const Group& group) {
  return group.code == 0 && Trimmed(group.value) == "ENDSEC";
}

bool ParseGroups(std::string bytes, GroupList& out, std::string& error) {
  out.text = std::move(bytes);
  out.groups.clear();
  if (out.text.size() > kMaxDxfBytes) {  // group offsets are 32 bits
    error = "the file is too large to read (" + std::to_string(out.text.size()) + " bytes)";
    return false;
  }
  if (!CheckDxfText(out.text, error)) return false;
  GroupStream stream(out.text);
  Group group;
  while (stream.Next(group)) out.groups.push_back(group);
  if (!stream.error().empty()) {
    error = stream.error();
    return false;
  }
  // A file whose last section is closed is whole even without its end marker; anything else
  // stopped in the middle.
  if (!stream.sawEndMarker() && (out.groups.empty() || !IsSectionEnd(out.groups.back()))) {
    error = "the file is cut short: it ends at line " + std::to_string(stream.lineNumber()) +
            " inside a section, before its end marker (0 EOF)";
    return false;
  }
  return true;
}

}  // namespace twinfind::dxf
