// A part sheet split for cutting: one DXF file per family of twins holding the member searched
// from (its entities as the input had them, moved so that its box starts at the origin), and a
// parts list of them, parts.csv and parts.json, with each file's count, size, cut length,
// pierces and area. See docs/parts.md.
#ifndef PARTS_PART_SPLIT_H
#define PARTS_PART_SPLIT_H

#include <string>
#include <vector>

#include "dxf/dxf_source.h"
#include "host/drawing.h"
#include "parts/part_family.h"
#include "parts/part_measures.h"

namespace twinfind::parts {

struct SplitOptions {
  bool hands = false;   // mirror images in a second file of their own
  std::string drawing;  // the input's name, for parts.json
  // The lists' sizes in millimetres whatever the drawing's unit; else in the drawing's unit.
  bool millimetres = false;
  // Each part file's name tells its quantity: part-07.12.dxf for 12 of part 7, as nesting
  // programs read it.
  bool quantityInNames = false;
  // Beside each part file, its SVG (part-07.svg), and sheet.svg with every copy laid out.
  bool svg = false;
};

// A part's sizes as the lists give them, in the lists' unit.
struct ListedSizes {
  double width = 0, height = 0;  // of its box
  double cutLength = 0;
  double area = 0;  // inside its outer outline
};

struct SplitMember {
  std::vector<std::string> handles;  // of the entities it came from, in file order
  double angleDegrees = 0;           // the turn that takes the file's part onto it
  bool mirrored = false;             // cut from the file flipped
};

// One row of the parts list: one file.
struct SplitRow {
  std::string file;       // its name in the folder
  std::string path;       // the file's absolute path, once written
  int family = 0;         // the family's number
  int count = 0;          // members cut from the file
  int mirrored = 0;       // of them mirror images of the file's drawing
  std::string block;      // the block the file's part is a reference of; empty: none
  PartMeasures measures;  // in the drawing's unit, its box where the drawing has it
  ListedSizes sizes;
  std::string unit;  // of the sizes: "mm", "in", ..., "unitless"
  std::vector<SplitMember> members;
};

struct SplitResult {
  bool ok = false;
  std::string error;
  std::vector<SplitRow> rows;
  std::vector<std::string> written;  // the paths written, the part files then the lists
};

// True when `folder` is a new folder (nothing stands there, and it can be made) or an empty
// one; else false with the reason. Asked before the work, so that nothing is mixed.
bool CheckSplitFolder(const std::string& folder, std::string& error);

// The rows the files would have, without writing anything.
std::vector<SplitRow> SplitRows(const vexhost::Drawing& drawing, const dxf::DxfSource& source,
                                const std::vector<PartFamily>& families,
                                const SplitOptions& options);

// Writes the part files and the lists into `folder` (made when missing). Nothing is written
// for no family. On a failure the files written so far are removed again (and the folder, when
// this call made it).
SplitResult SplitParts(const vexhost::Drawing& drawing, const dxf::DxfSource& source,
                       const std::vector<PartFamily>& families, const std::string& folder,
                       const SplitOptions& options);

// The lists' texts.
std::string PartsCsv(const std::vector<SplitRow>& rows);
std::string PartsJson(const std::vector<SplitRow>& rows, const std::string& drawing,
                      const std::string& unit);

}  // namespace twinfind::parts

#endif  // PARTS_PART_SPLIT_H
