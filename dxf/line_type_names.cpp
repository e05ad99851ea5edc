#include "dxf/line_type_names.h"

#include <cctype>
#include <utility>

#include "host/palette.h"

namespace twinfind::dxf {
namespace {

// Other common names, and the ISO types, by the host type that looks most like them (see
// host/palette.h: 1 dashed, 2 chain, 3 two-dot chain, 4 dotted, 5/6 short and 7/8/9 long).
constexpr std::pair<std::string_view, int> kLookAlikes[] = {
    {"HIDDEN", 1},          // short dashes
    {"CENTER", 8},          // long dash, short dash
    {"PHANTOM", 9},         // long dash, two short dashes
    {"BORDER", 3},          // dash, dash, dot
    {"ACAD_ISO02W100", 1},  // dashed
    {"ACAD_ISO03W100", 7},  // dashed, long gaps
    {"ACAD_ISO04W100", 8},  // long dash dot
    {"ACAD_ISO05W100", 9},  // long dash double dot
    {"ACAD_ISO06W100", 9},  // long dash triple dot
    {"ACAD_ISO07W100", 4},  // dotted
    {"ACAD_ISO08W100", 8},  // long dash short dash
    {"ACAD_ISO09W100", 9},  // long dash double short dash
    {"ACAD_ISO10W100", 2},  // dash dot
    {"ACAD_ISO11W100", 2},  // double dash dot
    {"ACAD_ISO12W100", 3},  // dash double dot
    {"ACAD_ISO13W100", 3},  // double dash double dot
    {"ACAD_ISO14W100", 3},  // dash triple dot
    {"ACAD_ISO15W100", 3},  // double dash triple dot
};

std::optional<int> HostTypeNamed(std::string_view upper) {
  for (size_t i = 0; i < vexhost::kLineTypes.size(); ++i) {
    if (vexhost::kLineTypes[i].dxfName == upper) return static_cast<int>(i);
  }
  for (const auto& [name, type] : kLookAlikes) {
    if (upper == name) return type;
  }
  return std::nullopt;
}

}  // namespace

std::string UpperCase(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

std::optional<int> HostLineTypeOfName(std::string_view name) {
  std::string upper = UpperCase(name);
  // A type bound from an external reference is named "XREF$0$TYPE".
  if (const size_t dollar = upper.rfind('$'); dollar != std::string::npos) {
    upper.erase(0, dollar + 1);
  }
  if (const auto exact = HostTypeNamed(upper)) return exact;
  // Half- and double-scale variants of the same pattern: DASHED2, DASHEDX2.
  for (const std::string_view suffix : {"X2", "2"}) {
    if (upper.size() > suffix.size() && upper.ends_with(suffix)) {
      if (const auto base = HostTypeNamed(upper.substr(0, upper.size() - suffix.size()))) {
        return base;
      }
    }
  }
  return std::nullopt;
}

std::string_view DxfNameOfHostLineType(int lineType) {
  if (lineType < 0 || lineType >= static_cast<int>(vexhost::kLineTypes.size())) {
    return vexhost::kLineTypes[0].dxfName;
  }
  return vexhost::kLineTypes[lineType].dxfName;
}

}  // namespace twinfind::dxf
