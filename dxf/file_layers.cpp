#include "dxf/file_layers.h"

#include <algorithm>
#include <string_view>

#include "common/utf.h"
#include "dxf/line_type_names.h"

namespace twinfind::dxf {
namespace {

// Characters DXF does not allow in table names.
constexpr std::string_view kBadNameCharacters = "<>/\\\":;?*|=`";

}  // namespace

std::string FileLayers::NameOf(int layer) {
  if (const auto it = names_.find(layer); it != names_.end()) return it->second;
  if (fileLayers_.empty()) ReadFileLayers();
  const auto named = drawing_.layerNames().find(layer);
  std::string name = named != drawing_.layerNames().end() && !named->second.empty()
                         ? named->second
                         : std::to_string(layer);
  if (const auto known = fileLayers_.find(UpperCase(name)); known != fileLayers_.end()) {
    return names_[layer] = known->second;
  }
  for (char& c : name) {
    if (kBadNameCharacters.find(c) != std::string_view::npos ||
        static_cast<unsigned char>(c) < 0x20) {
      c = '_';
    }
  }
  std::string written = name;
  const bool ascii = std::all_of(name.begin(), name.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii && !encoding_.utf8) {
    const auto bytes = EncodeInCodePage(ToUtf16(name), encoding_.codePage);
    written = bytes ? *bytes : EncodeValue(ToUtf16(name), false);
  }
  fileLayers_[UpperCase(name)] = written;
  added_.push_back(written);
  return names_[layer] = written;
}

void FileLayers::ReadFileLayers() {
  auto note = [&](std::string_view raw) {
    const std::string name = ToUtf8(DecodeValue(Trimmed(raw), encoding_));
    fileLayers_.emplace(UpperCase(name), std::string(Trimmed(raw)));
  };
  if (const MappedTable* layers = map_.Table("LAYER")) {
    for (const MappedEntry& e : layers->entries) note(e.name);
  }
  if (const MappedSection* entities = map_.Section("ENTITIES")) {
    for (size_t i = entities->begin; i < entities->end; ++i) {
      if (file_.groups[i].code == 8) note(file_.groups[i].value);
    }
  }
  fileLayers_.emplace("", "0");  // read once, even from a file that names no layer
}

}  // namespace twinfind::dxf
