#include "iconv.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Conversion {
  UINT from;
  UINT to;
};

// The code page of a name; 0 when it is none the system has.
UINT CodePageOf(const char* name) {
  if (_stricmp(name, "UTF-8") == 0 || _stricmp(name, "UTF8") == 0) return CP_UTF8;
  if (_strnicmp(name, "CP", 2) != 0) return 0;
  char* end = nullptr;
  const unsigned long page = std::strtoul(name + 2, &end, 10);
  if (end == name + 2 || *end != '\0' || page == 0 || page > 65535) return 0;
  return IsValidCodePage(static_cast<UINT>(page)) ? static_cast<UINT>(page) : 0;
}

// The length of the character that starts at `text` in the code page (1 to 4 bytes).
size_t CharacterLength(UINT page, const unsigned char* text, size_t left) {
  if (page == CP_UTF8) {
    const unsigned char c = text[0];
    const size_t length = c < 0x80           ? 1
                          : (c >> 5) == 0x6  ? 2
                          : (c >> 4) == 0xE  ? 3
                          : (c >> 3) == 0x1E ? 4
                                             : 1;
    return length <= left ? length : left;
  }
  return IsDBCSLeadByteEx(page, text[0]) && left >= 2 ? 2 : 1;
}

}  // namespace

extern "C" iconv_t iconv_open(const char* toCode, const char* fromCode) {
  const UINT from = CodePageOf(fromCode);
  const UINT to = CodePageOf(toCode);
  if (from == 0 || to == 0) {
    errno = EINVAL;
    return reinterpret_cast<iconv_t>(-1);
  }
  return new Conversion{from, to};
}

extern "C" int iconv_close(iconv_t cd) {
  delete static_cast<Conversion*>(cd);
  return 0;
}

extern "C" size_t iconv(iconv_t cd, char** in, size_t* inLeft, char** out, size_t* outLeft) {
  if (in == nullptr || *in == nullptr) return 0;  // no shift state to flush
  const auto* conversion = static_cast<const Conversion*>(cd);
  const BOOL strictTarget = conversion->to != CP_UTF8;
  // One character at a time, so that the input stops exactly before a bad one.
  while (*inLeft > 0) {
    const auto* text = reinterpret_cast<const unsigned char*>(*in);
    const size_t length = CharacterLength(conversion->from, text, *inLeft);
    wchar_t wide[4];
    const int units = MultiByteToWideChar(conversion->from, MB_ERR_INVALID_CHARS, *in,
                                          static_cast<int>(length), wide, 4);
    if (units <= 0) {
      errno = EILSEQ;
      return static_cast<size_t>(-1);
    }
    char bytes[16];
    BOOL unrepresentable = FALSE;
    const int written = WideCharToMultiByte(conversion->to, strictTarget ? WC_NO_BEST_FIT_CHARS : 0,
                                            wide, units, bytes, sizeof bytes, nullptr,
                                            strictTarget ? &unrepresentable : nullptr);
    if (written <= 0 || unrepresentable) {
      errno = EILSEQ;
      return static_cast<size_t>(-1);
    }
    if (static_cast<size_t>(written) > *outLeft) {
      errno = E2BIG;
      return static_cast<size_t>(-1);
    }
    std::memcpy(*out, bytes, static_cast<size_t>(written));
    *out += written;
    *outLeft -= static_cast<size_t>(written);
    *in += length;
    *inLeft -= length;
  }
  return 0;
}
