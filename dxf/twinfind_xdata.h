// Our extended data (XDATA under the application name TWINFIND): what a DXF entity cannot say
// by itself about a host segment, so that a drawing we wrote reads back as it was. Other CAD
// programs keep it and ignore it.
//   segment attributes:  1000 "segment", 1071 the attribute bits
//   clockwise arc:       1000 "clockwise" on an ARC: the host's arc runs the other way round,
//                        from the entity's end angle to its start angle, clockwise
//   balloon:             1000 "balloon", 1070 leader flag, 1040 anchor x, anchor y, centre x,
//                        centre y, diameter, 1070 row count, then per row 1070 piece count and
//                        the row's text in pieces of 1000 strings (at most 240 bytes each)
#ifndef DXF_TWINFIND_XDATA_H
#define DXF_TWINFIND_XDATA_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "dxf/dxf_model.h"
#include "dxf/group_reader.h"
#include "dxf/text_codec.h"
#include "host/comment.h"

namespace twinfind::dxf {

inline constexpr const char* kXDataApp = "TWINFIND";

using GroupPairs = std::vector<std::pair<int, std::string>>;

// The groups that record segment attributes (none when there are none to record).
GroupPairs SegmentXData(uint32_t attributes);
// The groups that mark an ARC as a clockwise host arc.
GroupPairs ClockwiseXData();
// The groups that record a balloon.
GroupPairs BalloonXData(const BalloonRecord& balloon);

// The balloon a host comment holds.
BalloonRecord RecordOf(const vexhost::BalloonComment& balloon);

// One record after the other under one application name.
GroupPairs JoinXData(GroupPairs first, const GroupPairs& second);

// Reads our extended data from an entity's groups.
std::optional<uint32_t> ParseSegmentXData(std::span<const Group> entity);
bool HasClockwiseXData(std::span<const Group> entity);
std::optional<BalloonRecord> ParseBalloonXData(std::span<const Group> entity,
                                               const TextEncoding& encoding);

}  // namespace twinfind::dxf

#endif  // DXF_TWINFIND_XDATA_H
