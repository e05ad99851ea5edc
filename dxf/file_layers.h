// The names a drawing's layers are written under when it is saved into a file: the name a file
// gives a layer (in its layer table or on its entities, as written there), or for a layer the
// file does not have, a new name to add to its layer table.
#ifndef DXF_FILE_LAYERS_H
#define DXF_FILE_LAYERS_H

#include <map>
#include <string>
#include <vector>

#include "dxf/file_map.h"
#include "dxf/group_reader.h"
#include "dxf/text_codec.h"
#include "host/drawing.h"

namespace twinfind::dxf {

class FileLayers {
 public:
  FileLayers(const GroupList& file, const FileMap& map, const vexhost::Drawing& drawing)
      : file_(file),
        map_(map),
        drawing_(drawing),
        encoding_(EncodingOf(map.version, map.codePage)) {}

  // The host layer's name as the file writes it. A layer is the file's when the host's name for
  // it (or its number) is one of the file's names, without regard to case as DXF compares them;
  // else it is new: its name made safe for DXF and written in the file's code page.
  std::string NameOf(int layer);
  // The new layers' names, as written, in the order they were first asked for.
  const std::vector<std::string>& added() const { return added_; }

 private:
  void ReadFileLayers();

  const GroupList& file_;
  const FileMap& map_;
  const vexhost::Drawing& drawing_;
  TextEncoding encoding_;
  std::map<int, std::string> names_;               // host layer -> name as written
  std::map<std::string, std::string> fileLayers_;  // name in capitals -> as written
  std::vector<std::string> added_;
};

}  // namespace twinfind::dxf

#endif  // DXF_FILE_LAYERS_H
