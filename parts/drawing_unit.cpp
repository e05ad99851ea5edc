#include "parts/drawing_unit.h"

#include <array>
#include <charconv>

#include "dxf/group_reader.h"

namespace twinfind::parts {
namespace {

struct KnownUnit {
  const char* name;
  double millimetres;
};

// $INSUNITS 0 to 21, as DXF defines them.
constexpr std::array<KnownUnit, 22> kUnits = {{
    {"unitless", 0},
    {"in", 25.4},
    {"ft", 304.8},
    {"mi", 1609344},
    {"mm", 1},
    {"cm", 10},
    {"m", 1000},
    {"km", 1e6},
    {"uin", 25.4e-6},
    {"mil", 0.0254},
    {"yd", 914.4},
    {"angstrom", 1e-7},
    {"nm", 1e-6},
    {"um", 1e-3},
    {"dm", 100},
    {"dam", 1e4},
    {"hm", 1e5},
    {"Gm", 1e12},
    {"au", 1.495978707e14},
    {"ly", 9.4607304725808e18},
    {"pc", 3.0856775814913673e19},
    {"us_ft", 1200.0 / 3937.0 * 1000.0},
}};

DrawingUnit UnitOfCode(int code) {
  if (code <= 0 || code >= static_cast<int>(kUnits.size())) return {0, "unitless", 0};
  return {code, kUnits[static_cast<size_t>(code)].name,
          kUnits[static_cast<size_t>(code)].millimetres};
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

DrawingUnit UnitOfDrawing(std::string_view dxfText) {
  dxf::GroupStream stream(dxfText);
  dxf::Group g;
  bool unitNext = false;
  while (stream.Next(g)) {
    const std::string_view value = Trim(g.value);
    if (g.code == 0 && value == "ENDSEC") break;  // the header comes first
    if (g.code == 9) {
      unitNext = value == "$INSUNITS";
    } else if (unitNext && g.code == 70) {
      int code = 0;
      const auto read = std::from_chars(value.data(), value.data() + value.size(), code);
      return read.ec == std::errc{} ? UnitOfCode(code) : UnitOfCode(0);
    }
  }
  return UnitOfCode(0);
}

DrawingUnit Millimetres() { return UnitOfCode(4); }

}  // namespace twinfind::parts
