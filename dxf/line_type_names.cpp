#include "dxf/line_type_names.h"

#include <cctype>
#include <utility>

#include "host/palette.h"

namespace twinfind::dxf {
namespace {

// ISO line types by the host type that looks most like them.
constexpr std::pair<std::string_view, int> kIsoTypes[] = {
    {"ACAD_ISO02W100", 1},  // dashed
    {"ACAD_ISO03W100", 1},  // dashed, long gaps
    {"ACAD_ISO04W100", 9},  // long dash dot
    {"ACAD_ISO05W100", 6},  // long dash double dot
    {"ACAD_ISO06W100", 6},  // long dash triple dot
    {"ACAD_ISO07W100", 2},  // dotted
    {"ACAD_ISO08W100", 5},  // long dash short dash
    {"ACAD_ISO09W100", 6},  // long dash double short dash
    {"ACAD_ISO10W100", 3},  // dash dot
    {"ACAD_ISO11W100", 8},  // double dash dot
    {"ACAD_ISO12W100", 7},  // dash double dot
    {"ACAD_ISO13W100", 7},  // double dash double dot
    {"ACAD_ISO14W100", 7},  // dash triple dot
    {"ACAD_ISO15W100", 7},  // double dash triple dot
};

std::optional<int> HostTypeNamed(std::string_view upper) {
  for (size_t i = 0; i < vexhost::kLineTypes.size(); ++i) {
    if (vexhost::kLineTypes[i].dxfName == upper) return static_cast<int>(i);
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
  for (const auto& [iso, type] : kIsoTypes) {
    if (upper == iso) return type;
  }
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
