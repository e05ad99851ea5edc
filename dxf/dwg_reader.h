// DWG drawings, read by a maintained reader we do not write: LibreDWG as WebAssembly (the npm
// package @mlightcad/libredwg-web, GPL-3.0), run by Node in a process of its own for each
// drawing (tools/dwg/dwg_to_dxf.mjs), which writes the drawing as DXF; the DXF is then read as
// any DXF file is. The process is bounded in time and memory, and whatever becomes of it (no
// Node, no package, a crash, a drawing it refuses) ends in one message. One file for each
// platform: dwg_reader_posix.cpp, dwg_reader_win32.cpp.
#ifndef DXF_DWG_READER_H
#define DXF_DWG_READER_H

#include <cstdint>
#include <optional>
#include <string>

namespace twinfind::dxf {

// What a file's first bytes say: a DWG file's version ("AC1032"), or nothing when it is no
// DWG file (it does not start with "AC10" and two digits).
std::optional<std::string> DwgVersionOf(const std::string& path);

// Whether the reader takes a DWG of that version (R14, AC1014, to R2018, AC1032), and the
// release's name for a message ("R2018", "R12").
bool DwgVersionRead(const std::string& version);
std::string DwgReleaseName(const std::string& version);

struct DwgReaderLimits {
  double seconds = 120;               // the reader is stopped after this long
  uint64_t memoryBytes = 4ull << 30;  // or when it holds more memory than this
};

// The DWG file at `path` as DXF text, read by the reader program; false with `error` (the
// reason alone, as "the DWG reader ran past 120 s") when it could not be read. The reader
// program is TWINFIND_DWG_READER when set, else the checkout's tools/dwg/dwg_to_dxf.mjs; Node
// is `node` on the PATH.
bool ReadDwgAsDxf(const std::string& path, const DwgReaderLimits& limits, std::string& dxfText,
                  std::string& error);

// The command that installs Node and the reader package, for the messages.
inline constexpr const char* kDwgInstallCommand = "./dev dwg";

}  // namespace twinfind::dxf

#endif  // DXF_DWG_READER_H
