#include "dxf/field_index.h"

namespace twinfind::dxf {

FieldIndex::FieldIndex() : seen_(kCodes, 0), first_(kCodes, 0), last_(kCodes, 0) {}

void FieldIndex::Index(std::span<const Group> groups, bool stopAtEmbedded) {
  groups_ = groups;
  ++generation_;
  for (size_t i = 1; i < groups.size(); ++i) {
    const int code = groups[i].code;
    if (stopAtEmbedded && code == 101) break;
    if (code < 0 || code >= kCodes) continue;
    if (seen_[code] != generation_) {
      seen_[code] = generation_;
      first_[code] = static_cast<uint32_t>(i);
    }
    last_[code] = static_cast<uint32_t>(i);
  }
}

}  // namespace twinfind::dxf
