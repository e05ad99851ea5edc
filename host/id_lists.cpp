#include "host/id_lists.h"

#include "host/drawing.h"

namespace vexhost {

int IdLists::Read(List& list, bool head, VexIdRecord* record) {
  if (!list.open || record == nullptr) return -1;
  if (head) list.cursor = 0;
  if (list.cursor >= list.records.size()) return -1;
  *record = list.records[list.cursor++];
  return 0;
}

int IdLists::OpenSelection(int mode) {
  if (mode != 0 && mode != 1) return -1;
  selection_.open = true;
  selection_.writable = false;
  selection_.cursor = 0;
  return kSelectionHandle;
}

int IdLists::SelectionHead(int handle, VexIdRecord* record) {
  return handle == kSelectionHandle ? Read(selection_, true, record) : -1;
}

int IdLists::SelectionNext(int handle, VexIdRecord* record) {
  return handle == kSelectionHandle ? Read(selection_, false, record) : -1;
}

int IdLists::CloseSelection(int handle) {
  if (handle != kSelectionHandle || !selection_.open) return -1;
  selection_.open = false;
  return 0;
}

IdLists::List* IdLists::ListOfHandle(int handle) {
  const int list = handle - kListHandleBase;
  if (!ValidList(list) || !lists_[list].open) return nullptr;
  return &lists_[list];
}

int IdLists::Open(int list, int mode) {
  if (!ValidList(list) || (mode != 0 && mode != 1)) return -1;
  List& l = lists_[list];
  l.open = true;
  l.writable = mode == 1;
  l.cursor = 0;
  return kListHandleBase + list;
}

int IdLists::Head(int handle, VexIdRecord* record) {
  List* l = ListOfHandle(handle);
  return l == nullptr ? -1 : Read(*l, true, record);
}

int IdLists::Next(int handle, VexIdRecord* record) {
  List* l = ListOfHandle(handle);
  return l == nullptr ? -1 : Read(*l, false, record);
}

int IdLists::Append(int handle, int segmentId, int auxId, const Drawing& drawing) {
  List* l = ListOfHandle(handle);
  if (l == nullptr || !l->writable || l->records.size() >= capacity_) return -1;
  const Segment* s = drawing.FindSegment(segmentId);
  if (s == nullptr || s->auxId != auxId) return -1;
  l->records.push_back({segmentId, auxId});
  return 0;
}

int IdLists::Empty(int handle) {
  List* l = ListOfHandle(handle);
  if (l == nullptr || !l->writable) return -1;
  l->records.clear();
  l->cursor = 0;
  return 0;
}

int IdLists::Close(int handle) {
  List* l = ListOfHandle(handle);
  if (l == nullptr) return -1;
  l->open = false;
  return 0;
}

void IdLists::Replace(int list, std::vector<VexIdRecord> records) {
  List& l = lists_.at(list);
  l.records = std::move(records);
  l.cursor = 0;
}

}  // namespace vexhost
