#include "dxf/block_writer.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <utility>

#include "dxf/dxf_writer.h"
#include "dxf/entity_shift.h"
#include "dxf/file_edits.h"
#include "dxf/group_editor.h"
#include "dxf/line_type_names.h"

namespace twinfind::dxf {
namespace {

double ReadNumber(std::string_view text, double fallback) {
  double value = fallback;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc{} && std::isfinite(value) ? value : fallback;
}

// The groups of a stretch of entity text (no whole file: no end marker needed).
GroupList GroupsOf(std::string text) {
  GroupList list;
  list.text = std::move(text);
  GroupStream stream(list.text);
  Group g;
  while (stream.Next(g)) list.groups.push_back(g);
  return list;
}

// A value near a whole number is that number: turns of 90 degrees and unit scales read back
// as written.
double Tidy(double value) {
  const double whole = std::round(value);
  return std::fabs(value - whole) < 1e-9 ? whole : value;
}

// Per head of the entity text, the extension dictionary its "102 {ACAD_XDICTIONARY" group
// names; 0 for none.
std::vector<uint64_t> ExtensionDictionaries(const GroupEditor& e) {
  std::vector<uint64_t> found;
  bool inGroup = false;
  for (size_t i = 0; i < e.size(); ++i) {
    if (e.code(i) == 0) found.push_back(0);
    if (e.code(i) == 102) inGroup = e.value(i) == "{ACAD_XDICTIONARY";
    uint64_t h = 0;
    if (inGroup && e.code(i) == 360 && !found.empty() && found.back() == 0 &&
        ParseHandle(e.value(i), h)) {
      found.back() = h;
    }
  }
  return found;
}

}  // namespace

void BlockWriter::Define(const std::string& name, const std::vector<std::string>& entityTexts,
                         double dx, double dy) {
  DxfWriter out;
  const std::string owner = format_.BeginBlock(out, name);
  definitions_ += WithLineEnds(out.Take(), map_.lineEnd);
  for (const std::string& text : entityTexts) {
    const GroupList list = GroupsOf(text);
    GroupEditor e(list, 0, list.groups.size(), map_.lineEnd);
    const std::vector<uint64_t> dictionaries = ExtensionDictionaries(e);
    RemoveOwnedGroups(e);
    ShiftEntities(e, dx, dy);
    // New handles in order (the entity's first: its parts are owned by it), written from the
    // last head back, so that the indices of earlier heads hold.
    const std::vector<size_t> heads = e.Heads();
    std::vector<std::string> handles;
    for (size_t k = 0; k < heads.size(); ++k) handles.push_back(format_.NewHandle());
    for (size_t k = heads.size(); k-- > 0;) {
      const size_t head = heads[k];
      if (const size_t space = FindInHead(e, head, 67); space < e.HeadEnd(head)) e.Erase(space);
      const std::string& ownedBy = k == 0 ? owner : handles.front();
      size_t end = e.HeadEnd(head);
      const size_t ownerAt = e.Find(330, head + 1, e.Find(100, head + 1, end));
      if (ownerAt < end && !ownedBy.empty()) {
        e.Set(ownerAt, ownedBy);
      } else if (ownerAt >= end && !ownedBy.empty() && format_.modern()) {
        const size_t after = e.Find(5, head + 1, end);
        e.Insert(after < end ? after + 1 : head + 1, 330, ownedBy);
      }
      end = e.HeadEnd(head);
      const size_t at = e.Find(5, head + 1, end);
      if (at < end && !handles[k].empty()) {
        e.Set(at, handles[k]);
      } else if (at < end) {
        e.Erase(at);
      } else if (!handles[k].empty()) {
        e.Insert(head + 1, 5, handles[k]);
      }
      // The member owns a copy of what the entity owned, after its handle as DXF places it.
      if (owned_ == nullptr || handles[k].empty() || !format_.modern() ||
          k >= dictionaries.size() || dictionaries[k] == 0) {
        continue;
      }
      const std::string copy = owned_->CopyOwned(dictionaries[k], handles[k], format_, objects_);
      if (copy.empty()) continue;
      const size_t handleAt = e.Find(5, head + 1, e.HeadEnd(head));
      for (const auto& [code, value] :
           {std::pair<int, std::string>{102, "}"}, {360, copy}, {102, "{ACAD_XDICTIONARY"}}) {
        e.Insert(handleAt + 1, code, value);
      }
    }
    definitions_ += e.Text();
  }
  format_.EndBlock(out, owner);
  definitions_ += WithLineEnds(out.Take(), map_.lineEnd);
}

std::optional<ReferenceForm> BlockWriter::FormOf(size_t begin, size_t end,
                                                 std::string& block) const {
  GroupEditor e(file_, begin, end, map_.lineEnd);
  if (e.size() == 0 || UpperCase(e.value(0)) != "INSERT") return std::nullopt;
  const auto number = [&](int code, double fallback) {
    const size_t at = FindInHead(e, 0, code);
    return at < e.HeadEnd(0) ? ReadNumber(e.value(at), fallback) : fallback;
  };
  const size_t name = FindInHead(e, 0, 2);
  if (name >= e.HeadEnd(0) || e.value(name).empty()) return std::nullopt;
  block = std::string(e.value(name));
  const double nx = number(210, 0), ny = number(220, 0), nz = number(230, 1);
  const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (length > 0 && (std::fabs(nx / length) > 1e-9 || std::fabs(ny / length) > 1e-9)) {
    return std::nullopt;
  }
  ReferenceForm form;
  form.x = number(10, 0);
  form.y = number(20, 0);
  form.sx = number(41, 1);
  form.sy = number(42, 1);
  form.sz = number(43, 1);
  form.degrees = number(50, 0);
  if (nz < 0) {
    // Seen from below, x runs against the world's: mirror(x) R(t) S(sx, sy) is R(-t) S(-sx, sy).
    form.x = -form.x;
    form.sx = -form.sx;
    form.degrees = -form.degrees;
  }
  if (form.sy == 0) return std::nullopt;
  return form;
}

std::string BlockWriter::Reference(const std::string& block, const ReferenceForm& form,
                                   const PlaneMap& p, const std::string& layer) {
  // The reference's own map R(t) S(sx, sy), then the placement's.
  const double t = form.degrees * std::numbers::pi / 180;
  const double r00 = std::cos(t) * form.sx, r01 = -std::sin(t) * form.sy;
  const double r10 = std::sin(t) * form.sx, r11 = std::cos(t) * form.sy;
  const double a00 = p.a * r00 + p.b * r10, a01 = p.a * r01 + p.b * r11;
  const double a10 = p.c * r00 + p.d * r10, a11 = p.c * r01 + p.d * r11;
  // As R(t') S(sx', sy') with the y scale kept: the second column is sy (-sin t', cos t').
  const double turn = std::atan2(-a01 / form.sy, a11 / form.sy);
  const double sx = std::cos(turn) * a00 + std::sin(turn) * a10;
  double degrees = Tidy(turn * 180 / std::numbers::pi);
  if (degrees < 0) degrees += 360;
  if (degrees >= 360) degrees -= 360;
  const double x = p.a * form.x + p.b * form.y + p.tx;
  const double y = p.c * form.x + p.d * form.y + p.ty;

  DxfWriter out;
  format_.BeginEntity(out, "INSERT", format_.modelSpace(), layer.empty() ? "0" : layer);
  format_.Subclass(out, "AcDbBlockReference");
  out.Add(2, block);
  out.Point(10, x, y);
  const double xScale = Tidy(sx);
  if (xScale != 1 || form.sy != 1 || form.sz != 1) {
    out.Real(41, xScale);
    out.Real(42, form.sy);
    out.Real(43, form.sz);
  }
  if (degrees != 0) out.Real(50, degrees);
  return WithLineEnds(out.Take(), map_.lineEnd);
}

}  // namespace twinfind::dxf
