#include "dxf/dxf_import.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <optional>
#include <utility>

#include "common/path_name.h"
#include "dxf/dwg_reader.h"
#include "dxf/group_reader.h"
#include "dxf/host_builder.h"
#include "dxf/memory_limit.h"
#include "dxf/model_reader.h"

namespace twinfind::dxf {
namespace {

// What the host takes per element (a figure or comment with its record, its share of the
// segment tables, the spatial index and the baseline) and per segment besides, measured on
// drawings of millions of lines: the estimate of a build before it starts.
constexpr uint64_t kHostBytesPerElement = 400;
constexpr uint64_t kHostBytesPerSegment = 300;

// Why the host takes no entity of a type, for the types met most often.
std::string ReasonForType(const std::string& type) {
  static const std::map<std::string, std::string> reasons = {
      {"HATCH", "the host holds no hatch patterns or fills"},
      {"SOLID", "the host holds no filled areas"},
      {"WIPEOUT", "the host holds no masking areas"},
      {"DIMENSION", "the host holds no dimensions"},
      {"LEADER", "the host holds no leaders"},
      {"MULTILEADER", "the host holds no leaders"},
      {"VIEWPORT", "the host holds no viewports"},
      {"IMAGE", "the host holds no images"},
      {"3DSOLID", "the host holds no 3D bodies"},
      {"3DFACE", "the host holds no 3D faces"},
      {"REGION", "the host holds no regions"},
      {"XLINE", "the host holds no infinite lines"},
      {"RAY", "the host holds no infinite lines"},
  };
  const auto it = reasons.find(type);
  return it != reasons.end() ? it->second : "the host cannot hold this type";
}

std::string Plural(int n, const std::string& type) {
  return std::to_string(n) + " " + type + (n == 1 ? " entity" : " entities");
}

// What a drawing given as a file is when it is no regular file; nothing when it is one, or when
// it is not there at all (which the import reports). Found from its entry alone.
std::optional<std::string> NotAFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  switch (fs::status(path, ec).type()) {
    case fs::file_type::directory:
      return "a directory";
    case fs::file_type::fifo:
      return "a FIFO (a named pipe)";
    case fs::file_type::character:
    case fs::file_type::block:
      return "a device";
    case fs::file_type::socket:
      return "a socket";
    case fs::file_type::regular:
    case fs::file_type::not_found:
    case fs::file_type::none:
      return std::nullopt;
    default:
      return "not a regular file";
  }
}

}  // namespace

namespace {

std::string LowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

}  // namespace

bool IsDwgName(const std::string& path) { return LowerExtension(path) == ".dwg"; }

bool IsDxfName(const std::string& path) { return LowerExtension(path) == ".dxf"; }

std::vector<std::string> ImportResult::WarningLines() const {
  std::vector<std::string> lines;
  if (!endMarker) {
    lines.push_back("warning: the file ends at line " + std::to_string(this->lines) +
                    " without its end marker (0 EOF): it may have been cut short");
  }
  for (const auto& [key, n] : notHeld) {
    const size_t open = key.find(" (");
    if (open == std::string::npos || key.back() != ')') {
      lines.push_back("warning: " + Plural(n, key) + " not imported: " + ReasonForType(key));
      continue;
    }
    const std::string type = key.substr(0, open);
    const std::string why = key.substr(open + 2, key.size() - open - 3);
    if (why == "paper space") {
      lines.push_back("warning: " + Plural(n, type) +
                      " in paper space not imported: the host holds model space only");
    } else {
      lines.push_back("warning: " + Plural(n, type) + " not imported: " + why);
    }
  }
  for (const auto& [name, n] : unknownLineTypes) {
    lines.push_back("warning: line type " + name + " is not one of the host's: " +
                    std::to_string(n) + (n == 1 ? " figure" : " figures") + " drawn continuous");
  }
  if (coarserCurves > 0) {
    const bool one = coarserCurves == 1;
    lines.push_back("warning: " + std::to_string(coarserCurves) +
                    (one ? " spline or ellipse" : " splines and ellipses") +
                    " drawn within a billionth of " + (one ? "its" : "their") +
                    " size, coarser than the chord tolerance asked: finer lines would follow "
                    "the rounding of " +
                    (one ? "its" : "their") + " numbers, not " + (one ? "its" : "their") +
                    " shape");
  }
  return lines;
}

