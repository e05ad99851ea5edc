// Block references of a file written anew from their groups: recoloured, copies moved along
// the drawing plane, and the copies of an array reference (MINSERT) one by one, everything else
// of the entity as it was. A recoloured reference refers to a copy of its block whose entities
// (texts aside) draw in BYBLOCK colour and line type, the blocks it holds copied the same way,
// so that a CAD program shows it in the colour and line type the reference carries; the block
// itself stays as it was for the other references.
#ifndef DXF_REFERENCE_WRITER_H
#define DXF_REFERENCE_WRITER_H

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "dxf/file_map.h"
#include "dxf/group_reader.h"
#include "dxf/output_format.h"

namespace twinfind::dxf {

// A colour (ACI) and line type (a name of the file's line-type table, as written).
struct EntityLook {
  int aci = 7;
  std::string lineType;
};

class ReferenceWriter {
 public:
  ReferenceWriter(const GroupList& file, const FileMap& map, OutputFormat& format)
      : file_(file), map_(map), format_(format) {}

  struct How {
    bool cell = false;               // one copy of an array reference:
    int column = 0, row = 0;         // this one
    double dx = 0, dy = 0;           // moved so far in the drawing plane
    bool keepParts = true;           // its ATTRIBs, moved along; false: without them
    std::optional<EntityLook> look;  // recoloured
    bool newHandles = false;         // a new entity: new handles for it and its parts
  };
  // The reference whose groups are [begin, end) (with its parts), written as `how` says.
  std::string Write(size_t begin, size_t end, const How& how);

  // The definitions of the block copies made so far, which the writer then forgets.
  std::string TakeBlockCopies() { return std::exchange(copies_, {}); }

  // The name the file's line-type table gives BYBLOCK (any case), or BYBLOCK.
  std::string ByBlockName() const;

 private:
  // The name of the BYBLOCK copy of a block, made (with the copies of the blocks it holds) on
  // first use; the name itself for a block the file does not define.
  std::string ByBlockCopyOf(std::string_view block);

  const GroupList& file_;
  const FileMap& map_;
  OutputFormat& format_;
  std::map<std::string, std::string> copyOf_;  // block name in capitals -> its copy's name
  std::string copies_;
};

}  // namespace twinfind::dxf

#endif  // DXF_REFERENCE_WRITER_H
