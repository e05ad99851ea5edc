// Texts in DXF files: the character set a file uses, the escapes and formatting codes inside
// TEXT and MTEXT values, and the escaped form our exporter writes.
#ifndef DXF_TEXT_CODEC_H
#define DXF_TEXT_CODEC_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twinfind::dxf {

// How a file's strings are stored: UTF-8 (files of AutoCAD 2007 and later), or a Windows code
// page named by $DWGCODEPAGE (older files; ANSI_1252 when none is named).
struct TextEncoding {
  bool utf8 = false;
  std::string codePage = "CP1252";  // an iconv name
};

// The encoding of a file with the given $ACADVER and $DWGCODEPAGE header values.
TextEncoding EncodingOf(std::string_view acadVersion, std::string_view dwgCodePage);

// A string value of the file as UTF-16, its \U+XXXX escapes resolved and control characters
// removed. Older files
// are read in their code page, except that well-formed UTF-8 in a file of the default code page
// (1252) is taken as UTF-8: some writers put UTF-8 into old files.
std::u16string DecodeValue(std::string_view raw, const TextEncoding& encoding);

// The text a TEXT entity shows: %%c, %%d, %%p become their symbols, %%nnn a character code,
// %%% a percent sign; the underline and overline switches (%%u, %%o, %%k) are dropped.
std::u16string PlainText(std::u16string_view text);

// The lines an MTEXT entity shows, its formatting codes removed: \P and \N start a new line,
// font, height, colour and other switches go, stacked fractions become "a/b".
std::vector<std::u16string> PlainMTextLines(std::u16string_view text);

// True when the text shows nothing (only spaces).
bool IsBlank(std::u16string_view text);

// The text in a Windows code page (an iconv name such as CP949); nothing when a character
// has no place in it.
std::optional<std::string> EncodeInCodePage(std::u16string_view text, const std::string& codePage);

// A text as our exporter writes it: ASCII, every other character and every control character
// as \U+XXXX (a surrogate pair as two escapes); when the text holds "%%", each % is written as
// %%% so that a reader does not take it for a special code.
std::string EncodeValue(std::u16string_view text, bool escapePercent = true);

}  // namespace twinfind::dxf

#endif  // DXF_TEXT_CODEC_H