ImportResult ImportDxfText(std::string text, vexhost::Drawing& drawing,
                           const ImportOptions& options) {
  ImportResult result;
  if (text.size() > kMaxDxfBytes) {  // offsets into the file are 32 bits
    result.error = "the file is too large to read (" + std::to_string(text.size()) + " bytes)";
    return result;
  }
  if (!CheckDxfText(text, result.error)) return result;
  MemoryWatch watch(options.memoryLimit.value_or(DefaultMemoryLimit()));
  const FlattenLimits limits{options.blockWeightLimit, options.blockCopyLimit};
  const std::vector<int> before = drawing.SegmentIds();
  BuildCounts counts;
  try {
    auto model = std::make_unique<Model>();
    const ReadOutcome read = ReadModel(
        text, *model, [&watch] { return watch.Fits(); }, options.chordTolerance,
        options.mostCurveLines);
    if (!read.ok) {
      result.error = watch.exceeded() ? watch.Refusal() : read.error;
      return result;
    }
    // The model's tables grew as they were read; they are held at their size while the drawing
    // is built beside them.
    model->modelSpace.items.shrink_to_fit();
    model->modelSpace.figures.shrink_to_fit();
    model->entities.shrink_to_fit();
    result.coarserCurves = model->coarserCurves;
    result.endMarker = read.endMarker;
    result.lines = read.lines;
    if (!read.endMarker && !read.sawEntities) {
      // Nothing of the drawing came: an empty drawing would be no answer.
      result.error =
          "the file is cut short: it ends at line " + std::to_string(read.lines) +
          (read.lastSection.empty() ? "" : " after its " + read.lastSection + " section") +
          ", with no entities and no end marker (0 EOF)";
      return result;
    }
    // What building will take, told before any of it is built.
    const uint64_t planned = PlannedElements(*model, limits) * kHostBytesPerElement +
                             model->modelSpace.items.size() * kHostBytesPerSegment;
    if (!watch.Fits(planned)) {
      result.error = watch.Refusal();
      return result;
    }
    counts.entities = std::move(model->entities);
    BuildDrawing(*model, drawing, counts, limits, watch);
    model.reset();
    result.source = std::make_shared<const DxfSource>(std::move(text), std::move(counts.entities),
                                                      std::move(counts.cells));
    drawing.MarkBaseline();
  } catch (const std::exception& e) {  // out of memory, mostly: nothing half-built stays
    for (const int id : drawing.SegmentIds()) {
      if (!std::binary_search(before.begin(), before.end(), id)) drawing.DeleteSegment(id);
    }
    result.source.reset();
    result.error = dynamic_cast<const MemoryLimitReached*>(&e)
                       ? watch.Refusal()
                       : std::string("cannot read the drawing: ") + e.what();
    return result;
  }
  result.ok = true;
  result.segments = counts.segments;
  result.notHeld = std::move(counts.notHeld);
  result.unknownLineTypes = std::move(counts.unknownLineTypes);
  return result;
}

ImportResult ImportDxf(const std::string& path, vexhost::Drawing& drawing,
                       const ImportOptions& options) {
  ImportResult result;
  std::string bytes;
  if (!ReadFileBytes(path, bytes, result.error)) return result;
  result = ImportDxfText(std::move(bytes), drawing, options);
  if (!result.ok) result.error = path + ": " + result.error;
  return result;
}

ImportResult OpenDrawingFile(const std::string& path, vexhost::Drawing& drawing,
                             const ImportOptions& options) {
  ImportResult result;
  if (std::string error; !PathNameAllowed(path, error)) {
    result.error = "cannot read the drawing: " + error;
    return result;
  }
  if (const std::optional<std::string> kind = NotAFile(path)) {
    result.error = "cannot read the drawing " + path + ": it is " + *kind +
                   "; a drawing is read from a DXF file";
    return result;
  }
  if (const std::optional<std::string> dwg = DwgVersionOf(path)) {
    const std::string release = DwgReleaseName(*dwg);
    if (!DwgVersionRead(*dwg)) {
      result.error = "cannot read the drawing " + path + ": it is a DWG file of version " + *dwg +
                     " (" + release + "); the DWG reader takes R14 (AC1014) to R2018 " +
                     "(AC1032): save it as DXF or as a DWG of those versions";
      return result;
    }
    DwgReaderLimits limits;
    limits.memoryBytes = options.memoryLimit.value_or(DefaultMemoryLimit());
    if (const char* seconds = std::getenv("TWINFIND_DWG_SECONDS"); seconds && *seconds) {
      limits.seconds = std::max(0.1, std::atof(seconds));
    }
    std::string text, error;
    if (!ReadDwgAsDxf(path, limits, text, error)) {
      result.error = "cannot read the drawing " + path + " (DWG " + release + "): " + error;
      return result;
    }
    result = ImportDxfText(std::move(text), drawing, options);
    if (!result.ok) {
      result.error = "cannot read the drawing " + path + " (DWG " + release +
                     "): the DXF its reader wrote: " + result.error;
    }
    result.dwgVersion = *dwg;
    return result;
  }
  if (IsDwgName(path)) {
    result.error = "cannot read the drawing " + path +
                   ": it is named .dwg but is no DWG file (it does not start with a DWG "
                   "version such as AC1032)";
    return result;
  }
  result = ImportDxf(path, drawing, options);
  if (!result.ok) result.error = "cannot read the drawing " + path + ": " + result.error;
  return result;
}

}  // namespace twinfind::dxf
