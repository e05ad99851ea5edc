#include <array>
#include <cctype>
#include <fstream>
#include <utility>

#include "dxf/dwg_reader.h"

namespace twinfind::dxf {
namespace {

// The DWG versions a file's head can name ("AC10" and two digits) and their releases' names.
constexpr std::array<std::pair<const char*, const char*>, 14> kReleases = {{
    {"AC1001", "R2.22"},
    {"AC1002", "R2.5"},
    {"AC1003", "R2.6"},
    {"AC1004", "R9"},
    {"AC1006", "R10"},
    {"AC1009", "R11/R12"},
    {"AC1012", "R13"},
    {"AC1014", "R14"},
    {"AC1015", "R2000"},
    {"AC1018", "R2004"},
    {"AC1021", "R2007"},
    {"AC1024", "R2010"},
    {"AC1027", "R2013"},
    {"AC1032", "R2018"},
}};

}  // namespace

std::optional<std::string> DwgVersionOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char head[6] = {};
  if (!in.read(head, sizeof head)) return std::nullopt;
  const std::string version(head, sizeof head);
  if (version.rfind("AC10", 0) != 0 || !std::isdigit(static_cast<unsigned char>(head[4])) ||
      !std::isdigit(static_cast<unsigned char>(head[5]))) {
    return std::nullopt;
  }
  return version;
}

bool DwgVersionRead(const std::string& version) {
  return version >= "AC1014" && version <= "AC1032";
}

std::string DwgReleaseName(const std::string& version) {
  for (const auto& [v, name] : kReleases) {
    if (version == v) return name;
  }
  return version > "AC1032" ? "newer than R2018" : "unknown";
}

}  // namespace twinfind::dxf
