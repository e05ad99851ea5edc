#include "dxf/text_codec.h"

#include <iconv.h>

#include <cctype>
#include <cstdio>

#include "common/utf.h"

namespace twinfind::dxf {
namespace {

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Resolves \U+XXXX escapes (exactly four hex digits).
std::u16string ResolveUnicodeEscapes(std::u16string text) {
  if (text.find(u"\\U+") == std::u16string::npos && text.find(u"\\u+") == std::u16string::npos) {
    return text;
  }
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\' && i + 6 < text.size() && (text[i + 1] == u'U' || text[i + 1] == u'u') &&
        text[i + 2] == u'+') {
      int value = 0;
      bool ok = true;
      for (size_t k = 3; k < 7; ++k) {
        const int d = HexDigit(text[i + k]);
        ok = ok && d >= 0;
        value = value * 16 + (d < 0 ? 0 : d);
      }
      if (ok) {
        out += static_cast<char16_t>(value);
        i += 6;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

// Converts code-page bytes to UTF-16 with iconv; Latin-1 when the code page is unknown.
std::u16string FromCodePage(std::string_view raw, const std::string& codePage) {
  iconv_t cd = iconv_open("UTF-8", codePage.c_str());
  if (cd != reinterpret_cast<iconv_t>(-1)) {
    std::string out(raw.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(raw.data());
    size_t inLeft = raw.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
      if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
      if (outLeft < 4) break;
      // A byte the code page does not define: keep going with a replacement character.
      *outPtr++ = '?';
      --outLeft;
      ++in;
      --inLeft;
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return ToUtf16(out);
  }
  std::u16string latin;
  for (const char c : raw) latin += static_cast<char16_t>(static_cast<unsigned char>(c));
  return latin;
}

// Skips a formatting switch up to and including its ';'; returns the index after it.
size_t SkipToSemicolon(std::u16string_view text, size_t i) {
  const size_t end = text.find(u';', i);
  return end == std::u16string_view::npos ? text.size() : end + 1;
}

}  // namespace

TextEncoding EncodingOf(std::string_view acadVersion, std::string_view dwgCodePage) {
  TextEncoding encoding;
  // AC1021 (AutoCAD 2007) and later versions store UTF-8.
  if (acadVersion.size() == 6 && acadVersion.substr(0, 2) == "AC" && acadVersion >= "AC1021") {
    encoding.utf8 = true;
  }
  std::string page;
  for (const char c : dwgCodePage)
    page += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const std::string_view prefix : {"ANSI_", "DOS"}) {
    if (page.rfind(prefix, 0) == 0 && page.size() > prefix.size()) {
      encoding.codePage = "CP" + page.substr(prefix.size());
    }
  }
  return encoding;
}

std::u16string DecodeValue(std::string_view raw, const TextEncoding& encoding) {
  bool ascii = true;
  for (const char c : raw) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  std::u16string text;
  if (ascii) {
    text.assign(raw.begin(), raw.end());
  } else if (encoding.utf8) {
    text = ToUtf16(raw);
  } else if (auto utf16 = encoding.codePage == "CP1252" ? ToUtf16Strict(raw) : std::nullopt) {
    text = std::move(*utf16);  // UTF-8 in a file that names no code page of its own
  } else {
    text = FromCodePage(raw, encoding.codePage);
  }
  text = ResolveUnicodeEscapes(std::move(text));
  // Control characters draw nothing, and a NUL would end the text where the host copies it.
  std::erase_if(text, [](char16_t c) { return c < 0x20 || c == 0x7F; });
  return text;
}

std::optional<std::string> EncodeInCodePage(std::u16string_view text, const std::string& codePage) {
  const std::string utf8 = ToUtf8(text);
  iconv_t cd = iconv_open(codePage.c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(utf8.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  const bool ok = iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
                  iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<size_t>(-1);
  iconv_close(cd);
  if (!ok || ToUtf16(utf8) != text) return std::nullopt;  // unpaired surrogates do not encode
  out.resize(out.size() - outLeft);
  return out;
}

std::u16string PlainText(std::u16string_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'%' || i + 2 >= text.size() || text[i + 1] != u'%') {
      out += text[i];
      continue;
    }
    const char16_t c = text[i + 2];
    switch (c) {
      case u'c':
      case u'C':
        out += u'\u2300';  // diameter
        break;
      case u'd':
      case u'D':
        out += u'\u00B0';  // degree
        break;
      case u'p':
      case u'P':
        out += u'\u00B1';  // plus-minus
        break;
      case u'%':
        out += u'%';
        break;
      case u'u':
      case u'U':
      case u'o':
      case u'O':
      case u'k':
      case u'K':
        break;  // underline, overline, strike-through switches
      default:
        if (c >= u'0' && c <= u'9') {
          size_t k = i + 2;
          int code = 0;
          while (k < text.size() && k < i + 5 && text[k] >= u'0' && text[k] <= u'9') {
            code = code * 10 + (text[k] - u'0');
            ++k;
          }
          if (code >= 0x20) out += static_cast<char16_t>(code);  // no control characters
          i = k - 1;
          continue;
        }
        out += u"%%";
        out += c;
        break;
    }
    i += 2;
  }
  return out;
}

std::vector<std::u16string> PlainMTextLines(std::u16string_view text) {
  std::vector<std::u16string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'{' || c == u'}') continue;
    if (c == u'^' && i + 1 < text.size()) {
      const char16_t n = text[++i];
      if (n == u'J') {
        lines.emplace_back();
      } else {
        lines.back() += (n == u'I') ? u' ' : (n == u' ' ? u'^' : n);
      }
      continue;
    }
    if (c != u'\\' || i + 1 >= text.size()) {
      lines.back() += c;
      continue;
    }
    const char16_t s = text[++i];
    switch (s) {
      case u'P':
      case u'N':
      case u'X':
        lines.emplace_back();
        break;
      case u'~':
        lines.back() += u' ';
        break;
      case u'\\':
      case u'{':
      case u'}':
        lines.back() += s;
        break;
      case u'S': {  // stacked text "a^b", "a/b" or "a#b" up to ';'
        const size_t semicolon = text.find(u';', i + 1);
        const size_t end = semicolon == std::u16string_view::npos ? text.size() : semicolon;
        std::u16string stacked(text.substr(i + 1, end - (i + 1)));
        for (char16_t& k : stacked) {
          if (k == u'^' || k == u'#') k = u'/';
        }
        lines.back() += stacked;
        i = end;
        break;
      }
      case u'L':
      case u'l':
      case u'O':
      case u'o':
      case u'K':
      case u'k':
        break;  // underline, overline, strike-through switches
      default:
        if (std::u16string_view(u"ACcFfHhQqTtWwp").find(s) != std::u16string_view::npos) {
          i = SkipToSemicolon(text, i + 1) - 1;  // \A1; \C3; \fArial|b0; \H2.5x; ...
        } else {
          lines.back() += u'\\';
          lines.back() += s;
        }
        break;
    }
  }
  for (std::u16string& line : lines) line = PlainText(line);
  return lines;
}

bool IsBlank(std::u16string_view text) {
  for (const char16_t c : text) {
    if (c != u' ' && c != u'\t' && c != u'\u3000' && c != u'\u00A0') return false;
  }
  return true;
}

std::string EncodeValue(std::u16string_view text, bool escapePercent) {
  const bool percent = escapePercent && text.find(u"%%") != std::u16string_view::npos;
  std::string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      if (c == u'%' && percent) {
        out += "%%%";
      } else {
        out += static_cast<char>(c);
      }
      continue;
    }
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\U+%04X", static_cast<unsigned>(c));
    out += escape;
  }
  return out;
}

}  // namespace twinfind::dxf
