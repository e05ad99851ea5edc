#include "dxf/entity_pieces.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "dxf/entity_shift.h"
#include "dxf/group_editor.h"
#include "dxf/line_type_names.h"
#include "dxf/reference_writer.h"

namespace twinfind::dxf {

int CellCount(const DxfSource& source, const SourceEntity& entity) {
  if (entity.segmentCount == 0) return 1;
  return source.CellOf(entity.firstSegment + entity.segmentCount - 1) + 1;
}

std::vector<EntityPiece> PiecesOf(const DxfSource& source, std::span<const int> segments) {
  std::map<size_t, std::set<int>> cells;
  for (const int id : segments) {
    if (const auto index = source.EntityOf(id)) cells[*index].insert(source.CellOf(id));
  }
  std::vector<EntityPiece> pieces;
  for (const auto& [index, taken] : cells) {
    EntityPiece piece;
    piece.entity = index;
    if (CellCount(source, source.entities()[index]) > static_cast<int>(taken.size())) {
      piece.cells.assign(taken.begin(), taken.end());
    }
    pieces.push_back(std::move(piece));
  }
  return pieces;
}

bool PiecesHoldOnly(const DxfSource& source, const std::vector<EntityPiece>& pieces,
                    std::span<const int> segments) {
  const std::set<int> given(segments.begin(), segments.end());
  for (const EntityPiece& piece : pieces) {
    const SourceEntity& e = source.entities()[piece.entity];
    for (int id = e.firstSegment; id < e.firstSegment + e.segmentCount; ++id) {
      const bool taken =
          piece.cells.empty() ||
          std::binary_search(piece.cells.begin(), piece.cells.end(), source.CellOf(id));
      if (taken && given.count(id) == 0) return false;
    }
  }
  return true;
}

std::string HeadValue(const GroupList& file, size_t begin, size_t end, int code) {
  for (size_t i = begin + 1; i < end && file.groups[i].code != 0; ++i) {
    if (file.groups[i].code == 1001) break;
    if (file.groups[i].code == code) return std::string(Trimmed(file.groups[i].value));
  }
  return {};
}

std::string ReferencedBlock(const DxfSource& source, const EntityPiece& piece) {
  const SourceEntity& e = source.entities()[piece.entity];
  GroupStream stream(std::string_view(source.text()).substr(e.begin, e.end - e.begin));
  Group g;
  if (!stream.Next(g) || g.code != 0 || UpperCase(Trimmed(g.value)) != "INSERT") return {};
  while (stream.Next(g) && g.code != 0 && g.code != 1001) {
    if (g.code == 2) return std::string(Trimmed(g.value));
  }
  return {};
}

std::string EntityType(const DxfSource& source, size_t entity) {
  const SourceEntity& e = source.entities()[entity];
  GroupStream stream(std::string_view(source.text()).substr(e.begin, e.end - e.begin));
  Group g;
  return stream.Next(g) && g.code == 0 ? UpperCase(Trimmed(g.value)) : std::string();
}

std::string MovedCopyText(const GroupList& file, const FileMap& map, OutputFormat& format,
                          const DxfSource& source, size_t entity, double dx, double dy,
                          const std::optional<EntityLook>& look) {
  const SourceEntity& e = source.entities()[entity];
  GroupEditor editor(file, GroupAt(file, e.begin), GroupAt(file, e.end), map.lineEnd);
  RemoveOwnedGroups(editor);
  ShiftEntities(editor, dx, dy);
  const std::vector<size_t> heads = editor.Heads();
  std::vector<std::string> handles;
  for (size_t k = 0; k < heads.size(); ++k) handles.push_back(format.NewHandle());
  // From the last head back, so that the indices of earlier heads hold.
  for (size_t k = heads.size(); k-- > 0;) {
    const size_t head = heads[k];
    size_t end = editor.HeadEnd(head);
    const std::string& owner = k == 0 ? format.modelSpace() : handles.front();
    const size_t ownerAt = editor.Find(330, head + 1, editor.Find(100, head + 1, end));
    if (ownerAt < end && !owner.empty()) editor.Set(ownerAt, owner);
    end = editor.HeadEnd(head);
    const size_t at = editor.Find(5, head + 1, end);
    if (at < end && !handles[k].empty()) {
      editor.Set(at, handles[k]);
    } else if (at < end) {
      editor.Erase(at);
    } else if (!handles[k].empty()) {
      editor.Insert(head + 1, 5, handles[k]);
    }
  }
  if (look) SetEntityStyle(editor, 0, look->aci, look->lineType);
  return editor.Text();
}

std::string MovedPieceText(const GroupList& file, const FileMap& map, OutputFormat& format,
                           const DxfSource& source, const EntityPiece& piece, double dx,
                           double dy) {
  const SourceEntity& e = source.entities()[piece.entity];
  const size_t begin = GroupAt(file, e.begin), end = GroupAt(file, e.end);
  if (piece.cells.empty()) {
    GroupEditor editor(file, begin, end, map.lineEnd);
    ShiftEntities(editor, dx, dy);
    return editor.Text();
  }
  const int columns = std::max(1, std::atoi(HeadValue(file, begin, end, 70).c_str()));
  ReferenceWriter references(file, map, format);
  std::string text;
  for (size_t k = 0; k < piece.cells.size(); ++k) {
    ReferenceWriter::How how;
    how.cell = true;
    how.column = piece.cells[k] % columns;
    how.row = piece.cells[k] / columns;
    how.dx = dx;
    how.dy = dy;
    how.keepParts = piece.cells[k] == 0;
    how.newHandles = k > 0;
    text += references.Write(begin, end, how);
  }
  return text;
}

}  // namespace twinfind::dxf
