// The text a save writes for twins made block references (block_request.h): the definition of a
// new block from a member's entity text (moved so the member's base point lies at the block's
// origin, new handles, owned by the block's record), and the reference that stands for a twin.
#ifndef DXF_BLOCK_WRITER_H
#define DXF_BLOCK_WRITER_H

#include <optional>
#include <string>
#include <vector>

#include "dxf/block_request.h"
#include "dxf/file_map.h"
#include "dxf/group_reader.h"
#include "dxf/output_format.h"
#include "dxf/owned_objects.h"

namespace twinfind::dxf {

// How a reference draws its block: insertion point, scales and turn (degrees), in the plane's
// own terms (extrusion 0, 0, 1).
struct ReferenceForm {
  double x = 0, y = 0;
  double sx = 1, sy = 1, sz = 1;
  double degrees = 0;
};

class BlockWriter {
 public:
  // With `owned`, a member keeps a copy of its extension dictionary (and what that owns).
  BlockWriter(const GroupList& file, const FileMap& map, OutputFormat& format,
              OwnedObjects* owned = nullptr)
      : file_(file), map_(map), format_(format), owned_(owned) {}

  // A new block named `name` holding the entities' text (as the save would write them in the
  // model space), moved by (dx, dy); its definition is kept for TakeDefinitions, the copies of
  // what its members own for TakeObjects.
  void Define(const std::string& name, const std::vector<std::string>& entityTexts, double dx,
              double dy);

  // How the reference at the file's groups [begin, end) draws its block, and its block's name;
  // nothing when it lies out of the drawing plane or has no name.
  std::optional<ReferenceForm> FormOf(size_t begin, size_t end, std::string& block) const;

  // The reference of `block` that takes `form` further by `placement`, on `layer`.
  std::string Reference(const std::string& block, const ReferenceForm& form,
                        const PlaneMap& placement, const std::string& layer);

  // A block name the file does not have yet: `base`, else `base_2`, `base_3`, ...
  std::string NewBlockName(const std::string& base) { return format_.NewBlockName(base); }

  std::string TakeDefinitions() { return std::exchange(definitions_, {}); }
  // For the end of the OBJECTS section.
  std::string TakeObjects() { return std::exchange(objects_, {}); }

 private:
  const GroupList& file_;
  const FileMap& map_;
  OutputFormat& format_;
  OwnedObjects* owned_;
  std::string definitions_;
  std::string objects_;
};

}  // namespace twinfind::dxf

#endif  // DXF_BLOCK_WRITER_H
