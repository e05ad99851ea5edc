// What leaves a file with the entities a save removes. An entity may own objects of the
// OBJECTS section: its extension dictionary (group 360 in its "102 {ACAD_XDICTIONARY" group,
// the dictionary's owner 330 the entity) and, through it, the dictionary's entries (XRECORDs,
// further dictionaries, to any depth). Other entries of the file point back at it: the reactors
// of objects that watch it ("102 {ACAD_REACTORS", groups 330), the references its block record
// lists ("102 {BLKREFS", groups 331), the members of a GROUP (340), the draw order of a
// SORTENTSTABLE (331 and its sort handle 5), the entries of dictionaries (3 and 350 or 360).
// Left behind, those objects are owned by handles that no longer exist and those pointers lead
// nowhere: readers drop them (ezdxf's audit) or complain. So what an entity owns leaves with it,
// and the pointers to anything that left are taken out of what stays. A GROUP whose members
// have all left leaves too.
#ifndef DXF_OWNED_OBJECTS_H
#define DXF_OWNED_OBJECTS_H

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "dxf/file_edits.h"
#include "dxf/group_editor.h"
#include "dxf/group_reader.h"
#include "dxf/output_format.h"

namespace twinfind::dxf {

class OwnedObjects {
 public:
  OwnedObjects(const GroupList& file, std::string_view lineEnd);

  // An entity whose groups [begin, end) (with its parts) the save writes as `text`, empty when
  // it removes it: the handles it had that the text does not have leave the file, and the
  // stretch is the save's own (no edit of this class touches it; Cleaned does its text).
  void Replaced(size_t begin, size_t end, std::string_view text);

  // The groups 0 of the entries with a handle among groups [begin, end): what Removed takes.
  std::vector<size_t> EntriesWithHandles(size_t begin, size_t end) const;
  // Replaced with an empty text, told the stretch's EntriesWithHandles read before: a caller
  // that removes the same entities from many copies of the file reads their groups once.
  void Removed(size_t begin, size_t end, const std::vector<size_t>& entries);

  // Works out everything that leaves with what left: the objects it owns, to any depth, and
  // groups left without members.
  void Settle();

  // Forgets what was replaced and what left, for another save of the same file; the file's
  // entries stay read.
  void Reset();

  // The handles that leave the file (Settle first).
  const std::unordered_set<uint64_t>& gone() const { return gone_; }

  // The text given to Replaced, without pointers to what left.
  std::string Cleaned(std::string text) const;

  // The objects that leave, removed, and the pointers of the entries that stay to anything that
  // left, taken out; stretches given to Replaced are left to the save.
  void AddEdits(FileEdits& edits) const;

  // A copy of the object `handle` of the OBJECTS section and of everything it owns, to any
  // depth, for a new owner `owner` (a copy of the entity that owned it, say a block's member):
  // each copy gets a new handle from `format`, pointers between the copies lead to the copies,
  // and a reactor naming the old owner names the new one. The copies' text is added to
  // `objects`, for the end of the OBJECTS section; the copy's handle, empty when the file has no
  // such object.
  std::string CopyOwned(uint64_t handle, const std::string& owner, OutputFormat& format,
                        std::string& objects);

 private:
  // One entry of the file: from a group 0 to the next.
  struct Head {
    size_t begin = 0, end = 0;
    bool hasHandle = false;
    uint64_t handle = 0;
    bool hasOwner = false;
    uint64_t owner = 0;            // the group 330 of its common part
    std::vector<uint64_t> xdicts;  // its extension dictionaries
    bool inObjects = false;        // of the OBJECTS section
    bool group = false;            // a GROUP
    bool replaced = false;         // inside a stretch given to Replaced
    bool leaves = false;
  };

  void Index();
  size_t HeadAt(size_t group) const;
  void Leave(size_t head);
  bool IsGone(std::string_view value) const;
  // Takes out of the entry whose group 0 is `head` its pointers to what left; true when it
  // changed.
  bool Clean(GroupEditor& e, size_t head) const;

  const GroupList& file_;
  std::string lineEnd_;
  std::vector<Head> heads_;
  std::unordered_map<uint64_t, size_t> objectByHandle_;
  std::unordered_multimap<uint64_t, size_t> objectsByOwner_;
  std::vector<std::pair<size_t, size_t>> replaced_;  // group stretches
  std::vector<size_t> left_;                         // groups 0 of entries the save removed
  std::vector<uint64_t> leaving_;                    // handles whose objects are to follow
  std::unordered_set<uint64_t> gone_;
  bool indexed_ = false;  // the file's entries are read once, when first needed
  bool settled_ = false;
};

}  // namespace twinfind::dxf

#endif  // DXF_OWNED_OBJECTS_H
