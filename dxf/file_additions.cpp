#include "dxf/file_additions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "dxf/aci_palette.h"
#include "dxf/dxf_writer.h"
#include "dxf/group_editor.h"
#include "dxf/line_type_names.h"
#include "dxf/twinfind_xdata.h"
#include "host/palette.h"

namespace twinfind::dxf {
namespace {

constexpr const char* kSectionOrder[] = {"HEADER",   "CLASSES", "TABLES",         "BLOCKS",
                                         "ENTITIES", "OBJECTS", "THUMBNAILIMAGE", "ACDSDATA"};

int RankOf(const std::string& section) {
  for (int i = 0; i < static_cast<int>(std::size(kSectionOrder)); ++i) {
    if (section == kSectionOrder[i]) return i;
  }
  return static_cast<int>(std::size(kSectionOrder));
}

// The start of a table entry: its type, handle and owner (the table), and the subclasses.
void BeginEntry(DxfWriter& out, OutputFormat& format, const char* type, const std::string& owner,
                const char* subclass) {
  out.Add(0, type);
  const std::string handle = format.NewHandle();
  if (!handle.empty()) out.Add(5, handle);
  if (format.modern()) {
    out.Add(330, owner.empty() ? "0" : owner);
    out.Add(100, "AcDbSymbolTableRecord");
    out.Add(100, subclass);
  }
}

std::string ContinuousName(const FileMap& map) {
  if (const MappedEntry* e = map.Entry(map.Table("LTYPE"), "CONTINUOUS")) {
    return std::string(e->name);
  }
  return "CONTINUOUS";
}

// A new layer: made from the file's layer 0 when it has one, so that it carries what the
// file's version expects of a layer (plot style, line weight), else written out.
std::string LayerEntry(const GroupList& file, const FileMap& map, OutputFormat& format,
                       const std::string& owner, const std::string& name) {
  if (const MappedEntry* zero = map.Entry(map.Table("LAYER"), "0")) {
    GroupEditor e(file, zero->begin, zero->end, map.lineEnd);
    RemoveOwnedGroups(e);
    const size_t xdata = e.Find(1001, 1, e.size());
    e.Erase(xdata, e.size());
    const size_t handle = e.Find(5, 1, e.size());
    if (handle < e.size() && format.handles()) {
      e.Set(handle, format.NewHandle());
    } else if (handle < e.size()) {
      e.Erase(handle);  // a file whose entities have no handles
    } else if (format.handles()) {
      e.Insert(1, 5, format.NewHandle());
    }
    for (const auto& [code, value] : {std::pair<int, std::string>{2, name},
                                      {70, "0"},
                                      {62, std::to_string(kAciWhite)},
                                      {6, ContinuousName(map)}}) {
      const size_t at = e.Find(code, 1, e.size());
      if (at < e.size()) {
        e.Set(at, value);
      } else {
        e.Insert(e.size(), code, value);
      }
    }
    return e.Text();
  }
  DxfWriter out;
  BeginEntry(out, format, "LAYER", owner, "AcDbLayerTableRecord");
  out.Add(2, name);
  out.Int(70, 0);
  out.Int(62, kAciWhite);
  out.Add(6, ContinuousName(map));
  return WithLineEnds(out.Take(), map.lineEnd);
}

std::string LineTypeEntry(const FileMap& map, OutputFormat& format, const std::string& owner,
                          int lineType) {
  const vexhost::LineTypeStyle& style = vexhost::kLineTypes.at(static_cast<size_t>(lineType));
  double length = 0;
  for (int i = 0; i < style.patternLength; ++i) length += std::abs(style.pattern[i]);
  DxfWriter out;
  BeginEntry(out, format, "LTYPE", owner, "AcDbLinetypeTableRecord");
  out.Add(2, style.dxfName);
  out.Int(70, 0);
  out.Add(3, style.description);
  out.Int(72, 65);
  out.Int(73, style.patternLength);
  out.Real(40, length);
  for (int i = 0; i < style.patternLength; ++i) {
    out.Real(49, style.pattern[i]);
    if (format.modern()) out.Int(74, 0);
  }
  return WithLineEnds(out.Take(), map.lineEnd);
}

std::string AppEntry(const FileMap& map, OutputFormat& format, const std::string& owner) {
  DxfWriter out;
  BeginEntry(out, format, "APPID", owner, "AcDbRegAppTableRecord");
  out.Add(2, kXDataApp);
  out.Int(70, 0);
  return WithLineEnds(out.Take(), map.lineEnd);
}

std::string BlockRecordEntry(const FileMap& map, const std::string& owner,
                             const OutputFormat::BlockRecord& record) {
  DxfWriter out;
  out.Add(0, "BLOCK_RECORD");
  out.Add(5, record.handle);
  out.Add(330, owner.empty() ? "0" : owner);
  out.Add(100, "AcDbSymbolTableRecord");
  out.Add(100, "AcDbBlockTableRecord");
  out.Add(2, record.name);
  out.Add(340, "0");              // no layout
  if (map.version >= "AC1021") {  // AutoCAD 2007 and later: units, explodable, not scaled
    out.Int(70, 0);
    out.Int(280, 1);
    out.Int(281, 0);
  }
  return WithLineEnds(out.Take(), map.lineEnd);
}

}  // namespace

void AddTables(const GroupList& file, const FileMap& map, OutputFormat& format,
               const TableAdditions& add, FileEdits& edits) {
  std::string missing;  // tables the file lacks, whole
  for (const char* kind : {"LTYPE", "LAYER", "APPID", "BLOCK_RECORD"}) {
    const std::string_view name = kind;
    const size_t wanted = name == "LTYPE"   ? add.lineTypes.size()
                          : name == "LAYER" ? add.layers.size()
                          : name == "APPID" ? (add.twinfindApp ? 1 : 0)
                                            : format.blockRecords().size();
    if (wanted == 0) continue;
    const MappedTable* table = map.Table(kind);
    const std::string tableHandle = table ? std::string(table->handle) : format.NewHandle();
    std::string entries;
    int count = 0;
    auto take = [&](std::string text) {
      entries += text;
      ++count;
    };
    if (name == "LTYPE") {
      for (const int t : add.lineTypes) take(LineTypeEntry(map, format, tableHandle, t));
    } else if (name == "LAYER") {
      for (const std::string& l : add.layers) take(LayerEntry(file, map, format, tableHandle, l));
    } else if (name == "APPID") {
      take(AppEntry(map, format, tableHandle));
    } else {
      for (const auto& r : format.blockRecords()) take(BlockRecordEntry(map, tableHandle, r));
    }
    if (count == 0) continue;
    if (table) {
      edits.Insert(OffsetOf(file, table->end), std::move(entries));
      if (table->count) {
        const size_t at = *table->count;
        const std::string_view old = Trimmed(file.groups[at].value);
        const int before = std::atoi(std::string(old).c_str());
        DxfWriter out;
        out.Int(70, std::max(0, before) + count);
        edits.Replace(OffsetOf(file, at), OffsetOf(file, at + 1),
                      WithLineEnds(out.Take(), map.lineEnd));
      }
      continue;
    }
    DxfWriter head;
    head.Add(0, "TABLE");
    head.Add(2, kind);
    if (!tableHandle.empty()) head.Add(5, tableHandle);
    if (map.modern()) {
      head.Add(330, "0");
      head.Add(100, "AcDbSymbolTable");
    }
    head.Int(70, count);
    missing += WithLineEnds(head.Take(), map.lineEnd) + entries;
    DxfWriter tail;
    tail.Add(0, "ENDTAB");
    missing += WithLineEnds(tail.Take(), map.lineEnd);
  }
  if (missing.empty()) return;
  if (const MappedSection* tables = map.Section("TABLES")) {
    edits.Insert(OffsetOf(file, tables->end), std::move(missing));
    return;
  }
  DxfWriter head, tail;
  head.Add(0, "SECTION");
  head.Add(2, "TABLES");
  tail.Add(0, "ENDSEC");
  edits.Insert(
      PlaceOfNewSection(file, map, "TABLES"),
      WithLineEnds(head.Take(), map.lineEnd) + missing + WithLineEnds(tail.Take(), map.lineEnd));
}

void HeaderEdits::Point(const std::string& name, double x, double y) {
  const auto it = map_.header.find(name);
  if (it == map_.header.end()) {
    DxfWriter out;
    out.Add(9, name);
    out.Point(10, x, y);
    missing_ += out.Take();
    return;
  }
  size_t end = it->second + 1;
  while (end < file_.groups.size() && file_.groups[end].code != 9 && file_.groups[end].code != 0) {
    ++end;
  }
  GroupEditor e(file_, it->second, end, map_.lineEnd);
  for (size_t i = 1; i < e.size(); ++i) {
    if (e.code(i) == 10) e.Set(i, RealText(x));
    if (e.code(i) == 20) e.Set(i, RealText(y));
  }
  edits_.Replace(OffsetOf(file_, it->second), OffsetOf(file_, end), e.Text());
}

void HeaderEdits::Handle(const std::string& name, const std::string& handle) {
  const auto it = map_.header.find(name);
  if (it == map_.header.end() || it->second + 1 >= file_.groups.size() ||
      file_.groups[it->second + 1].code != 5) {
    DxfWriter out;
    out.Add(9, name);
    out.Add(5, handle);
    missing_ += out.Take();
    return;
  }
  DxfWriter out;
  out.Add(5, handle);
  const size_t at = it->second + 1;
  edits_.Replace(OffsetOf(file_, at), OffsetOf(file_, at + 1),
                 WithLineEnds(out.Take(), map_.lineEnd));
}

void HeaderEdits::Finish() {
  if (missing_.empty()) return;
  if (const MappedSection* header = map_.Section("HEADER")) {
    edits_.Insert(OffsetOf(file_, header->end), WithLineEnds(std::move(missing_), map_.lineEnd));
    return;
  }
  DxfWriter head, tail;
  head.Add(0, "SECTION");
  head.Add(2, "HEADER");
  tail.Add(0, "ENDSEC");
  edits_.Insert(PlaceOfNewSection(file_, map_, "HEADER"),
                WithLineEnds(head.Take() + missing_ + tail.Take(), map_.lineEnd));
}

uint32_t PlaceOfNewSection(const GroupList& file, const FileMap& map, const std::string& name) {
  const int rank = RankOf(name);
  for (const MappedSection& s : map.sections) {
    if (RankOf(s.name) > rank) return OffsetOf(file, s.begin);
  }
  for (size_t i = file.groups.size(); i-- > 0;) {
    if (file.groups[i].code == 0 && Trimmed(file.groups[i].value) == "EOF") {
      return OffsetOf(file, i);
    }
  }
  return static_cast<uint32_t>(file.text.size());
}

bool ReadHeaderPoint(const GroupList& file, const FileMap& map, const std::string& name,
                     double out[2]) {
  const auto it = map.header.find(name);
  if (it == map.header.end()) return false;
  bool x = false, y = false;
  for (size_t i = it->second + 1;
       i < file.groups.size() && file.groups[i].code != 9 && file.groups[i].code != 0; ++i) {
    const std::string value(Trimmed(file.groups[i].value));
    char* end = nullptr;
    const double v = std::strtod(value.c_str(), &end);
    const bool number = end != value.c_str() && *end == '\0' && std::isfinite(v);
    if (file.groups[i].code == 10) x = number, out[0] = v;
    if (file.groups[i].code == 20) y = number, out[1] = v;
  }
  return x && y;
}

}  // namespace twinfind::dxf
