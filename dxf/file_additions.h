// What a save adds to a file besides entities, as edits of the file in its own style: entries
// of its tables (layers, line types, our application name, block records), tables and
// sections it lacks, and header variables set or added.
#ifndef DXF_FILE_ADDITIONS_H
#define DXF_FILE_ADDITIONS_H

#include <string>
#include <vector>

#include "dxf/file_edits.h"
#include "dxf/file_map.h"
#include "dxf/group_reader.h"
#include "dxf/output_format.h"

namespace twinfind::dxf {

struct TableAdditions {
  std::vector<std::string> layers;  // new layers' names as written (white, continuous)
  std::vector<int> lineTypes;       // host line types, under their DXF names and patterns
  bool twinfindApp = false;         // the application name of our extended data
};

// Adds the entries (and the block records the format made) before the end of their tables,
// counting them in the tables' entry counts; a table the file lacks is added to its TABLES
// section, a TABLES section the file lacks is added before its blocks and entities.
void AddTables(const GroupList& file, const FileMap& map, OutputFormat& format,
               const TableAdditions& additions, FileEdits& edits);

// Header variables set where the file has them, and added (with a HEADER section when the
// file has none) where it does not.
class HeaderEdits {
 public:
  HeaderEdits(const GroupList& file, const FileMap& map, FileEdits& edits)
      : file_(file), map_(map), edits_(edits) {}
  // A point variable ($EXTMIN): x and y set, z kept.
  void Point(const std::string& name, double x, double y);
  // A handle variable ($HANDSEED).
  void Handle(const std::string& name, const std::string& handle);
  // Writes the variables the file lacked.
  void Finish();

 private:
  const GroupList& file_;
  const FileMap& map_;
  FileEdits& edits_;
  std::string missing_;  // "\n" line ends
};

// The x and y of a point variable of the file's header ($EXTMIN); false when the file has none
// or they are no numbers.
bool ReadHeaderPoint(const GroupList& file, const FileMap& map, const std::string& name,
                     double out[2]);

// Where a new section of the name goes: before the first section that follows it in the
// usual order (HEADER, CLASSES, TABLES, BLOCKS, ENTITIES, OBJECTS, ...), else before the end
// marker, else at the end.
uint32_t PlaceOfNewSection(const GroupList& file, const FileMap& map, const std::string& name);

}  // namespace twinfind::dxf

#endif  // DXF_FILE_ADDITIONS_H
