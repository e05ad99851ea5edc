// The host's id lists: the user's selection and the application lists 0 to 15.
//
// A list is read and written through a handle from its open call; the selection's handle and
// the application lists' handles differ, so that a handle of one kind never works on the other.
// Host calls that fill a list (searches, copies) replace its contents whether it is open or not.
#ifndef HOST_ID_LISTS_H
#define HOST_ID_LISTS_H

#include <array>
#include <cstddef>
#include <vector>

#include "vexlib/vexlib.h"

namespace vexhost {

class Drawing;

class IdLists {
 public:
  static constexpr int kListCount = 16;
  static constexpr int kSelectionHandle = 200;
  static constexpr int kListHandleBase = 100;

  // The selection.
  void SetSelection(std::vector<VexIdRecord> records) { selection_.records = std::move(records); }
  const std::vector<VexIdRecord>& selection() const { return selection_.records; }
  int OpenSelection(int mode);
  int SelectionHead(int handle, VexIdRecord* record);
  int SelectionNext(int handle, VexIdRecord* record);
  int CloseSelection(int handle);
  void ClearSelection() { selection_.records.clear(); }
  bool SelectionOpen() const { return selection_.open; }

  // The application lists.
  int Open(int list, int mode);
  int Head(int handle, VexIdRecord* record);
  int Next(int handle, VexIdRecord* record);
  // Appends a record of a segment that exists in the drawing; -1 when the list is not open for
  // writing, the segment is unknown or the list is full.
  int Append(int handle, int segmentId, int auxId, const Drawing& drawing);
  int Empty(int handle);
  int Close(int handle);

  void Replace(int list, std::vector<VexIdRecord> records);
  const std::vector<VexIdRecord>& Contents(int list) const { return lists_.at(list).records; }
  bool IsOpen(int list) const { return lists_.at(list).open; }
  static bool ValidList(int list) { return list >= 0 && list < kListCount; }

  // The most records an application list holds; a test may lower it to make appends fail.
  void SetCapacity(size_t capacity) { capacity_ = capacity; }

 private:
  struct List {
    std::vector<VexIdRecord> records;
    bool open = false;
    bool writable = false;
    size_t cursor = 0;
  };
  static int Read(List& list, bool head, VexIdRecord* record);
  List* ListOfHandle(int handle);

  List selection_;
  std::array<List, kListCount> lists_{};
  size_t capacity_ = 1000000;
};

}  // namespace vexhost

#endif  // HOST_ID_LISTS_H
