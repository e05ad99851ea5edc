#include "librecad/lc_look.h"

#include <array>
#include <utility>

#include "dxf/aci_palette.h"

namespace twinfind::librecad {
namespace {

// LibreCAD's line-type names, each with the host type of its look: the three scales of each
// broken family (normal, "2" short, "X2" long) where the host has them, the others at the
// host type of the same family. CenterLine is DXF's CENTER, the long chain, as the DXF reader
// takes it; BorderLine is the two-dot chain.
constexpr std::array<std::pair<const char*, int>, 19> kLineTypes = {{
    {"SolidLine", 0},     {"DashLine", 1},     {"DashDotLine", 2},  {"DivideLine", 3},
    {"DotLine", 4},       {"DashDotLine2", 5}, {"DivideLine2", 6},  {"DashLineX2", 7},
    {"DashDotLineX2", 8}, {"DivideLineX2", 9}, {"DashLine2", 1},    {"DotLine2", 4},
    {"DotLineX2", 4},     {"CenterLine", 8},   {"CenterLine2", 8},  {"CenterLineX2", 8},
    {"BorderLine", 3},    {"BorderLine2", 3},  {"BorderLineX2", 3},
}};

}  // namespace

int RgbOfHostColor(int hostColor) {
  const int aci = dxf::AciOfHostColor(hostColor);
  return aci == dxf::kAciWhite ? kForeground : static_cast<int>(dxf::AciRgb(aci));
}

std::optional<int> HostLineTypeOfName(const QString& name) {
  for (const auto& [lcName, hostType] : kLineTypes) {
    if (name.compare(QLatin1String(lcName), Qt::CaseInsensitive) == 0) return hostType;
  }
  return std::nullopt;
}

QString NameOfHostLineType(int lineType) {
  // The first ten entries are the host's types in order.
  if (lineType < 0 || lineType > 9) return QStringLiteral("SolidLine");
  return QLatin1String(kLineTypes[static_cast<size_t>(lineType)].first);
}

}  // namespace twinfind::librecad
