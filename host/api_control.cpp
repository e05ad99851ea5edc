// VexCtl: registration and the step protocol.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "common/utf.h"
#include "host/api_util.h"
#include "host/host.h"

namespace vexhost {
namespace {

// printf-style formatting of a UTF-16 format: %d %i %u %x (int, with an optional l), %f %e
// %g (double), %s (a UTF-16 text), %c (a UTF-16 unit) and %%, with flags, width and precision.
std::u16string FormatText(const char16_t* format, va_list args) {
  std::u16string out;
  if (format == nullptr) return out;
  for (const char16_t* p = format; *p != u'\0'; ++p) {
    if (*p != u'%') {
      out.push_back(*p);
      continue;
    }
    std::string spec = "%";
    ++p;
    while (*p != u'\0' &&
           std::u16string_view(u"-+ #0123456789.").find(*p) != std::u16string_view::npos) {
      spec.push_back(static_cast<char>(*p++));
    }
    bool isLong = false;
    while (*p == u'l' || *p == u'h') {
      isLong = isLong || *p == u'l';
      ++p;
    }
    if (*p == u'\0') break;
    char buffer[512];
    const char conversion = static_cast<char>(*p);
    switch (*p) {
      case u'%':
        out.push_back(u'%');
        continue;
      case u'd':
      case u'i':
      case u'u':
      case u'x':
      case u'X':
        spec += "l";
        spec.push_back(conversion);
        std::snprintf(buffer, sizeof buffer, spec.c_str(),
                      isLong ? va_arg(args, long) : static_cast<long>(va_arg(args, int)));
        break;
      case u'f':
      case u'F':
      case u'e':
      case u'E':
      case u'g':
      case u'G':
        spec.push_back(conversion);
        std::snprintf(buffer, sizeof buffer, spec.c_str(), va_arg(args, double));
        break;
      case u's': {
        const char16_t* text = va_arg(args, const char16_t*);
        out += text == nullptr ? u"" : text;
        continue;
      }
      case u'c':
        out.push_back(static_cast<char16_t>(va_arg(args, int)));
        continue;
      default:
        // An unknown conversion is copied as it stands.
        out += twinfind::ToUtf16(spec);
        out.push_back(*p);
        continue;
    }
    out += twinfind::ToUtf16(buffer);
  }
  return out;
}

}  // namespace
}  // namespace vexhost

using vexhost::TheHost;

extern "C" {

VEXAPI int VexCtlRegisterVexLib2(VexCommandFunc start, VexCommandFunc query, VexCommandFunc end) {
  VEXHOST_FAULT_POINT(return -1);
  return TheHost().driver.Register(start, query, end);
}

VEXAPI int VexCtlSetExecuteFunc(VexExecuteFunc fn, const char16_t* format, ...) {
  VEXHOST_FAULT_POINT(return -1);
  va_list args;
  va_start(args, format);
  std::u16string input = vexhost::FormatText(format, args);
  va_end(args);
  TheHost().driver.SetExecute(fn, std::move(input));
  return 0;
}

VEXAPI int VexCtlSetReadyFunc(VexReadyFunc fn, const char16_t* text) {
  VEXHOST_FAULT_POINT(return -1);
  TheHost().driver.SetReady(fn, vexhost::TextOf(text));
  return 0;
}

}  // extern "C"
