#include "bench/polyline_dxf.h"

#include <cstdio>

namespace drawgen {
namespace {

void Group(std::string& text, int code, const char* value) {
  text += std::to_string(code);
  text += '\n';
  text += value;
  text += '\n';
}

void Group(std::string& text, int code, double value) {
  char number[32];
  std::snprintf(number, sizeof number, "%.6f", value);
  Group(text, code, number);
}

}  // namespace

std::string OnePolylineDxf(int vertices) {
  std::string text;
  for (const char* section : {"HEADER", "TABLES", "BLOCKS"}) {
    Group(text, 0, "SECTION");
    Group(text, 2, section);
    if (section[0] == 'H') {
      Group(text, 9, "$ACADVER");
      Group(text, 1, "AC1015");
    }
    Group(text, 0, "ENDSEC");
  }
  Group(text, 0, "SECTION");
  Group(text, 2, "ENTITIES");
  Group(text, 0, "LWPOLYLINE");
  Group(text, 8, "0");
  Group(text, 90, std::to_string(vertices).c_str());
  Group(text, 70, "0");
  for (int i = 0; i < vertices; ++i) {
    Group(text, 10, 1.5 * i);
    Group(text, 20, i % 2 == 0 ? 0.0 : 2.0);
    if (i % 10 == 9) Group(text, 42, 0.4);
  }
  Group(text, 0, "ENDSEC");
  Group(text, 0, "EOF");
  return text;
}

}  // namespace drawgen
