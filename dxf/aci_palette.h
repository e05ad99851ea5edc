// Colours between DXF and the host: the AutoCAD Color Index (ACI) palette, the nearest of the
// host's 16 colours to an RGB colour, and the ACI our exporter writes for a host colour.
#ifndef DXF_ACI_PALETTE_H
#define DXF_ACI_PALETTE_H

#include <cstdint>

namespace twinfind::dxf {

// ACI values with a meaning of their own.
inline constexpr int kAciByBlock = 0;
inline constexpr int kAciWhite = 7;
inline constexpr int kAciByLayer = 256;

// The RGB of an ACI colour 1..255 as 0xRRGGBB; white for anything else.
uint32_t AciRgb(int aci);

// The host colour (0..15) nearest to an RGB colour: the smallest squared distance in RGB,
// the lower colour number on a tie.
int NearestHostColor(uint32_t rgb);

// The host colour of an ACI colour 1..255.
int HostColorOfAci(int aci);

// The ACI our exporter writes for a host colour: of the ACI colours that import as that host
// colour, the one nearest to it. Host colours outside 0..15 are written as white.
int AciOfHostColor(int hostColor);

}  // namespace twinfind::dxf

#endif  // DXF_ACI_PALETTE_H
