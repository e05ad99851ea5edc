#include "dxf/dxf_export.h"

#include <cmath>
#include <exception>
#include <map>
#include <set>

#include "common/atomic_file.h"
#include "common/utf.h"
#include "dxf/aci_palette.h"
#include "dxf/dxf_writer.h"
#include "dxf/line_type_names.h"
#include "dxf/segment_entities.h"
#include "dxf/text_codec.h"
#include "host/geometry.h"
#include "host/palette.h"

namespace twinfind::dxf {
namespace {

// Characters DXF does not allow in table names.
constexpr std::string_view kBadNameCharacters = "<>/\\\":;?*|=`";

// The names the layers are written under: a layer's own name, or its number; names made safe
// for DXF and unique without regard to case (a clash gets the number appended).
std::map<int, std::string> LayerNamesOf(const vexhost::Drawing& drawing,
                                        const std::set<int>& layers) {
  std::map<int, std::string> names;
  std::set<std::string> taken;
  for (const int layer : layers) {
    const auto named = drawing.layerNames().find(layer);
    std::string name = named != drawing.layerNames().end() && !named->second.empty()
                           ? named->second
                           : std::to_string(layer);
    for (char& c : name) {
      if (kBadNameCharacters.find(c) != std::string_view::npos ||
          static_cast<unsigned char>(c) < 0x20)
        c = '_';
    }
    if (taken.count(UpperCase(name))) name += "_" + std::to_string(layer);
    taken.insert(UpperCase(name));
    names[layer] = name;
  }
  return names;
}

// The code pages a file may be written in, Western first, then the East Asian ones, Korean
// first: layer names are table names, which readers check, and an escaped name (\U+XXXX) fails
// their checks, so names are written in the file's code page when one holds them all.
constexpr const char* kCodePages[] = {"1252", "949", "932", "936", "950"};

struct NameEncoding {
  std::string codePage = "1252";
  std::map<int, std::string> names;  // as written
};

NameEncoding EncodeNames(const std::map<int, std::string>& names) {
  for (const char* page : kCodePages) {
    NameEncoding encoding;
    encoding.codePage = page;
    for (const auto& [number, name] : names) {
      const auto bytes = EncodeInCodePage(ToUtf16(name), std::string("CP") + page);
      if (!bytes) break;
      encoding.names[number] = *bytes;
    }
    if (encoding.names.size() == names.size()) return encoding;
  }
  NameEncoding escaped;  // no code page holds them all: escapes it is
  for (const auto& [number, name] : names)
    escaped.names[number] = EncodeValue(ToUtf16(name), false);
  return escaped;
}

void WriteHeader(DxfWriter& out, const VexBox& extent, const std::string& codePage) {
  out.Add(0, "SECTION");
  out.Add(2, "HEADER");
  out.Add(9, "$ACADVER");
  out.Add(1, "AC1009");
  out.Add(9, "$DWGCODEPAGE");
  out.Add(3, "ANSI_" + codePage);
  out.Add(9, "$INSBASE");
  out.Point(10, 0, 0);
  if (!vexhost::IsEmpty(extent)) {
    out.Add(9, "$EXTMIN");
    out.Point(10, extent.minX, extent.minY);
    out.Add(9, "$EXTMAX");
    out.Point(10, extent.maxX, extent.maxY);
  }
  out.Add(0, "ENDSEC");
}

void WriteLineTypes(DxfWriter& out) {
  out.Add(0, "TABLE");
  out.Add(2, "LTYPE");
  out.Int(70, static_cast<long long>(vexhost::kLineTypes.size()));
  for (const vexhost::LineTypeStyle& style : vexhost::kLineTypes) {
    double length = 0;
    for (int i = 0; i < style.patternLength; ++i) length += std::abs(style.pattern[i]);
    out.Add(0, "LTYPE");
    out.Add(2, style.dxfName);
    out.Int(70, 0);
    out.Add(3, style.description);
    out.Int(72, 65);
    out.Int(73, style.patternLength);
    out.Real(40, length);
    for (int i = 0; i < style.patternLength; ++i) out.Real(49, style.pattern[i]);
  }
  out.Add(0, "ENDTAB");
}

void WriteLayers(DxfWriter& out, const vexhost::Drawing& drawing,
                 const std::map<int, std::string>& names) {
  out.Add(0, "TABLE");
  out.Add(2, "LAYER");
  out.Int(70, static_cast<long long>(names.size()));
  for (const auto& [number, name] : names) {
    out.Add(0, "LAYER");
    out.Add(2, name);
    out.Int(70, 0);
    // A hidden layer is written off: its colour negative.
    out.Int(62, drawing.LayerVisible(number) ? kAciWhite : -kAciWhite);
    out.Add(6, "CONTINUOUS");
  }
  out.Add(0, "ENDTAB");
}

void WriteTables(DxfWriter& out, const vexhost::Drawing& drawing,
                 const std::map<int, std::string>& names) {
  out.Add(0, "SECTION");
  out.Add(2, "TABLES");
  WriteLineTypes(out);
  WriteLayers(out, drawing, names);
  out.Add(0, "TABLE");
  out.Add(2, "STYLE");
  out.Int(70, 1);
  out.Add(0, "STYLE");
  out.Add(2, "STANDARD");
  out.Int(70, 0);
  out.Real(40, 0.0);
  out.Real(41, 1.0);
  out.Real(50, 0.0);
  out.Int(71, 0);
  out.Real(42, 2.5);
  out.Add(3, "txt");
  out.Add(4, "");
  out.Add(0, "ENDTAB");
  out.Add(0, "TABLE");
  out.Add(2, "APPID");
  out.Int(70, 2);
  for (const char* app : {"ACAD", kXDataApp}) {
    out.Add(0, "APPID");
    out.Add(2, app);
    out.Int(70, 0);
  }
  out.Add(0, "ENDTAB");
  out.Add(0, "ENDSEC");
}

}  // namespace

std::string DxfTextOf(const vexhost::Drawing& drawing, std::vector<std::string>* warnings,
                      int* entityCount) {
  // Lasting segments that hold something, in drawing order; temporary drawing is never saved.
  std::vector<const vexhost::Segment*> segments;
  std::set<int> layers = {0};
  VexBox extent = vexhost::EmptyBox();
  for (const int id : drawing.SegmentIds()) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (!s || s->life != VEX_LIFE_LASTING || s->elements.empty()) continue;
    segments.push_back(s);
    layers.insert(s->layer);
    if (s->kind == VEX_SEGMENT_FIGURES) {
      if (const auto box = drawing.SegmentBounds(id)) vexhost::Include(extent, *box);
    }
  }
  for (const auto& [number, name] : drawing.layerNames()) layers.insert(number);
  for (const int hidden : drawing.hiddenLayers()) layers.insert(hidden);
  const NameEncoding names = EncodeNames(LayerNamesOf(drawing, layers));
  const std::map<int, std::string>& encoded = names.names;

