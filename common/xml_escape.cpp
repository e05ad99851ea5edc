#include "common/xml_escape.h"

namespace twinfind {

std::string EscapeXml(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      case '\t':
      case '\n':
      case '\r':
        out += c;
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += "\xEF\xBF\xBD";  // U+FFFD
        } else {
          out += c;
        }
    }
  }
  return out;
}

}  // namespace twinfind
