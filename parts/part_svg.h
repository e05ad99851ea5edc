// The SVG files nesting programs take in: one picture of a part (each closed loop, outline and
// holes, a closed path; open strokes open paths), and one sheet with every copy the parts list
// counts laid out in rows, mirror images flipped. Coordinates are the drawing's, y upward as in
// CAD (the SVG's own y runs down), the page sized in the list's unit where SVG knows it.
#ifndef PARTS_PART_SVG_H
#define PARTS_PART_SVG_H

#include <string>
#include <vector>

#include "parts/part_outline.h"

namespace twinfind::parts {

// The part alone, its box at the page's origin; `unit` as the parts list names it.
std::string PartSvg(const PartOutline& outline, const std::string& unit);

// One part of the sheet: its outline, how many copies, of them how many mirror images.
struct SheetPart {
  const PartOutline* outline = nullptr;
  std::string name;  // the part file's name, kept as the group's id
  int count = 0;
  int mirrored = 0;
};

// Every copy of every part, in rows no wider than about the square of the copies' total area
// (or the widest part), a gap of a tenth of the largest part's height between copies.
std::string SheetSvg(const std::vector<SheetPart>& parts, const std::string& unit);

}  // namespace twinfind::parts

#endif  // PARTS_PART_SVG_H
