// The groups of one entity by code, found without a search: the reader indexes each entity once
// as it completes, then asks for the values it needs.
#ifndef DXF_FIELD_INDEX_H
#define DXF_FIELD_INDEX_H

#include <cstdint>
#include <span>
#include <vector>

#include "dxf/group_reader.h"

namespace twinfind::dxf {

class FieldIndex {
 public:
  FieldIndex();

  // Indexes an entity's groups (its type first). Comments (999) and extended data (1000 and
  // up) are not its values; with `stopAtEmbedded`, neither is anything from group 101 on (the
  // "embedded object" newer files append to MTEXT and ATTRIB, which repeats the entity's codes
  // with other meanings).
  void Index(std::span<const Group> groups, bool stopAtEmbedded);

  // The last or the first group with the code; nothing when there is none. A code that comes
  // more than once counts by its last value, as DXF readers take it.
  const Group* Last(int code) const { return Find(code, last_); }
  const Group* First(int code) const { return Find(code, first_); }

 private:
  static constexpr int kCodes = 999;
  const Group* Find(int code, const std::vector<uint32_t>& at) const {
    if (code < 0 || code >= kCodes || seen_[code] != generation_) return nullptr;
    return &groups_[at[code]];
  }

  std::span<const Group> groups_;
  uint32_t generation_ = 0;
  std::vector<uint32_t> seen_;  // the generation that last set a code: no clearing between
  std::vector<uint32_t> first_, last_;
};

}  // namespace twinfind::dxf

#endif  // DXF_FIELD_INDEX_H
