// A stretch of a DXF file's groups (an entity with its parts, a block definition) to be written
// back with some groups changed, removed or added. Groups left alone are written as their
// bytes were; changed and new ones in our layout, with the file's line ends.
#ifndef DXF_GROUP_EDITOR_H
#define DXF_GROUP_EDITOR_H

#include <string>
#include <string_view>
#include <vector>

#include "dxf/group_reader.h"

namespace twinfind::dxf {

class GroupEditor {
 public:
  GroupEditor(const GroupList& file, size_t begin, size_t end, std::string_view lineEnd);

  size_t size() const { return items_.size(); }
  int code(size_t i) const { return items_[i].code; }
  // The value without the spaces around it.
  std::string_view value(size_t i) const;

  void Set(size_t i, std::string value);
  void Erase(size_t i);
  void Erase(size_t from, size_t to);
  // Removes the groups at the indices (in any order, each once or more) in one pass.
  void EraseEach(std::vector<size_t> indices);
  void Insert(size_t at, int code, std::string value);

  // The heads of the entities in the stretch: the index of each group 0.
  std::vector<size_t> Heads() const;
  // The end of the head that starts at `head`: its next group 0, or the end.
  size_t HeadEnd(size_t head) const;
  // The first group with the code in [from, to); `to` when there is none.
  size_t Find(int code, size_t from, size_t to) const;

  std::string Text() const;

 private:
  struct Item {
    int code = 0;
    std::string_view raw;  // the group's bytes as read; empty for a changed or new group
    std::string value;     // a changed or new group's value
  };
  std::vector<Item> items_;
  std::string lineEnd_;
};

// Sets the colour (an ACI, 0 BYBLOCK) and the line type (a name, or BYBLOCK) of the entity
// whose head starts at `head`: existing groups 62 and 6 changed, a true colour (420) and a
// colour name (430) removed, missing groups added after the layer. The groups of the entity's
// common part are changed, never the same codes of its own data or extended data.
void SetEntityStyle(GroupEditor& e, size_t head, int aci, const std::string& lineType);

// The first group with the code in the head that starts at `head`, before its extended data;
// the head's end when there is none.
size_t FindInHead(const GroupEditor& e, size_t head, int code);

// Removes the groups of application-defined groups ("102 {NAME" to "102 }": reactors,
// extension dictionaries) from the whole stretch.
void RemoveOwnedGroups(GroupEditor& e);

}  // namespace twinfind::dxf

#endif  // DXF_GROUP_EDITOR_H
