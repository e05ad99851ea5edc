#include "dxf/dwg_reader.h"

namespace twinfind::dxf {

// The reader runs in Node, which the Windows build does not start yet: a DWG drawing is read
// by the Linux build.
bool ReadDwgAsDxf(const std::string&, const DwgReaderLimits&, std::string&, std::string& error) {
  error =
      "this build reads DXF only; DWG drawings are read by the Linux build (it runs the "
      "reader in Node): save the drawing as DXF";
  return false;
}

}  // namespace twinfind::dxf
