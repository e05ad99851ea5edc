#include "parts/part_split.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <system_error>

#include "common/atomic_file.h"
#include "common/path_name.h"
#include "common/text_fields.h"
#include "dxf/entity_pieces.h"
#include "dxf/part_file.h"
#include "parts/drawing_unit.h"
#include "parts/part_outline.h"
#include "parts/part_svg.h"

namespace twinfind::parts {
namespace fs = std::filesystem;
namespace {

// A number in the shortest form that reads back as itself, rounded to 1e-9 of the drawing unit
// so that sums of figures print as a person would write them.
std::string Number(double value) {
  if (!std::isfinite(value)) return "null";
  value = std::round(value * 1e9) / 1e9;
  if (value == 0) value = 0;  // no "-0"
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string Joined(const std::vector<std::string>& words, const std::string& separator) {
  std::string out;
  for (size_t i = 0; i < words.size(); ++i) out += (i ? separator : "") + words[i];
  return out;
}

// A block name as part of a file name: letters, digits, '-', '_' and '.'; anything else '_'.
std::string FileWord(const std::string& name) {
  std::string word;
  for (const char c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_' || c == '.';
    word += plain ? c : '_';
  }
  while (!word.empty() && (word.front() == '_' || word.front() == '.')) word.erase(0, 1);
  if (word.size() > 60) word.resize(60);
  return word;
}

struct FilePlan {
  SplitRow row;
  const PartMember* member = nullptr;
  std::vector<dxf::EntityPiece> pieces;
};

SplitMember MemberOf(const dxf::DxfSource& source, const PartMember& base, const PartMember& m) {
  const PlaneMap between = MotionBetween(base, m);
  return {source.SourceHandles(m.segments), TurnDegrees(between), between.flips()};
}

// The unit the lists give sizes in, and what a drawing unit is in it. False, with the reason,
// for millimetres asked of a drawing that names no unit.
bool ListUnit(const DrawingUnit& drawn, const SplitOptions& options, DrawingUnit& unit,
              double& scale, std::string& error) {
  unit = drawn;
  scale = 1;
  if (!options.millimetres) return true;
  if (unit.millimetres <= 0) {
    error = "the drawing names no unit ($INSUNITS): its sizes cannot be given in millimetres";
    return false;
  }
  scale = unit.millimetres;
  unit = Millimetres();
  return true;
}

std::vector<FilePlan> Plans(const vexhost::Drawing& drawing, const dxf::DxfSource& source,
                            const std::vector<PartFamily>& families, const SplitOptions& options,
                            const DrawingUnit& unit, double scale) {
  std::vector<FilePlan> plans;
  const int digits = std::max<int>(2, static_cast<int>(std::to_string(families.size()).size()));
  for (const PartFamily& family : families) {
    if (family.members.empty()) continue;
    const PartMember& searched = family.members.front();
    const PartMember* other = nullptr;  // the first of the other hand
    for (const PartMember& m : family.members) {
      if (m.mirrored() != searched.mirrored() && other == nullptr) other = &m;
    }
    const bool twoHands = options.hands && other != nullptr;
    char number[32];
    std::snprintf(number, sizeof number, "part-%0*d", digits, family.number);
    for (int hand = 0; hand < (twoHands ? 2 : 1); ++hand) {
      FilePlan plan;
      plan.member = hand == 0 ? &searched : other;
      plan.pieces = dxf::PiecesOf(source, plan.member->segments);
      SplitRow& row = plan.row;
      row.family = family.number;
      if (plan.pieces.size() == 1) row.block = dxf::ReferencedBlock(source, plan.pieces.front());
      const std::string word = FileWord(row.block);
      row.file =
          std::string(number) + (word.empty() ? "" : "-" + word) + (hand == 1 ? "-mirrored" : "");
      for (const PartMember& m : family.members) {
        const bool flipped = m.mirrored() != plan.member->mirrored();
        if (twoHands && flipped) continue;  // cut from the other hand's file
        row.members.push_back(MemberOf(source, *plan.member, m));
        ++row.count;
        row.mirrored += flipped ? 1 : 0;
      }
      row.file += (options.quantityInNames ? "." + std::to_string(row.count) : "") + ".dxf";
      row.measures = MeasurePart(drawing, plan.member->segments);
      const PartMeasures& m = row.measures;
      row.sizes = {scale * (m.box.maxX - m.box.minX), scale * (m.box.maxY - m.box.minY),
                   scale * m.cutLength, scale * scale * m.outerArea};
      row.unit = unit.name;
      plans.push_back(std::move(plan));
    }
  }
  return plans;
}

// Removes what a failed split wrote, and the folder when the split made it and it is empty.
void Undo(const std::vector<std::string>& written, const std::string& folder, bool made) {
  std::error_code ec;
  for (const std::string& path : written) fs::remove(path, ec);
  if (made) fs::remove(folder, ec);  // only an empty folder is removed
}

}  // namespace

bool CheckSplitFolder(const std::string& folder, std::string& error) {
  if (!PathNameAllowed(folder, error)) return false;
  std::error_code ec;
  const fs::path path(folder);
  const fs::file_status status = fs::symlink_status(path, ec);
  if (fs::exists(status)) {
    if (!fs::is_directory(fs::status(path, ec))) {
      error = "--split " + folder + " is not a folder: give a new or empty folder";
      return false;
    }
    if (!fs::is_empty(path, ec) || ec) {
      error = "--split " + folder +
              " is not empty: give a new or empty folder, so that part files are not mixed "
              "with others";
      return false;
    }
    // The folder must take the part files: no link on the way that another user may have
    // planted, and a folder the user can make files in, told before the survey's work.
    std::string probe;
    if (!CheckWriteTarget((path / ".twinfind-split-check").string(), probe)) {
      error = "--split " + folder + " cannot take the part files: " + probe;
      return false;
    }
    return true;
  }
  // A new folder: the nearest folder on the way that exists must take new entries.
  fs::path parent = fs::absolute(path, ec).parent_path();
  while (!parent.empty() && !fs::exists(parent, ec)) parent = parent.parent_path();
  if (parent.empty() || !fs::is_directory(parent, ec)) {
    error = "--split " + folder + " cannot be made: " + parent.string() + " is not a folder";
    return false;
  }
  std::string probe;
  if (!CheckWriteTarget((parent / ".twinfind-split-check").string(), probe)) {
    error = "--split " + folder + " cannot be made: " + probe;
    return false;
  }
  return true;
}

std::vector<SplitRow> SplitRows(const vexhost::Drawing& drawing, const dxf::DxfSource& source,
                                const std::vector<PartFamily>& families,
                                const SplitOptions& options) {
  std::vector<SplitRow> rows;
  DrawingUnit unit;
  double scale = 1;
  std::string error;
  if (!ListUnit(UnitOfDrawing(source.text()), options, unit, scale, error)) return rows;
  for (FilePlan& plan : Plans(drawing, source, families, options, unit, scale)) {
    rows.push_back(plan.row);
  }
  return rows;
}

SplitResult SplitParts(const vexhost::Drawing& drawing, const dxf::DxfSource& source,
                       const std::vector<PartFamily>& families, const std::string& folder,
                       const SplitOptions& options) {
  SplitResult result;
  if (!CheckSplitFolder(folder, result.error)) return result;
  DrawingUnit unit;
  double scale = 1;
  const DrawingUnit drawn = UnitOfDrawing(source.text());
  if (!ListUnit(drawn, options, unit, scale, result.error)) return result;
  std::vector<FilePlan> plans = Plans(drawing, source, families, options, unit, scale);
  if (plans.empty()) {
    result.ok = true;
    return result;
  }
  std::error_code ec;
  const bool made = !fs::exists(folder, ec);
  if (made && !fs::create_directories(folder, ec)) {
    result.error = "cannot make the folder " + folder + ": " + ec.message();
    return result;
  }
  try {
    const dxf::PartFileWriter writer(source);
    for (FilePlan& plan : plans) {
      const VexBox& box = plan.row.measures.box;
      const VexBox extent{0, 0, box.maxX - box.minX, box.maxY - box.minY};
      const std::string text = writer.Text(plan.pieces, -box.minX, -box.minY, extent);
      const std::string path = (fs::path(folder) / plan.row.file).string();
      if (!WriteFileAtomically(path, text, result.error)) {
        Undo(result.written, folder, made);
        result.written.clear();
        return result;
      }
      result.written.push_back(path);
      plan.row.path = fs::absolute(path, ec).lexically_normal().string();
      result.rows.push_back(plan.row);
    }
  } catch (const std::exception& e) {
    result.error = std::string("cannot make the part files: ") + e.what();
    Undo(result.written, folder, made);
    result.written.clear();
    result.rows.clear();
    return result;
  }
  std::vector<std::pair<std::string, std::string>> lists = {
      {"parts.csv", PartsCsv(result.rows)},
      {"parts.json", PartsJson(result.rows, options.drawing, unit.name)}};
  if (options.svg) {
    // The pictures are in the drawing's unit, as the part files are.
    std::vector<PartOutline> outlines;
    outlines.reserve(plans.size());
    std::vector<SheetPart> sheet;
    for (const FilePlan& plan : plans) {
      outlines.push_back(OutlineOf(drawing, plan.member->segments, kCoordinateTolerance));
      const std::string& file = plan.row.file;
      lists.emplace_back(file.substr(0, file.size() - 4) + ".svg",
                         PartSvg(outlines.back(), drawn.name));
      sheet.push_back({&outlines.back(), file, plan.row.count, plan.row.mirrored});
    }
    lists.emplace_back("sheet.svg", SheetSvg(sheet, drawn.name));
  }
  for (const auto& [name, text] : lists) {
    const std::string path = (fs::path(folder) / name).string();
    if (!WriteFileAtomically(path, text, result.error)) {
      Undo(result.written, folder, made);
      result.written.clear();
      result.rows.clear();
      return result;
    }
    result.written.push_back(path);
  }
  result.ok = true;
  return result;
}

std::string PartsCsv(const std::vector<SplitRow>& rows) {
  // The file and its quantity first: the two columns nesting programs import.
  std::string out =
      "path,quantity,file,family,mirrored,width,height,cut_length,pierces,area,unit,layer\n";
  for (const SplitRow& r : rows) {
    const ListedSizes& s = r.sizes;
    out += CsvField(r.path) + "," + std::to_string(r.count) + "," + CsvField(r.file) + "," +
           std::to_string(r.family) + "," + std::to_string(r.mirrored) + "," + Number(s.width) +
           "," + Number(s.height) + "," + Number(s.cutLength) + "," +
           std::to_string(r.measures.loops) + "," + Number(s.area) + "," + CsvField(r.unit) + "," +
           CsvField(Joined(r.measures.layers, ";")) + "\n";
  }
  return out;
}

std::string PartsJson(const std::vector<SplitRow>& rows, const std::string& drawing,
                      const std::string& unit) {
  std::string out = "{\n  \"version\": 2,\n  \"drawing\": " + JsonText(drawing) +
                    ",\n  \"unit\": " + JsonText(unit) + ",\n  \"parts\": [";
  for (size_t i = 0; i < rows.size(); ++i) {
    const SplitRow& r = rows[i];
    const PartMeasures& m = r.measures;
    const ListedSizes& s = r.sizes;
    std::vector<std::string> layers, members;
    for (const std::string& layer : m.layers) layers.push_back(JsonText(layer));
    for (const SplitMember& member : r.members) {
      std::vector<std::string> handles;
      for (const std::string& h : member.handles) handles.push_back(JsonText(h));
      members.push_back("{\"handles\": [" + Joined(handles, ", ") +
                        "], \"angle\": " + Number(member.angleDegrees) +
                        ", \"mirrored\": " + (member.mirrored ? "true" : "false") + "}");
    }
    out += std::string(i ? "," : "") + "\n    {\"file\": " + JsonText(r.file) +
           ", \"path\": " + JsonText(r.path) + ", \"family\": " + std::to_string(r.family) +
           ", \"count\": " + std::to_string(r.count) +
           ", \"mirrored\": " + std::to_string(r.mirrored) + ", \"width\": " + Number(s.width) +
           ", \"height\": " + Number(s.height) + ", \"cutLength\": " + Number(s.cutLength) +
           ", \"pierces\": " + std::to_string(m.loops) + ", \"area\": " + Number(s.area) +
           ", \"layers\": [" + Joined(layers, ", ") +
           "], \"block\": " + (r.block.empty() ? "null" : JsonText(r.block)) +
           ",\n     \"members\": [" + Joined(members, ", ") + "]}";
  }
  return out + "\n  ]\n}\n";
}

}  // namespace twinfind::parts
