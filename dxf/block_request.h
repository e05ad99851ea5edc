// Twins saved as block references: what a save is asked to do. Each family gets one block
// definition (made from one member's entities, or a block of the file that a member already
// references), and each twin's own entities are replaced by one reference of it, at the twin's
// place and turn (a mirror image with a negative x scale).
#ifndef DXF_BLOCK_REQUEST_H
#define DXF_BLOCK_REQUEST_H

#include <string>
#include <vector>

#include "common/plane_map.h"
#include "dxf/entity_pieces.h"

namespace twinfind::dxf {

struct BlockTwin {
  std::vector<EntityPiece> pieces;  // its entities, replaced by one reference
  PlaneMap placement;               // takes the family's source member onto this twin
  bool stays = false;               // already a reference of the family's block: left as it is
};

struct BlockFamily {
  int number = 0;                   // the family's number, as the user was told it
  std::string name;                 // the name wanted for a new block
  std::vector<EntityPiece> source;  // the member the block is made from (whole entities)
  double baseX = 0, baseY = 0;      // the source member's point that the block's origin takes
  bool existing = false;            // the source is one reference of a file's block: that one
  std::vector<BlockTwin> twins;     // the source among them
};

struct BlockPlan {
  std::vector<BlockFamily> families;
};

// What a save made of each family.
struct BlockOutcome {
  int number = 0;
  std::string name;    // the block's name in the file
  int references = 0;  // references of it the family now has (those that stayed included)
  int replaced = 0;    // twins whose entities became a reference
};

}  // namespace twinfind::dxf

#endif  // DXF_BLOCK_REQUEST_H
