// The second step of reading a DXF file: its groups into the reader's model. dxflib reads the
// entities the host can hold (it is fed their groups one by one); this side keeps track of
// sections, blocks and paper space, and counts every other entity by type.
#ifndef DXF_MODEL_READER_H
#define DXF_MODEL_READER_H

#include "dxf/dxf_model.h"
#include "dxf/group_reader.h"

namespace twinfind::dxf {

// The entity types whose data dxflib reads for us; every other type is counted as not held.
bool IsReadEntityType(std::string_view type);

void ReadModel(const GroupList& groups, Model& model);

}  // namespace twinfind::dxf

#endif  // DXF_MODEL_READER_H
