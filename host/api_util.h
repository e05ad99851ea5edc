// Small helpers shared by the files that implement the C calls.
#ifndef HOST_API_UTIL_H
#define HOST_API_UTIL_H

#include <string>

namespace vexhost {

// A text handed in by the plug-in; a null pointer reads as the empty text.
inline std::u16string TextOf(const char16_t* text) {
  return text == nullptr ? std::u16string() : std::u16string(text);
}

}  // namespace vexhost

#endif  // HOST_API_UTIL_H
