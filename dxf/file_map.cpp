#include "dxf/file_map.h"

#include <algorithm>

#include "dxf/line_type_names.h"
#include "dxf/output_format.h"

namespace twinfind::dxf {
namespace {

class Mapper {
 public:
  explicit Mapper(const GroupList& file) : g_(file.groups) {}

  FileMap Run() {
    for (size_t i = 0; i < g_.size(); ++i) {
      const Group& group = g_[i];
      if (group.code == 5 || group.code == 105) NoteHandle(group);
      if (group.code == 9) NoteVariable(i);
      if (group.code == 0) Zero(i);
    }
    CloseOpen(g_.size());
    EndSection(g_.size());
    return std::move(map_);
  }

 private:
  // The value of the first group with the code in the entity or entry that begins at `at`.
  std::string_view Lookup(size_t at, int code) const {
    for (size_t i = at + 1; i < g_.size() && g_[i].code != 0; ++i) {
      if (g_[i].code == code) return Trimmed(g_[i].value);
    }
    return {};
  }

  void NoteHandle(const Group& group) {
    uint64_t value = 0;
    if (ParseHandle(Trimmed(group.value), value)) {
      map_.highestHandle = std::max(map_.highestHandle, value);
    }
  }

  void NoteVariable(size_t at) {
    const std::string_view name = Trimmed(g_[at].value);
    const bool beforeFirstEnd = !sawEnd_;
    if (section_ == "HEADER") map_.header.emplace(std::string(name), at);
    if (!beforeFirstEnd || at + 1 >= g_.size()) return;
    const std::string_view value = Trimmed(g_[at + 1].value);
    if (name == "$ACADVER" && map_.version.empty()) map_.version = UpperCase(std::string(value));
    if (name == "$DWGCODEPAGE" && map_.codePage.empty()) map_.codePage = std::string(value);
    uint64_t seed = 0;
    if (name == "$HANDSEED" && g_[at + 1].code == 5 && ParseHandle(value, seed)) {
      map_.handSeed = seed;
    }
  }

  // An entry, and a block after its ENDBLK, stay open up to the next group 0.
  void CloseOpen(size_t at) {
    if (entry_ != kNone) map_.tables.back().entries[entry_].end = at;
    entry_ = kNone;
    if (closingBlock_) map_.blocks.back().end = at;
    closingBlock_ = false;
  }

  // A damaged file may leave a table, a block or a section without its end: it ends where
  // the next one begins, or where the section (or the file) ends.
  void EndTable(size_t at) {
    if (inTable_) map_.tables.back().end = at;
    inTable_ = false;
  }
  void EndBlock(size_t at) {
    if (inBlock_) map_.blocks.back().end = at;
    inBlock_ = false;
  }
  void EndSection(size_t at) {
    EndTable(at);
    EndBlock(at);
    if (inSection_) map_.sections.back().end = at;
    inSection_ = false;
    section_.clear();
  }

  void Zero(size_t i) {
    CloseOpen(i);
    const std::string_view type = Trimmed(g_[i].value);
    if (type == "SECTION" || type == "ENDSEC" || type == "EOF") {
      EndSection(i);
      sawEnd_ = sawEnd_ || type == "ENDSEC";
      if (type != "SECTION") return;
      section_ = UpperCase(std::string(Lookup(i, 2)));
      map_.sections.push_back({section_, i, i});
      inSection_ = true;
      return;
    }
    if (section_ == "TABLES") return TableGroup(i, type);
    if (section_ == "BLOCKS" && type == "BLOCK") {
      EndBlock(i);
      map_.blocks.push_back({Lookup(i, 2), i, i, Lookup(i, 330)});
      inBlock_ = true;
    } else if (section_ == "BLOCKS" && type == "ENDBLK" && inBlock_) {
      closingBlock_ = true;
      inBlock_ = false;
    }
    if ((section_ == "ENTITIES" || section_ == "BLOCKS") && !Lookup(i, 5).empty()) {
      map_.entityHandles = true;
    }
  }

  void TableGroup(size_t i, std::string_view type) {
    if (type == "TABLE") {
      EndTable(i);
      MappedTable& table = map_.tables.emplace_back();
      table.name = UpperCase(std::string(Lookup(i, 2)));
      table.begin = table.end = i;
      table.handle = Lookup(i, 5);
      for (size_t k = i + 1; k < g_.size() && g_[k].code != 0; ++k) {
        if (g_[k].code == 70) {
          table.count = k;
          break;
        }
      }
      inTable_ = true;
      return;
    }
    if (!inTable_) return;
    if (type == "ENDTAB") return EndTable(i);
    const std::string_view handle = Lookup(i, 5);
    map_.tables.back().entries.push_back(
        {Lookup(i, 2), handle.empty() ? Lookup(i, 105) : handle, i, i});
    entry_ = map_.tables.back().entries.size() - 1;
  }

  static constexpr size_t kNone = static_cast<size_t>(-1);
  const std::vector<Group>& g_;
  FileMap map_;
  std::string section_;
  bool sawEnd_ = false;
  bool inSection_ = false;
  bool inTable_ = false;
  bool inBlock_ = false;
  size_t entry_ = kNone;
  bool closingBlock_ = false;
};

}  // namespace

const MappedSection* FileMap::Section(std::string_view name) const {
  for (const MappedSection& s : sections) {
    if (s.name == name) return &s;
  }
  return nullptr;
}

const MappedTable* FileMap::Table(std::string_view name) const {
  for (const MappedTable& t : tables) {
    if (t.name == name) return &t;
  }
  return nullptr;
}

const MappedBlock* FileMap::Block(std::string_view name) const {
  const auto it = blocksByName.find(UpperCase(std::string(name)));
  return it == blocksByName.end() ? nullptr : &blocks[it->second];
}

const MappedEntry* FileMap::Entry(const MappedTable* table, std::string_view name) const {
  if (table == nullptr) return nullptr;
  const auto it = table->byName.find(UpperCase(std::string(name)));
  return it == table->byName.end() ? nullptr : &table->entries[it->second];
}

bool FileMap::modern() const {
  // AC1009 is R12; AC1012 (R13) and later have owners and subclass markers.
  return version.size() == 6 && version.rfind("AC", 0) == 0 && version > "AC1009";
}

FileMap MapFile(const GroupList& file) {
  FileMap map = Mapper(file).Run();
  for (MappedTable& table : map.tables) {
    for (size_t i = 0; i < table.entries.size(); ++i) {
      table.byName.emplace(UpperCase(std::string(table.entries[i].name)), i);
    }
  }
  for (size_t i = 0; i < map.blocks.size(); ++i) {
    map.blocksByName.emplace(UpperCase(std::string(map.blocks[i].name)), i);
  }
  if (!file.groups.empty()) {
    const size_t lineEnd = file.text.find('\n', file.groups.front().offset);
    if (lineEnd != std::string::npos && lineEnd > 0 && file.text[lineEnd - 1] == '\r') {
      map.lineEnd = "\r\n";
    }
  }
  return map;
}

size_t GroupAt(const GroupList& file, uint32_t offset) {
  const auto it = std::lower_bound(file.groups.begin(), file.groups.end(), offset,
                                   [](const Group& g, uint32_t at) { return g.offset < at; });
  return static_cast<size_t>(it - file.groups.begin());
}

uint32_t OffsetOf(const GroupList& file, size_t group) {
  return group < file.groups.size() ? file.groups[group].offset
                                    : static_cast<uint32_t>(file.text.size());
}

}  // namespace twinfind::dxf
