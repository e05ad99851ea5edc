// Line types between DXF and the host: the host's ten line types by their DXF names.
#ifndef DXF_LINE_TYPE_NAMES_H
#define DXF_LINE_TYPE_NAMES_H

#include <optional>
#include <string>
#include <string_view>

namespace twinfind::dxf {

// The host line type (0..9) a DXF line-type name stands for, compared without regard to case:
// the host's own names (CONTINUOUS, DASHED, DOT, DASHDOT, HIDDEN, CENTER, PHANTOM, DIVIDE,
// BORDER, DASHDOTX2), their half- and double-scale variants (DASHED2, HIDDENX2, ...), the ISO
// types of the same look (ACAD_ISO02W100 ...), and names bound from an external reference
// ("plan$0$CENTER"). Nothing for any other name.
std::optional<int> HostLineTypeOfName(std::string_view name);

// The DXF name our exporter writes for a host line type (0..9); CONTINUOUS for others.
std::string_view DxfNameOfHostLineType(int lineType);

// The name in capitals, for comparing DXF names.
std::string UpperCase(std::string_view name);

}  // namespace twinfind::dxf

#endif  // DXF_LINE_TYPE_NAMES_H
