// Where things lie among a DXF file's groups, for writing the file back with changes: its
// sections, header variables, tables and their entries, block definitions, its version and the
// handles it uses.
#ifndef DXF_FILE_MAP_H
#define DXF_FILE_MAP_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dxf/group_reader.h"

namespace twinfind::dxf {

struct MappedSection {
  std::string name;  // in capitals
  size_t begin = 0;  // its group "0 SECTION"
  size_t end = 0;    // its group "0 ENDSEC"
};

struct MappedEntry {
  std::string_view name;    // group 2, as written
  std::string_view handle;  // group 5 (or 105), empty when none
  size_t begin = 0, end = 0;
};

struct MappedTable {
  std::string name;             // in capitals: LAYER, LTYPE, APPID, BLOCK_RECORD, ...
  size_t begin = 0;             // its group "0 TABLE"
  size_t end = 0;               // its group "0 ENDTAB"
  std::optional<size_t> count;  // its group 70, the number of entries
  std::string_view handle;      // its group 5 (files of R13 and later)
  std::vector<MappedEntry> entries;
  // The first entry of each name, by the name in capitals (made by MapFile): a table of many
  // entries is looked up in constant time, not read through for each name asked for.
  std::unordered_map<std::string, size_t> byName;
};

struct MappedBlock {
  std::string_view name;          // as written
  size_t begin = 0;               // its group "0 BLOCK"
  size_t end = 0;                 // the group after its ENDBLK's groups
  std::string_view recordHandle;  // the owner of the BLOCK (files of R13 and later)
};

struct FileMap {
  std::vector<MappedSection> sections;
  std::map<std::string, size_t> header;  // variable (as written, "$EXTMIN") -> its group 9
  std::vector<MappedTable> tables;
  std::vector<MappedBlock> blocks;
  std::unordered_map<std::string, size_t> blocksByName;  // the first of each name, in capitals
  std::string version;         // $ACADVER ("AC1015"); empty when the file has none
  std::string codePage;        // $DWGCODEPAGE
  uint64_t highestHandle = 0;  // of the handles the file gives (groups 5 and 105)
  std::optional<uint64_t> handSeed;
  bool entityHandles = false;  // entities of the ENTITIES or BLOCKS section carry handles
  std::string lineEnd = "\n";  // "\r\n" for a file with CRLF line ends

  const MappedSection* Section(std::string_view name) const;
  const MappedTable* Table(std::string_view name) const;
  // Without regard to case, as DXF compares names.
  const MappedBlock* Block(std::string_view name) const;
  const MappedEntry* Entry(const MappedTable* table, std::string_view name) const;
  // R13 and later: owners, subclass markers and block records.
  bool modern() const;
};

FileMap MapFile(const GroupList& file);

// The index of the group whose code line starts at `offset` (or the first after it).
size_t GroupAt(const GroupList& file, uint32_t offset);
// Where a group starts in the file's bytes; the end of the file for groups.size().
uint32_t OffsetOf(const GroupList& file, size_t group);

}  // namespace twinfind::dxf

#endif  // DXF_FILE_MAP_H