  DxfWriter blocks, entities;
  ExportNotes notes;
  OutputFormat format;
  SegmentWriter writer(drawing, entities, blocks, notes, format);
  int written = 0;
  for (const vexhost::Segment* s : segments) written += writer.Write(*s, encoded.at(s->layer));
  if (entityCount) *entityCount = written;

  DxfWriter out;
  WriteHeader(out, extent, names.codePage);
  WriteTables(out, drawing, encoded);
  out.Add(0, "SECTION");
  out.Add(2, "BLOCKS");
  out.Append(blocks);
  out.Add(0, "ENDSEC");
  out.Add(0, "SECTION");
  out.Add(2, "ENTITIES");
  out.Append(entities);
  out.Add(0, "ENDSEC");
  out.Add(0, "EOF");
  if (warnings && notes.figuresWithoutForm > 0) {
    warnings->push_back("warning: " + std::to_string(notes.figuresWithoutForm) +
                        " figures of kinds 4 and 5 have no DXF form and were not written");
  }
  return out.text();
}

bool ExportDxf(const vexhost::Drawing& drawing, const std::string& path, std::string& error,
               std::vector<std::string>* warnings, int* entityCount) {
  try {
    return WriteFileAtomically(path, DxfTextOf(drawing, warnings, entityCount), error);
  } catch (const std::exception& e) {  // out of memory
    error = "cannot write " + path + ": " + e.what();
    return false;
  }
}

}  // namespace twinfind::dxf
