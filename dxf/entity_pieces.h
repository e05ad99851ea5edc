// The entities of the input file that a set of its host segments came from, as pieces to be
// written elsewhere (a part file, a block definition): whole entities, or single copies of an
// array reference (MINSERT) whose other copies stay behind.
#ifndef DXF_ENTITY_PIECES_H
#define DXF_ENTITY_PIECES_H

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "dxf/dxf_source.h"
#include "dxf/file_map.h"
#include "dxf/group_reader.h"
#include "dxf/output_format.h"
#include "dxf/reference_writer.h"

namespace twinfind::dxf {

struct EntityPiece {
  size_t entity = 0;       // its index among the source's entities
  std::vector<int> cells;  // the copies of an array taken, ascending; empty: the whole entity
};

// The pieces the segments came from, in file order; segments the file did not give add none.
std::vector<EntityPiece> PiecesOf(const DxfSource& source, std::span<const int> segments);

// True when every segment the pieces gave (of an array: of the copies taken) is among the
// segments: the pieces hold nothing more than they (no texts of a reference left aside).
bool PiecesHoldOnly(const DxfSource& source, const std::vector<EntityPiece>& pieces,
                    std::span<const int> segments);

// The number of copies an array reference of the source makes (1 for any other entity).
int CellCount(const DxfSource& source, const SourceEntity& entity);

// The text of one piece moved by (dx, dy) along the drawing plane: the entity's own groups
// with its points shifted, or for copies of an array one reference per copy (the first keeping
// the array's handle and attributes, later ones new handles from `format`).
std::string MovedPieceText(const GroupList& file, const FileMap& map, OutputFormat& format,
                           const DxfSource& source, const EntityPiece& piece, double dx, double dy);

// The block name of a piece that is a block reference (INSERT, or copies of an array); empty
// for any other entity.
std::string ReferencedBlock(const DxfSource& source, const EntityPiece& piece);

// The type of an entity of the source ("LINE", "SPLINE", ...), in capitals.
std::string EntityType(const DxfSource& source, size_t entity);

// A new entity made from an entity's own text, moved by (dx, dy): new handles from `format`
// for it and its parts, owned by the model space, without what the entity owned (its
// extension dictionary, reactors); in the look given, when one is.
std::string MovedCopyText(const GroupList& file, const FileMap& map, OutputFormat& format,
                          const DxfSource& source, size_t entity, double dx, double dy,
                          const std::optional<EntityLook>& look = std::nullopt);

// The value of the first group of the code in the head of the entity at [begin, end) of the
// file's groups (before its extended data), trimmed; empty when it has none.
std::string HeadValue(const GroupList& file, size_t begin, size_t end, int code);

}  // namespace twinfind::dxf

#endif  // DXF_ENTITY_PIECES_H
