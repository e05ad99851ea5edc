// Small helpers shared by the files that implement the C calls.
#ifndef HOST_API_UTIL_H
#define HOST_API_UTIL_H

#include <string>

#include "host/host.h"

// The first line of every host call: the call fails (returns `statement`'s value) when the
// fault switch says so. Without a switch watching, this costs one test of a flag.
#define VEXHOST_FAULT_POINT(statement)                                                       \
  do {                                                                                       \
    if (::vexhost::TheHost().faults.Fails(__func__, __builtin_return_address(0))) statement; \
  } while (false)

namespace vexhost {

// A text handed in by the plug-in; a null pointer reads as the empty text.
inline std::u16string TextOf(const char16_t* text) {
  return text == nullptr ? std::u16string() : std::u16string(text);
}

}  // namespace vexhost

#endif  // HOST_API_UTIL_H
