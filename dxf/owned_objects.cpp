#include "dxf/owned_objects.h"

#include <algorithm>

#include "dxf/file_map.h"
#include "dxf/group_editor.h"
#include "dxf/line_type_names.h"
#include "dxf/output_format.h"

namespace twinfind::dxf {
namespace {

// Application-defined groups that hold pointers to other entries of the file and nothing else.
bool PointerGroup(std::string_view name) {
  return name == "ACAD_REACTORS" || name == "ACAD_XDICTIONARY" || name == "BLKREFS";
}

// Group codes of handles that point at another entry (soft and hard pointers and owners).
bool PointerCode(int code) { return code >= 320 && code <= 369; }

// A handle as a number; 0 (never a handle) for a value that is none.
uint64_t HandleOf(std::string_view value) {
  uint64_t h = 0;
  return ParseHandle(Trimmed(value), h) ? h : 0;
}

// The handle of each entry among the groups (the first group 5 after each group 0) is given
// to `take` with the index of its group 0.
template <class Next, class Take>
void ForEachEntryHandle(Next next, Take take) {
  size_t index = 0, head = 0;
  bool seen = true;  // groups before the first group 0 belong to no entry
  Group g;
  for (; next(g); ++index) {
    if (g.code == 0) {
      head = index;
      seen = false;
    } else if (g.code == 5 && !seen) {
      seen = true;
      if (const uint64_t h = HandleOf(g.value); h != 0) take(head, h);
    }
  }
}

// The same over the file's groups [begin, end): `take` gets each entry's group 0 in the file.
template <class Take>
void ForEachFileEntryHandle(const GroupList& file, size_t begin, size_t end, Take take) {
  size_t at = begin;
  ForEachEntryHandle(
      [&](Group& g) {
        if (at >= end) return false;
        g = file.groups[at++];
        return true;
      },
      [&](size_t head, uint64_t h) { take(begin + head, h); });
}

}  // namespace

OwnedObjects::OwnedObjects(const GroupList& file, std::string_view lineEnd)
    : file_(file), lineEnd_(lineEnd) {}

void OwnedObjects::Replaced(size_t begin, size_t end, std::string_view text) {
  end = std::min(end, file_.groups.size());
  if (begin >= end) return;
  replaced_.emplace_back(begin, end);
  std::unordered_set<uint64_t> written;
  GroupStream stream(text);
  ForEachEntryHandle([&](Group& g) { return stream.Next(g); },
                     [&](size_t, uint64_t h) { written.insert(h); });
  ForEachFileEntryHandle(file_, begin, end, [&](size_t head, uint64_t h) {
    if (!written.count(h)) left_.push_back(head);
  });
}

std::vector<size_t> OwnedObjects::EntriesWithHandles(size_t begin, size_t end) const {
  std::vector<size_t> entries;
  ForEachFileEntryHandle(file_, begin, std::min(end, file_.groups.size()),
                         [&](size_t head, uint64_t) { entries.push_back(head); });
  return entries;
}

void OwnedObjects::Removed(size_t begin, size_t end, const std::vector<size_t>& entries) {
  end = std::min(end, file_.groups.size());
  if (begin >= end) return;
  replaced_.emplace_back(begin, end);
  left_.insert(left_.end(), entries.begin(), entries.end());
}

void OwnedObjects::Reset() {
  replaced_.clear();
  left_.clear();
  leaving_.clear();
  gone_.clear();
  settled_ = false;
  for (Head& head : heads_) head.replaced = head.leaves = false;
}

void OwnedObjects::Index() {
  if (indexed_) return;
  indexed_ = true;
  bool objects = false;  // in the OBJECTS section
  for (size_t i = 0; i < file_.groups.size(); ++i) {
    if (file_.groups[i].code != 0) continue;
    if (!heads_.empty()) heads_.back().end = i;
    const std::string_view type = Trimmed(file_.groups[i].value);
    const bool mark = type == "SECTION" || type == "ENDSEC" || type == "EOF";
    if (mark) {
      objects = type == "SECTION" && i + 1 < file_.groups.size() && file_.groups[i + 1].code == 2 &&
                UpperCase(Trimmed(file_.groups[i + 1].value)) == "OBJECTS";
    }
    Head& head = heads_.emplace_back();
    head.begin = i;
    head.end = file_.groups.size();
    head.inObjects = objects && !mark;
    head.group = head.inObjects && UpperCase(type) == "GROUP";
  }
  for (size_t k = 0; k < heads_.size(); ++k) {
    Head& head = heads_[k];
    std::string_view app;  // the application-defined group the groups are in
    bool subclass = false;
    for (size_t i = head.begin + 1; i < head.end; ++i) {
      const Group& g = file_.groups[i];
      if (g.code == 1001) break;  // extended data
      const std::string_view value = Trimmed(g.value);
      if (g.code == 102) {
        app = !value.empty() && value.front() == '{' ? value.substr(1) : std::string_view();
        continue;
      }
      if (!app.empty()) {
        if (app == "ACAD_XDICTIONARY" && g.code == 360) {
          if (const uint64_t h = HandleOf(value); h != 0) head.xdicts.push_back(h);
        }
        continue;
      }
      if (g.code == 5 && !head.hasHandle) {
        head.handle = HandleOf(value);
        head.hasHandle = head.handle != 0;
      } else if (g.code == 100) {
        subclass = true;
      } else if (g.code == 330 && !subclass && !head.hasOwner) {
        head.owner = HandleOf(value);
        head.hasOwner = head.owner != 0;
      }
    }
    if (!head.inObjects || !head.hasHandle) continue;
    objectByHandle_.emplace(head.handle, k);
    if (head.hasOwner) objectsByOwner_.emplace(head.owner, k);
  }
}

size_t OwnedObjects::HeadAt(size_t group) const {
  const auto it = std::upper_bound(heads_.begin(), heads_.end(), group,
                                   [](size_t g, const Head& h) { return g < h.begin; });
  return it == heads_.begin() ? 0 : static_cast<size_t>(it - heads_.begin()) - 1;
}

void OwnedObjects::Leave(size_t k) {
  Head& head = heads_[k];
  if (head.leaves) return;
  head.leaves = true;
  if (head.hasHandle) gone_.insert(head.handle);
  leaving_.push_back(k);
}

void OwnedObjects::Settle() {
  if (left_.empty() || settled_) return;
  settled_ = true;
  Index();
  if (heads_.empty()) return;
  for (const auto& [begin, end] : replaced_) {
    for (size_t k = HeadAt(begin); k < heads_.size() && heads_[k].begin < end; ++k) {
      if (heads_[k].begin >= begin) heads_[k].replaced = true;
    }
  }
  for (const size_t group : left_) Leave(HeadAt(group));
  for (;;) {
    // What leaves takes along the objects it owns and its extension dictionaries.
    while (!leaving_.empty()) {
      const size_t k = leaving_.back();
      leaving_.pop_back();
      if (heads_[k].hasHandle) {
        const auto [from, to] = objectsByOwner_.equal_range(heads_[k].handle);
        for (auto it = from; it != to; ++it) Leave(it->second);
      }
      for (const uint64_t x : heads_[k].xdicts) {
        if (const auto it = objectByHandle_.find(x); it != objectByHandle_.end()) {
          Leave(it->second);
        }
      }
    }
    // A group whose members have all left has nothing left to group.
    bool more = false;
    for (size_t k = 0; k < heads_.size(); ++k) {
      const Head& head = heads_[k];
      if (!head.group || head.leaves || head.replaced) {
        continue;
      }
      int members = 0, left = 0;
      bool subclass = false;
      for (size_t i = head.begin + 1; i < head.end && file_.groups[i].code != 1001; ++i) {
        const Group& g = file_.groups[i];
        subclass = subclass || g.code == 100;
        if (g.code != 340 || !subclass) continue;
        ++members;
        left += IsGone(g.value) ? 1 : 0;
      }
      if (members > 0 && left == members) {
        Leave(k);
        more = true;
      }
    }
    if (!more) break;
  }
}

bool OwnedObjects::IsGone(std::string_view value) const {
  const uint64_t h = HandleOf(value);
  return h != 0 && gone_.count(h) > 0;
}

bool OwnedObjects::Clean(GroupEditor& e, size_t head) const {
  const std::string type = UpperCase(e.value(head));
  const bool dictionary = type == "DICTIONARY" || type == "ACDBDICTIONARYWDFLT";
  const size_t end = e.HeadEnd(head);
  std::vector<size_t> drop;
  size_t open = 0;             // the "102 {NAME" of the pointer group the groups are in, else 0
  bool inApp = false;          // in any application-defined group
  size_t kept = 0, taken = 0;  // pointers of that group kept and taken out
  for (size_t i = head + 1; i < end; ++i) {
    const int code = e.code(i);
    if (code == 1001) break;
    const std::string_view value = e.value(i);
    if (code == 102) {
      if (!value.empty() && value.front() == '{') {
        inApp = true;
        open = PointerGroup(value.substr(1)) ? i : 0;
        kept = taken = 0;
      } else {
        // A group emptied by the cleaning goes as a whole; one that was empty stays.
        if (open != 0 && taken > 0 && kept == 0 && value == "}") {
          drop.push_back(open);
          drop.push_back(i);
        }
        inApp = false;
        open = 0;
      }
      continue;
    }
    if (inApp) {
      if (open == 0) continue;
      if (PointerCode(code) && IsGone(value)) {
        drop.push_back(i);
        ++taken;
      } else {
        ++kept;
      }
      continue;
    }
    if (!IsGone(value)) continue;
    if (dictionary && (code == 350 || code == 360)) {
      // An entry: its name (3) and the object it names.
      if (i > head + 1 && e.code(i - 1) == 3) drop.push_back(i - 1);
      drop.push_back(i);
    } else if (type == "GROUP" && code == 340) {
      drop.push_back(i);
    } else if (type == "SORTENTSTABLE" && code == 331) {
      // An entity and its place in the draw order (5).
      drop.push_back(i);
      if (i + 1 < end && e.code(i + 1) == 5) drop.push_back(i + 1);
    }
  }
  if (drop.empty()) return false;
  e.EraseEach(drop);
  return true;
}

std::string OwnedObjects::Cleaned(std::string text) const {
  if (gone_.empty()) return text;
  GroupList list;
  list.text = std::move(text);
  GroupStream stream(list.text);
  for (Group g; stream.Next(g);) list.groups.push_back(g);
  if (!stream.error().empty()) return std::move(list.text);
  GroupEditor e(list, 0, list.groups.size(), lineEnd_);
  const std::vector<size_t> heads = e.Heads();
  bool changed = false;
  for (size_t k = heads.size(); k-- > 0;) changed = Clean(e, heads[k]) || changed;
  return changed ? e.Text() : std::move(list.text);
}

void OwnedObjects::AddEdits(FileEdits& edits) const {
  if (gone_.empty()) return;
  for (const Head& head : heads_) {
    if (head.replaced) continue;
    const uint32_t from = OffsetOf(file_, head.begin), to = OffsetOf(file_, head.end);
    if (head.leaves) {
      if (head.inObjects) edits.Replace(from, to, "");
      continue;
    }
    // Sections and tables hold what other edits of the save change (header variables, entry
    // counts); they point at nothing an entity owns.
    const std::string_view type = Trimmed(file_.groups[head.begin].value);
    if (type == "SECTION" || type == "TABLE") continue;
    bool points = false;
    for (size_t i = head.begin + 1; i < head.end && !points; ++i) {
      points = PointerCode(file_.groups[i].code) && IsGone(file_.groups[i].value);
    }
    if (!points) continue;
    GroupEditor e(file_, head.begin, head.end, lineEnd_);
    if (Clean(e, 0)) edits.Replace(from, to, e.Text());
  }
}

std::string OwnedObjects::CopyOwned(uint64_t handle, const std::string& owner, OutputFormat& format,
                                    std::string& objects) {
  Index();
  const auto top = objectByHandle_.find(handle);
  if (top == objectByHandle_.end()) return {};
  // A new handle for the object and each it owns, from the top down (a handle is named once,
  // so a file whose ownership runs in a circle ends).
  std::vector<size_t> order{top->second};
  std::unordered_map<uint64_t, std::string> renamed{{handle, format.NewHandle()}};
  for (size_t i = 0; i < order.size(); ++i) {
    const auto [from, to] = objectsByOwner_.equal_range(heads_[order[i]].handle);
    for (auto it = from; it != to; ++it) {
      if (renamed.emplace(heads_[it->second].handle, std::string()).second) {
        renamed[heads_[it->second].handle] = format.NewHandle();
        order.push_back(it->second);
      }
    }
  }
  for (const size_t k : order) {
    const Head& head = heads_[k];
    GroupEditor e(file_, head.begin, head.end, lineEnd_);
    std::string_view app;
    bool handleSet = false, ownerSet = false, subclass = false;
    for (size_t i = 1; i < e.size(); ++i) {
      if (e.code(i) == 1001) break;  // extended data: no pointers of the file's
      const std::string_view value = e.value(i);
      if (e.code(i) == 102) {
        app = !value.empty() && value.front() == '{' ? value.substr(1) : std::string_view();
        continue;
      }
      subclass = subclass || e.code(i) == 100;
      const uint64_t h = HandleOf(value);
      if (e.code(i) == 5 && !handleSet) {
        handleSet = true;
        e.Set(i, renamed.at(head.handle));
      } else if (e.code(i) == 330 && app.empty() && !subclass && !ownerSet) {
        ownerSet = true;
        e.Set(i, k == order.front() ? owner : renamed.at(head.owner));
      } else if (PointerCode(e.code(i)) && renamed.count(h) != 0) {
        e.Set(i, renamed.at(h));
      } else if (app == "ACAD_REACTORS" && e.code(i) == 330 && k == order.front() &&
                 head.hasOwner && h == head.owner) {
        e.Set(i, owner);
      }
    }
    objects += e.Text();
  }
  return renamed.at(handle);
}

}  // namespace twinfind::dxf
