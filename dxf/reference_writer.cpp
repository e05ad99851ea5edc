#include "dxf/reference_writer.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "dxf/aci_palette.h"
#include "dxf/dxf_writer.h"
#include "dxf/group_editor.h"
#include "dxf/line_type_names.h"

namespace twinfind::dxf {
namespace {

double NumberAt(const GroupEditor& e, size_t i, size_t end, double fallback) {
  if (i >= end) return fallback;
  const std::string_view text = e.value(i);
  double value = fallback;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc{} && std::isfinite(value) ? value : fallback;
}

// An integer group's value; the fallback when it is none or beyond the range of int.
int IntegerAt(const GroupEditor& e, size_t i, size_t end, int fallback) {
  const double value = NumberAt(e, i, end, fallback);
  return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max()
             ? static_cast<int>(value)
             : fallback;
}

double HeadNumber(const GroupEditor& e, size_t head, int code, double fallback) {
  return NumberAt(e, FindInHead(e, head, code), e.HeadEnd(head), fallback);
}

// Moves the point of codes (x, x + 10) found first in [from, to) by (dx, dy).
void ShiftPoint(GroupEditor& e, size_t from, size_t to, int xCode, double dx, double dy) {
  const size_t x = e.Find(xCode, from, to);
  const size_t y = e.Find(xCode + 10, from, to);
  if (x < to) e.Set(x, RealText(NumberAt(e, x, to, 0) + dx));
  if (y < to) e.Set(y, RealText(NumberAt(e, y, to, 0) + dy));
}

// +1 for an entity seen from above, -1 from below (its x mirrored in the drawing plane).
double SideOf(const GroupEditor& e, size_t head) {
  return HeadNumber(e, head, 230, 1) < 0 ? -1 : 1;
}

bool IsPart(std::string_view type) {
  return type == "VERTEX" || type == "SEQEND" || type == "ATTRIB";
}

bool IsText(std::string_view type) {
  return type == "TEXT" || type == "MTEXT" || type == "ATTDEF" || type == "ATTRIB";
}

// Gives the entity at `head` a new handle, inserted after its type when it had none.
std::string RenewHandle(GroupEditor& e, size_t head, OutputFormat& format) {
  const std::string handle = format.NewHandle();
  if (handle.empty()) return handle;
  const size_t at = e.Find(5, head + 1, e.HeadEnd(head));
  if (at < e.HeadEnd(head)) {
    e.Set(at, handle);
  } else {
    e.Insert(head + 1, 5, handle);
  }
  return handle;
}

}  // namespace

std::string ReferenceWriter::ByBlockName() const {
  if (const MappedEntry* e = map_.Entry(map_.Table("LTYPE"), "BYBLOCK"))
    return std::string(e->name);
  return "BYBLOCK";
}

std::string ReferenceWriter::Write(size_t begin, size_t end, const How& how) {
  GroupEditor e(file_, begin, end, map_.lineEnd);
  if (how.newHandles) RemoveOwnedGroups(e);
  const double side = SideOf(e, 0);
  double dx = side * how.dx, dy = how.dy;  // in the reference's own plane
  if (how.cell) {
    const double columnSpacing = HeadNumber(e, 0, 44, 0), rowSpacing = HeadNumber(e, 0, 45, 0);
    const double t = HeadNumber(e, 0, 50, 0) * std::numbers::pi / 180;
    const double ox = how.column * columnSpacing, oy = how.row * rowSpacing;
    const double cellX = ox * std::cos(t) - oy * std::sin(t);
    const double cellY = ox * std::sin(t) + oy * std::cos(t);
    for (const int code : {70, 71, 44, 45}) {
      const size_t i = FindInHead(e, 0, code);
      if (i < e.HeadEnd(0)) e.Erase(i);
    }
    for (size_t i = 1; i < e.HeadEnd(0); ++i) {
      if (e.code(i) == 100 && e.value(i) == "AcDbMInsertBlock") e.Set(i, "AcDbBlockReference");
    }
    ShiftPoint(e, 1, e.Find(1001, 1, e.HeadEnd(0)), 10, dx + cellX, dy + cellY);
  } else if (dx != 0 || dy != 0) {
    ShiftPoint(e, 1, e.Find(1001, 1, e.HeadEnd(0)), 10, dx, dy);
  }
  std::vector<size_t> heads = e.Heads();
  if (!how.keepParts && heads.size() > 1) {
    e.Erase(heads[1], e.size());
    const size_t follow = FindInHead(e, 0, 66);
    if (follow < e.HeadEnd(0)) e.Erase(follow);
    heads.resize(1);
  }
  if (how.keepParts && (how.dx != 0 || how.dy != 0)) {
    for (size_t k = heads.size(); k-- > 1;) {
      if (e.value(heads[k]) != "ATTRIB") continue;
      const double partSide = SideOf(e, heads[k]);
      const size_t end = e.Find(1001, heads[k] + 1, e.HeadEnd(heads[k]));
      const size_t embedded = e.Find(101, heads[k] + 1, end);
      // An attribute's insertion and alignment points; after an embedded MTEXT (group 101),
      // that text's insertion point (its 11 is a direction).
      if (embedded < end) ShiftPoint(e, embedded, end, 10, partSide * how.dx, how.dy);
      ShiftPoint(e, heads[k] + 1, embedded, 10, partSide * how.dx, how.dy);
      ShiftPoint(e, heads[k] + 1, embedded, 11, partSide * how.dx, how.dy);
    }
  }
  if (how.look) {
    SetEntityStyle(e, 0, how.look->aci, how.look->lineType);
    const size_t name = FindInHead(e, 0, 2);
    if (name < e.HeadEnd(0)) e.Set(name, ByBlockCopyOf(e.value(name)));
  }
  if (how.newHandles) {
    // Parts are owned by the reference.
    const std::string owner = RenewHandle(e, 0, format_);
    for (size_t k = 1; k < e.Heads().size(); ++k) {
      const size_t head = e.Heads()[k];
      RenewHandle(e, head, format_);
      const size_t ownerAt = e.Find(330, head + 1, e.HeadEnd(head));
      if (!owner.empty() && ownerAt < e.HeadEnd(head)) e.Set(ownerAt, owner);
    }
  }
  return e.Text();
}

std::string ReferenceWriter::ByBlockCopyOf(std::string_view block) {
  const std::string key = UpperCase(block);
  if (const auto it = copyOf_.find(key); it != copyOf_.end()) return it->second;
  const MappedBlock* source = map_.Block(block);
  if (source == nullptr) return std::string(block);
  std::string base(block);
  if (!base.empty() && base.front() == '*') base.erase(0, 1);  // no longer anonymous
  const std::string name = format_.NewBlockName(base + "_TWINFIND_BYBLOCK");
  copyOf_[key] = name;  // before the blocks it holds, so that a loop ends here
  const std::string record = format_.NewBlockRecord(name);

  GroupEditor e(file_, source->begin, source->end, map_.lineEnd);
  RemoveOwnedGroups(e);
  // New handles for the copy's entities, and every pointer among them (owners, a hatch's
  // boundary) moved to the copies.
  std::map<std::string, std::string> renamed;
  if (!source->recordHandle.empty() && !record.empty()) {
    renamed[std::string(source->recordHandle)] = record;
  }
  for (size_t i = 0; i < e.size(); ++i) {
    if (e.code(i) != 5) continue;
    const std::string handle = format_.NewHandle();
    if (handle.empty()) continue;
    renamed[std::string(e.value(i))] = handle;
    e.Set(i, handle);
  }
  for (size_t i = 0; i < e.size(); ++i) {
    const int code = e.code(i);
    if (!((code >= 320 && code <= 369) || code == 1005)) continue;
    if (const auto it = renamed.find(std::string(e.value(i))); it != renamed.end()) {
      e.Set(i, it->second);
    }
  }
  const std::string byBlock = ByBlockName();
  const std::vector<size_t> heads = e.Heads();
  for (size_t k = heads.size(); k-- > 0;) {
    const size_t head = heads[k];
    const std::string type = UpperCase(e.value(head));
    const size_t end = e.HeadEnd(head);
    if (k == 0) {  // the BLOCK: the copy's name, and no flags of an anonymous or bound block
      for (const int code : {2, 3}) {
        if (const size_t i = e.Find(code, head + 1, end); i < end) e.Set(i, name);
      }
      if (const size_t i = e.Find(70, head + 1, end); i < end) {
        const int flags = IntegerAt(e, i, end, 0);
        e.Set(i, std::to_string(flags & 2));
      }
      if (const size_t i = e.Find(1, head + 1, end); i < end) e.Set(i, "");
      continue;
    }
    if (type == "ENDBLK" || IsPart(type) || IsText(type)) continue;
    if (type == "INSERT") {
      if (const size_t i = FindInHead(e, head, 2); i < end) e.Set(i, ByBlockCopyOf(e.value(i)));
    }
    SetEntityStyle(e, head, kAciByBlock, byBlock);
  }
  const std::vector<size_t> after = e.Heads();
  if (after.empty() || UpperCase(e.value(after.back())) != "ENDBLK") {
    // A damaged file's block without its end: the copy gets one.
    e.Insert(e.size(), 0, "ENDBLK");
    e.Insert(e.size(), 8, "0");
  }
  copies_ += e.Text();
  return name;
}

}  // namespace twinfind::dxf
