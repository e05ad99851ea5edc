#include "dxf/group_editor.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

namespace twinfind::dxf {
namespace {

// The common part of an entity's head: after "100 AcDbEntity" up to the next subclass, in files
// with subclass markers; else the groups before the first subclass or the extended data.
void CommonPart(const GroupEditor& e, size_t head, size_t& from, size_t& to) {
  const size_t end = e.HeadEnd(head);
  from = head + 1;
  to = end;
  for (size_t i = head + 1; i < end; ++i) {
    if (e.code(i) == 100 && e.value(i) == "AcDbEntity") {
      from = i + 1;
      to = e.Find(100, from, end);
      const size_t xdata = e.Find(1001, from, end);
      if (xdata < to) to = xdata;
      return;
    }
  }
  const size_t subclass = e.Find(100, from, end);
  const size_t xdata = e.Find(1001, from, end);
  to = subclass < xdata ? subclass : xdata;
}

}  // namespace

GroupEditor::GroupEditor(const GroupList& file, size_t begin, size_t end, std::string_view lineEnd)
    : lineEnd_(lineEnd) {
  end = std::min(std::max(begin, end), file.groups.size());
  items_.reserve(end - begin);
  for (size_t i = begin; i < end; ++i) {
    const size_t from = file.groups[i].offset;
    const size_t to = i + 1 < file.groups.size() ? file.groups[i + 1].offset : file.text.size();
    items_.push_back(
        {file.groups[i].code, std::string_view(file.text).substr(from, to - from), {}});
  }
}

std::string_view GroupEditor::value(size_t i) const {
  const Item& item = items_[i];
  if (item.raw.empty()) return Trimmed(item.value);
  // The raw bytes are the code line and the value line, each with its line end.
  std::string_view raw = item.raw;
  const size_t codeEnd = raw.find('\n');
  raw.remove_prefix(codeEnd == std::string_view::npos ? raw.size() : codeEnd + 1);
  while (!raw.empty() && (raw.back() == '\n' || raw.back() == '\r')) raw.remove_suffix(1);
  return Trimmed(raw);
}

void GroupEditor::Set(size_t i, std::string value) {
  items_[i].raw = {};
  items_[i].value = std::move(value);
}

void GroupEditor::Erase(size_t i) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i)); }

void GroupEditor::Erase(size_t from, size_t to) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(from),
               items_.begin() + static_cast<std::ptrdiff_t>(to));
}

void GroupEditor::EraseEach(std::vector<size_t> indices) {
  std::sort(indices.begin(), indices.end());
  size_t to = 0, next = 0;
  for (size_t i = 0; i < items_.size(); ++i) {
    while (next < indices.size() && indices[next] < i) ++next;
    if (next < indices.size() && indices[next] == i) continue;
    if (to != i) items_[to] = std::move(items_[i]);
    ++to;
  }
  items_.resize(to);
}

void GroupEditor::Insert(size_t at, int code, std::string value) {
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), Item{code, {}, std::move(value)});
}

std::vector<size_t> GroupEditor::Heads() const {
  std::vector<size_t> heads;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].code == 0) heads.push_back(i);
  }
  return heads;
}

size_t GroupEditor::HeadEnd(size_t head) const {
  size_t i = head + 1;
  while (i < items_.size() && items_[i].code != 0) ++i;
  return i;
}

size_t GroupEditor::Find(int code, size_t from, size_t to) const {
  for (size_t i = from; i < to; ++i) {
    if (items_[i].code == code) return i;
  }
  return to;
}

std::string GroupEditor::Text() const {
  std::string text;
  for (const Item& item : items_) {
    if (!item.raw.empty()) {
      text += item.raw;
      continue;
    }
    char code[16];
    std::snprintf(code, sizeof code, "%3d", item.code);
    text += code;
    text += lineEnd_;
    text += item.value;
    text += lineEnd_;
  }
  return text;
}

void SetEntityStyle(GroupEditor& e, size_t head, int aci, const std::string& lineType) {
  size_t from = 0, to = 0;
  CommonPart(e, head, from, to);
  for (size_t i = to; i-- > from;) {
    if (e.code(i) == 420 || e.code(i) == 430) {
      e.Erase(i);
      --to;
    }
  }
  const size_t layer = e.Find(8, from, to);
  const size_t after = layer < to ? layer + 1 : from;
  if (const size_t i = e.Find(62, from, to); i < to) {
    e.Set(i, std::to_string(aci));
  } else {
    e.Insert(after, 62, std::to_string(aci));
    ++to;
  }
  if (const size_t i = e.Find(6, from, to); i < to) {
    e.Set(i, lineType);
  } else {
    e.Insert(after, 6, lineType);
  }
}

size_t FindInHead(const GroupEditor& e, size_t head, int code) {
  const size_t end = e.HeadEnd(head);
  const size_t xdata = e.Find(1001, head + 1, end);
  const size_t at = e.Find(code, head + 1, xdata);
  // Not found: the head's end, never the extended data's first group (a caller would take its
  // application name for the value, or erase it).
  return at < xdata ? at : end;
}

void RemoveOwnedGroups(GroupEditor& e) {
  for (size_t i = 0; i < e.size();) {
    if (e.code(i) != 102 || e.value(i).empty() || e.value(i).front() != '{') {
      ++i;
      continue;
    }
    size_t close = i + 1;
    while (close < e.size() && !(e.code(close) == 102 && e.value(close) == "}") &&
           e.code(close) != 0) {
      ++close;
    }
    e.Erase(i, close < e.size() && e.code(close) == 102 ? close + 1 : close);
  }
}

}  // namespace twinfind::dxf
