// How LibreCAD and the host name the look of a figure: LibreCAD's colours (24-bit RGB, or by
// layer / by block) and line-type names against the host's 16 colours and 10 line types.
#ifndef LIBRECAD_LC_LOOK_H
#define LIBRECAD_LC_LOOK_H

#include <QString>
#include <optional>

namespace twinfind::librecad {

// LibreCAD's colour values with a meaning of their own.
inline constexpr int kByLayer = -1;
inline constexpr int kByBlock = -2;

// LibreCAD keeps DXF's colour 7 (white on a dark background, black on a light one) as RGB 0.
inline constexpr int kForeground = 0;

// The RGB LibreCAD gets for a host colour: that of the ACI colour a DXF file gets for it (colour
// 7 as LibreCAD keeps it), so that LibreCAD saves it as that ACI colour.
int RgbOfHostColor(int hostColor);

// The host line type (0..9) of a LibreCAD line-type name ("DashLine", "CenterLine2", ...);
// nothing for BYLAYER, BYBLOCK and names LibreCAD does not use.
std::optional<int> HostLineTypeOfName(const QString& name);
// LibreCAD's name of a host line type.
QString NameOfHostLineType(int lineType);

}  // namespace twinfind::librecad

#endif  // LIBRECAD_LC_LOOK_H
