// Changes to a file's bytes, applied all at once: stretches replaced (an entity rewritten or
// removed) and texts inserted (new entities, table entries, sections). The bytes between them
// are written as they were.
#ifndef DXF_FILE_EDITS_H
#define DXF_FILE_EDITS_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace twinfind::dxf {

class FileEdits {
 public:
  void Replace(uint32_t begin, uint32_t end, std::string text);
  // Texts inserted at one place are written in the order they were given.
  void Insert(uint32_t at, std::string text) { Replace(at, at, std::move(text)); }
  bool empty() const { return edits_.empty(); }

  // The original with the edits; throws std::logic_error when two replaced stretches overlap.
  std::string Apply(std::string_view original) const;

 private:
  struct Edit {
    uint32_t begin = 0, end = 0;
    std::string text;
    size_t order = 0;
  };
  std::vector<Edit> edits_;
};

// Text built with "\n" line ends, given the file's line ends.
std::string WithLineEnds(std::string text, std::string_view lineEnd);

}  // namespace twinfind::dxf

#endif  // DXF_FILE_EDITS_H
