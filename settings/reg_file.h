// The text form of the settings file: the syntax of a Windows registry export (.reg, version
// 5.00) written in UTF-8, so that a user can read and edit it and carry it to Windows.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\SOFTWARE\Norvane\VEX\Twinfind]
//   "mMethod"="0"
//
// Only text values exist. Parsing is strict: a file that is not exactly of this form is
// damaged, so that nothing is ever guessed out of a broken file. Comments, blank lines and
// other sections survive a rewrite; section paths and value names compare ignoring letter case.
#ifndef SETTINGS_REG_FILE_H
#define SETTINGS_REG_FILE_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twinfind {

inline constexpr std::string_view kRegFileHeader = "Windows Registry Editor Version 5.00";

// Larger files are not read; they count as damaged.
inline constexpr size_t kMaxRegFileBytes = size_t{1} << 20;

class RegFile {
 public:
  // The document of a file's bytes; nothing when the bytes are damaged. Empty bytes (or a lone
  // byte-order mark) are an empty document.
  static std::optional<RegFile> Parse(std::string_view bytes);

  // The file's bytes: the header, then every line kept or added, LF line ends unless the parsed
  // file used CRLF.
  std::string Format() const;

  // The text of a value; with duplicates, the last one counts, as on import to the registry.
  std::optional<std::u16string> Find(std::u16string_view sectionPath,
                                     std::u16string_view name) const;

  // Every value line in file order, with the path of the section it stands in; duplicates
  // included.
  struct Value {
    std::u16string sectionPath;
    std::u16string name;
    std::u16string text;
    bool operator==(const Value&) const = default;
  };
  std::vector<Value> Values() const;

  // Changes the value in place (every duplicate) or adds it at the end of its section, adding
  // the section at the end of the file when missing. False, and nothing changed, when one of the
  // texts cannot be written in the file's syntax (see IsRepresentable).
  bool Set(std::u16string_view sectionPath, std::u16string_view name, std::u16string_view text);

  // True when a text can stand in the file: well-formed UTF-16 without NUL, CR or LF.
  static bool IsRepresentable(std::u16string_view text);

 private:
  // Parse of the UTF-8 text after its byte-order mark, or of a UTF-16 file's text made UTF-8.
  static std::optional<RegFile> ParseUtf8(std::string_view bytes);

  enum class LineKind { kBlank, kComment, kSection, kValue };
  struct Line {
    LineKind kind;
    std::string first;   // comment: the whole line; section: its path; value: its name
    std::string second;  // value: its text
  };

  std::vector<Line> lines_;  // everything after the header line
  bool crlf_ = false;
};

// The section that holds the values of a key path under HKEY_CURRENT_USER.
std::u16string CurrentUserSectionPath(std::u16string_view keyPath);

}  // namespace twinfind

#endif  // SETTINGS_REG_FILE_H
