// The unit a drawing's coordinates are in, as its header names it ($INSUNITS), for the lists a
// shop quotes from: sizes, cut lengths and areas mean nothing without it.
#ifndef PARTS_DRAWING_UNIT_H
#define PARTS_DRAWING_UNIT_H

#include <string>
#include <string_view>

namespace twinfind::parts {

struct DrawingUnit {
  int code = 0;            // $INSUNITS; 0 when the header names none
  std::string name;        // "mm", "in", ...; "unitless" for code 0 or one not known
  double millimetres = 0;  // one unit in millimetres; 0 for unitless
};

// The unit of a DXF text's header.
DrawingUnit UnitOfDrawing(std::string_view dxfText);

// The unit of millimetres.
DrawingUnit Millimetres();

}  // namespace twinfind::parts

#endif  // PARTS_DRAWING_UNIT_H
