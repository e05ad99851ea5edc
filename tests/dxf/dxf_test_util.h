// Helpers for the DXF tests: DXF text written by hand, group by group; the real drawings'
// folder; a scratch folder; reading back what a drawing holds.
#ifndef TESTS_DXF_DXF_TEST_UTIL_H
#define TESTS_DXF_DXF_TEST_UTIL_H

#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "host/drawing.h"

namespace dxftest {

// "code\nvalue\n" for each pair.
inline std::string Groups(const std::vector<std::pair<int, std::string>>& pairs) {
  std::string text;
  for (const auto& [code, value] : pairs) text += std::to_string(code) + "\n" + value + "\n";
  return text;
}

// A whole file: optional layer table entries, block definitions and entities.
inline std::string File(const std::string& entities, const std::string& blocks = "",
                        const std::string& layers = "") {
  std::string text = Groups({{0, "SECTION"},
                             {2, "HEADER"},
                             {9, "$ACADVER"},
                             {1, "AC1015"},
                             {0, "ENDSEC"},
                             {0, "SECTION"},
                             {2, "TABLES"},
                             {0, "TABLE"},
                             {2, "LAYER"}});
  text += layers;
  text += Groups({{0, "ENDTAB"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "BLOCKS"}});
  text += blocks;
  text += Groups({{0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}});
  text += entities;
  text += Groups({{0, "ENDSEC"}, {0, "EOF"}});
  return text;
}

inline std::string Layer(const std::string& name, int color, int flags = 0,
                         const std::string& lineType = "CONTINUOUS") {
  return Groups({{0, "LAYER"},
                 {2, name},
                 {70, std::to_string(flags)},
                 {62, std::to_string(color)},
                 {6, lineType}});
}

inline std::string Block(const std::string& name, const std::string& contents, double baseX = 0,
                         double baseY = 0) {
  return Groups({{0, "BLOCK"},
                 {8, "0"},
                 {2, name},
                 {70, "0"},
                 {10, std::to_string(baseX)},
                 {20, std::to_string(baseY)},
                 {30, "0"},
                 {3, name}}) +
         contents + Groups({{0, "ENDBLK"}, {8, "0"}});
}

inline std::string Line(double x1, double y1, double x2, double y2,
                        std::vector<std::pair<int, std::string>> style = {{8, "0"}}) {
  style.insert(style.begin(), {0, "LINE"});
  for (const auto& [code, v] : std::vector<std::pair<int, double>>{
           {10, x1}, {20, y1}, {30, 0}, {11, x2}, {21, y2}, {31, 0}}) {
    style.push_back({code, std::to_string(v)});
  }
  return Groups(style);
}

// The folder of the real drawings kept in the repository.
inline std::filesystem::path RealDrawings() { return TWINFIND_REAL_DRAWINGS; }

// A new empty folder for one test's files, removed when it goes.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "twinfind-dxf-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  // The names of the files in it.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_)) {
      names.push_back(e.path().filename().string());
    }
    return names;
  }

 private:
  std::filesystem::path path_;
};

// The figures of a segment, in order.
inline std::vector<FigureRecord> FiguresOf(const vexhost::Drawing& d, int segment) {
  std::vector<FigureRecord> figures;
  for (const int id : d.FindSegment(segment)->elements) {
    const vexhost::Element* e = d.FindElement(id);
    if (!e->comment) figures.push_back(e->figure);
  }
  return figures;
}

inline LineAttr AttrOf(const vexhost::Drawing& d, int segment, size_t figure = 0) {
  return d.FindElement(d.FindSegment(segment)->elements.at(figure))->lineAttr.value_or(LineAttr{});
}

}  // namespace dxftest

#endif  // TESTS_DXF_DXF_TEST_UTIL_H
