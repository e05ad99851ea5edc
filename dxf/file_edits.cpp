#include "dxf/file_edits.h"

#include <algorithm>
#include <stdexcept>

namespace twinfind::dxf {

void FileEdits::Replace(uint32_t begin, uint32_t end, std::string text) {
  edits_.push_back({begin, end, std::move(text), edits_.size()});
}

std::string FileEdits::Apply(std::string_view original) const {
  std::vector<const Edit*> sorted;
  for (const Edit& e : edits_) sorted.push_back(&e);
  std::sort(sorted.begin(), sorted.end(), [](const Edit* a, const Edit* b) {
    if (a->begin != b->begin) return a->begin < b->begin;
    // At one place, insertions come before a stretch that is replaced there.
    if ((a->begin == a->end) != (b->begin == b->end)) return a->begin == a->end;
    return a->order < b->order;
  });
  std::string out;
  out.reserve(original.size());
  size_t at = 0;
  for (const Edit* e : sorted) {
    if (e->begin < at || e->end < e->begin || e->end > original.size()) {
      throw std::logic_error("overlapping changes to the file");
    }
    out.append(original.substr(at, e->begin - at));
    out += e->text;
    at = e->end;
  }
  out.append(original.substr(at));
  return out;
}

std::string WithLineEnds(std::string text, std::string_view lineEnd) {
  if (lineEnd == "\n") return text;
  std::string converted;
  converted.reserve(text.size() + text.size() / 8);
  for (const char c : text) {
    if (c == '\n') {
      converted += lineEnd;
    } else {
      converted += c;
    }
  }
  return converted;
}

}  // namespace twinfind::dxf
