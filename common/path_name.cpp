#include "common/path_name.h"

#include <cstdio>

namespace twinfind {

bool PathNameAllowed(std::string_view path, std::string& error) {
  bool clean = true;
  std::string shown;
  for (const char c : path) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      clean = false;
      char spelled[8];
      std::snprintf(spelled, sizeof spelled, "\\x%02X", u);
      shown += spelled;
    } else {
      shown += c;
    }
  }
  if (!clean) {
    error = "a file name cannot hold control characters (a NUL, a line break or the like): \"" +
            shown + "\"";
  }
  return clean;
}

}  // namespace twinfind
