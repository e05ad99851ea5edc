// Text for XML documents (the SVG pictures of drawings and dialogs).
#ifndef COMMON_XML_ESCAPE_H
#define COMMON_XML_ESCAPE_H

#include <string>
#include <string_view>

namespace twinfind {

// UTF-8 text with the five characters XML reserves escaped (& < > " '), so that it can stand in
// element content and in attribute values; control characters that XML cannot hold (below
// U+0020 except tab, line feed and carriage return) become U+FFFD.
std::string EscapeXml(std::string_view utf8);

}  // namespace twinfind

#endif  // COMMON_XML_ESCAPE_H
