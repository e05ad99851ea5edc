// libFuzzer target: any bytes given to the settings file parser. Besides not crashing, whatever
// parses must format to a file that parses back to the same values, each value must be what
// Find gives for its names, the same text in UTF-16 must read the same, and Set must change
// exactly what Find then reports, through a rewrite too. The texts Set is given are cut from
// the input's own lines, so that one input tests both the reading and the writing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/utf.h"
#include "settings/reg_file.h"

namespace {

using twinfind::RegFile;

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "reg_file_fuzzer: %s\n", what);
  std::abort();
}

// Names compare as the registry compares them: ASCII letters ignoring case.
bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Flips the case of every ASCII letter, for looking a value up by other-cased names.
std::u16string OtherCase(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') {
      c = c - u'A' + u'a';
    } else if (c >= u'a' && c <= u'z') {
      c = c - u'a' + u'A';
    }
  }
  return text;
}

// What Find must give: the text of the last value of that section and name.
std::optional<std::u16string> Expected(const std::vector<RegFile::Value>& values,
                                       std::u16string_view section, std::u16string_view name) {
  std::optional<std::u16string> found;
  for (const auto& v : values) {
    if (SameName(v.sectionPath, section) && SameName(v.name, name)) found = v.text;
  }
  return found;
}

void CheckFind(const RegFile& file) {
  const auto values = file.Values();
  for (const auto& v : values) {
    const auto expected = Expected(values, v.sectionPath, v.name);
    Check(file.Find(v.sectionPath, v.name) == expected, "Find is not the last value of its names");
    Check(file.Find(OtherCase(v.sectionPath), OtherCase(v.name)) == expected,
          "Find by other-cased names differs");
  }
}

// Format, then parse again: the same values and the same bytes, while the file is within the
// size the parser reads.
void CheckRewrite(const RegFile& file) {
  const std::string bytes = file.Format();
  Check(bytes.starts_with(twinfind::kRegFileHeader), "Format does not begin with the header");
  if (bytes.size() > twinfind::kMaxRegFileBytes) return;
  const auto again = RegFile::Parse(bytes);
  Check(again.has_value(), "a formatted file does not parse");
  Check(again->Values() == file.Values(), "a formatted file parses to other values");
  Check(again->Format() == bytes, "a formatted file formats otherwise");
}

std::string Utf16LittleEndianWithMark(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// The input's lines as texts for Set (invalid UTF-8 becomes U+FFFD; CR and NUL stay, which
// Set must refuse).
std::vector<std::u16string> Pieces(std::string_view bytes) {
  std::vector<std::u16string> pieces;
  for (size_t start = 0; start <= bytes.size() && pieces.size() < 9;) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    pieces.push_back(twinfind::ToUtf16(bytes.substr(start, end - start)));
    start = end + 1;
  }
  return pieces;
}

void CheckSet(RegFile& file, std::u16string_view section, std::u16string_view name,
              std::u16string_view text) {
  const auto before = file.Values();
  const std::string formatted = file.Format();
  const bool writable = !section.empty() && RegFile::IsRepresentable(section) &&
                        RegFile::IsRepresentable(name) && RegFile::IsRepresentable(text);
  Check(file.Set(section, name, text) == writable, "Set refused a writable text or took another");
  if (!writable) {
    Check(file.Format() == formatted, "a refused Set changed the file");
    return;
  }
  Check(file.Find(section, name) == std::u16string(text), "Find does not give what Set wrote");
  Check(file.Find(OtherCase(std::u16string(section)), OtherCase(std::u16string(name))) ==
            std::u16string(text),
        "Find by other-cased names does not give what Set wrote");
  // Every other value is as it was; the set one was changed in place (every duplicate) or
  // added once, in a section of its path.
  auto expected = before;
  for (auto& v : expected) {
    if (SameName(v.sectionPath, section) && SameName(v.name, name)) v.text = text;
  }
  auto after = file.Values();
  if (Expected(before, section, name)) {
    Check(after == expected, "Set changed another value, or not every duplicate");
  } else {
    Check(after.size() == expected.size() + 1, "Set of a new value did not add one");
    size_t k = 0;
    while (k < expected.size() && after[k] == expected[k]) ++k;
    Check(SameName(after[k].sectionPath, section) && after[k].name == name && after[k].text == text,
          "Set added a value of other names");
    after.erase(after.begin() + static_cast<std::ptrdiff_t>(k));
    Check(after == expected, "Set of a new value changed another");
  }
  CheckRewrite(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto file = RegFile::Parse(bytes);

  // The same text in UTF-16, as the Windows registry editor writes it, reads the same.
  std::string_view text = bytes;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  if (!bytes.starts_with("\xFF\xFE")) {
    if (const auto units = twinfind::ToUtf16Strict(text)) {
      const std::string wide = Utf16LittleEndianWithMark(*units);
      if (wide.size() <= twinfind::kMaxRegFileBytes) {
        const auto read = RegFile::Parse(wide);
        Check(read.has_value() == file.has_value(),
              "UTF-16 and UTF-8 of one text parse differently");
        if (file) Check(read->Values() == file->Values(), "UTF-16 and UTF-8 of one text differ");
      }
    }
  }

  if (file) {
    CheckFind(*file);
    CheckRewrite(*file);
  } else {
    file = RegFile::Parse("");
    Check(file.has_value() && file->Values().empty(), "empty bytes are not an empty file");
  }

  // Set what the input's lines name: new values, and a change of the file's own values.
  const auto pieces = Pieces(bytes);
  for (size_t i = 0; i + 2 < pieces.size(); i += 3) {
    CheckSet(*file, pieces[i], pieces[i + 1], pieces[i + 2]);
  }
  const auto values = file->Values();
  if (!values.empty()) {
    const auto& chosen = values[size % values.size()];
    CheckSet(*file, OtherCase(chosen.sectionPath), chosen.name, pieces.back());
  }
  return 0;
}
