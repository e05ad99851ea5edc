#include <array>
#include <cctype>
#include <fstream>
#include <utility>

#include "dxf/dwg_reader.h"

namespace twinfind::dxf {
namespace {

// DWG versions and their releases' names, oldest first.
constexpr std::array<std::pair<const char*, const char*>, 16> kReleases = {{
    {"AC1.40", "R1.4"},
    {"AC1.50", "R2.05"},
    {"AC2.10", "R2.10"},
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
  if (version == "AC1032") return "R2018";
  for (const auto& [v, name] : kReleases) {
    if (version == v) return name;
  }
  return version > "AC1032" ? "newer than R2018" : "unknown";
}

}  // namespace twinfind::dxf
