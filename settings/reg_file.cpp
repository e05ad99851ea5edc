#include "settings/reg_file.h"

#include "common/utf.h"
#include "settings/ascii_case.h"

namespace twinfind {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16ByteOrderMark = "\xFF\xFE";

std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameName(std::string_view a, std::string_view b) { return EqualsIgnoringAsciiCase(a, b); }

// Reads a quoted string starting at line[i] == '"'; only \\ and \" are escapes. On success i is
// just past the closing quote.
bool ParseQuoted(std::string_view line, size_t& i, std::string& out) {
  for (++i; i < line.size();) {
    const char c = line[i++];
    if (c == '"') return true;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (i == line.size() || (line[i] != '\\' && line[i] != '"')) return false;
    out += line[i++];
  }
  return false;  // no closing quote
}

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

// True when UTF-16 units pair every surrogate.
bool IsWellFormedUtf16(std::u16string_view units) {
  for (size_t i = 0; i < units.size(); ++i) {
    if (units[i] >= 0xD800 && units[i] <= 0xDBFF) {
      if (i + 1 == units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF) return false;
      ++i;
    } else if (units[i] >= 0xDC00 && units[i] <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<RegFile> RegFile::Parse(std::string_view bytes) {
  // The limit is on the file's own bytes; the UTF-8 text of a UTF-16 file may be longer.
  if (bytes.size() > kMaxRegFileBytes) return std::nullopt;
  // What the Windows registry editor writes: UTF-16 (little-endian) after its byte-order mark.
  if (bytes.starts_with(kUtf16ByteOrderMark)) {
    bytes.remove_prefix(kUtf16ByteOrderMark.size());
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
      units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    // An unpaired surrogate: the file is not sound text.
    if (!IsWellFormedUtf16(units)) return std::nullopt;
    return ParseUtf8(ToUtf8(units));
  }
  // One byte-order mark, of either kind, goes before the text; a second one is text.
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  return ParseUtf8(bytes);
}

std::optional<RegFile> RegFile::ParseUtf8(std::string_view bytes) {
  RegFile file;
  if (bytes.empty()) return file;
  // Binary data: NUL bytes or anything that is not well-formed UTF-8.
  if (bytes.find('\0') != std::string_view::npos || !ToUtf16Strict(bytes)) return std::nullopt;

  bool headerSeen = false;
  bool inSection = false;
  for (size_t start = 0; start < bytes.size();) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    start = end + 1;
    const bool crlf = line.ends_with('\r');
    if (crlf) line.remove_suffix(1);
    if (line.find('\r') != std::string_view::npos) return std::nullopt;

    const std::string_view content = TrimBlanks(line);
    if (!headerSeen) {
      if (content != kRegFileHeader) return std::nullopt;
      headerSeen = true;
      file.crlf_ = crlf;
    } else if (content.empty()) {
      file.lines_.push_back({LineKind::kBlank, {}, {}});
    } else if (content.front() == ';') {
      file.lines_.push_back({LineKind::kComment, std::string(content), {}});
    } else if (content.front() == '[') {
      if (content.size() < 3 || content.back() != ']') return std::nullopt;
      file.lines_.push_back(
          {LineKind::kSection, std::string(content.substr(1, content.size() - 2)), {}});
      inSection = true;
    } else if (content.front() == '"' && inSection) {
      Line value{LineKind::kValue, {}, {}};
      size_t i = 0;
      if (!ParseQuoted(content, i, value.first) || i + 1 >= content.size() || content[i] != '=' ||
          content[i + 1] != '"') {
        return std::nullopt;
      }
      i += 1;
      if (!ParseQuoted(content, i, value.second) || i != content.size()) return std::nullopt;
      file.lines_.push_back(std::move(value));
    } else {
      return std::nullopt;  // a value outside any section, or a line of no known form
    }
  }
  return file;
}

std::string RegFile::Format() const {
  const std::string_view eol = crlf_ ? "\r\n" : "\n";
  std::string out(kRegFileHeader);
  out += eol;
  for (const Line& line : lines_) {
    switch (line.kind) {
      case LineKind::kBlank:
        break;
      case LineKind::kComment:
        out += line.first;
        break;
      case LineKind::kSection:
        out += '[' + line.first + ']';
        break;
      case LineKind::kValue:
        out += Quote(line.first) + '=' + Quote(line.second);
        break;
    }
    out += eol;
  }
  return out;
}

std::optional<std::u16string> RegFile::Find(std::u16string_view sectionPath,
                                            std::u16string_view name) const {
  if (!IsRepresentable(sectionPath) || !IsRepresentable(name)) return std::nullopt;
  const std::string section = ToUtf8(sectionPath);
  const std::string key = ToUtf8(name);
  std::optional<std::u16string> found;
  bool inMatchingSection = false;
  for (const Line& line : lines_) {
    if (line.kind == LineKind::kSection) {
      inMatchingSection = SameName(line.first, section);
    } else if (line.kind == LineKind::kValue && inMatchingSection && SameName(line.first, key)) {
      found = ToUtf16(line.second);
    }
  }
  return found;
}

std::vector<RegFile::Value> RegFile::Values() const {
  std::vector<Value> values;
  std::u16string section;
  for (const Line& line : lines_) {
    if (line.kind == LineKind::kSection) {
      section = ToUtf16(line.first);
    } else if (line.kind == LineKind::kValue) {
      values.push_back({section, ToUtf16(line.first), ToUtf16(line.second)});
    }
  }
  return values;
}

bool RegFile::Set(std::u16string_view sectionPath, std::u16string_view name,
                  std::u16string_view text) {
  if (sectionPath.empty() || !IsRepresentable(sectionPath) || !IsRepresentable(name) ||
      !IsRepresentable(text)) {
    return false;
  }
  const std::string section = ToUtf8(sectionPath);
  const std::string key = ToUtf8(name);
  const std::string value = ToUtf8(text);

  bool changed = false;
  bool inMatchingSection = false;
  std::optional<size_t> endOfSection;  // just past the last section or value line of a match
  for (size_t i = 0; i < lines_.size(); ++i) {
    Line& line = lines_[i];
    if (line.kind == LineKind::kSection) {
      inMatchingSection = SameName(line.first, section);
      if (inMatchingSection) endOfSection = i + 1;
    } else if (line.kind == LineKind::kValue && inMatchingSection) {
      endOfSection = i + 1;
      if (SameName(line.first, key)) {
        line.second = value;
        changed = true;
      }
    }
  }
  if (changed) return true;
  if (endOfSection) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*endOfSection),
                  Line{LineKind::kValue, key, value});
    return true;
  }
  if (lines_.empty() || lines_.back().kind != LineKind::kBlank) {
    lines_.push_back({LineKind::kBlank, {}, {}});
  }
  lines_.push_back({LineKind::kSection, section, {}});
  lines_.push_back({LineKind::kValue, key, value});
  return true;
}

bool RegFile::IsRepresentable(std::u16string_view text) {
  return text.find_first_of(std::u16string_view(u"\0\r\n", 3)) == std::u16string_view::npos &&
         IsWellFormedUtf16(text);
}

std::u16string CurrentUserSectionPath(std::u16string_view keyPath) {
  std::u16string path = u"HKEY_CURRENT_USER";
  if (!keyPath.empty()) {
    path += u'\\';
    path += keyPath;
  }
  return path;
}

}  // namespace twinfind
