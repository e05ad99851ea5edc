#include "dxf/twinfind_xdata.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "dxf/figure_geometry.h"

namespace twinfind::dxf {
namespace {

constexpr size_t kPieceBytes = 240;  // an XDATA string holds at most 255 bytes

// The shortest form that reads back as the same double, whatever the locale.
std::string Real(double v) {
  char buffer[32];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

// Our groups of an entity: those after "1001 TWINFIND" up to the next application.
std::vector<Group> OurGroups(std::span<const Group> entity) {
  std::vector<Group> ours;
  bool inside = false;
  for (const Group& g : entity) {
    if (g.code == 1001) {
      inside = Trimmed(g.value) == kXDataApp;
      continue;
    }
    if (inside && g.code >= 1000) ours.push_back(g);
  }
  return ours;
}

// Reads the groups in order; every read checks its code and fails softly.
class Cursor {
 public:
  explicit Cursor(std::vector<Group> groups) : groups_(std::move(groups)) {}
  bool Find(std::string_view tag) {
    for (; next_ < groups_.size(); ++next_) {
      if (groups_[next_].code == 1000 && Trimmed(groups_[next_].value) == tag) {
        ++next_;
        return true;
      }
    }
    return false;
  }
  bool Int(int code, long long& out) {
    if (next_ >= groups_.size() || groups_[next_].code != code) return false;
    const std::string_view v = Trimmed(groups_[next_++].value);
    return std::from_chars(v.data(), v.data() + v.size(), out).ec == std::errc{};
  }
  bool RealValue(double& out) {
    if (next_ >= groups_.size() || groups_[next_].code != 1040) return false;
    const std::string_view text = Trimmed(groups_[next_++].value);
    const auto result = std::from_chars(text.data(), text.data() + text.size(), out);
    return result.ec == std::errc{} && Usable(out);
  }
  bool String(std::string_view& out) {
    if (next_ >= groups_.size() || groups_[next_].code != 1000) return false;
    out = groups_[next_++].value;
    return true;
  }

 private:
  std::vector<Group> groups_;
  size_t next_ = 0;
};

}  // namespace

GroupPairs SegmentXData(uint32_t attributes) {
  if (attributes == 0) return {};
  return {{1001, kXDataApp}, {1000, "segment"}, {1071, std::to_string(attributes)}};
}

GroupPairs ClockwiseXData() { return {{1001, kXDataApp}, {1000, "clockwise"}}; }

GroupPairs JoinXData(GroupPairs first, const GroupPairs& second) {
  if (first.empty()) return second;
  for (size_t i = 1; i < second.size(); ++i) first.push_back(second[i]);
  return first;
}

BalloonRecord RecordOf(const vexhost::BalloonComment& balloon) {
  BalloonRecord b;
  b.leader = balloon.record.leader != 0;
  b.anchorX = balloon.record.anchorX;
  b.anchorY = balloon.record.anchorY;
  b.centerX = balloon.record.centerX;
  b.centerY = balloon.record.centerY;
  b.diameter = balloon.record.diameter;
  b.rows = balloon.rows;
  return b;
}

GroupPairs BalloonXData(const BalloonRecord& b) {
  GroupPairs pairs = {
      {1001, kXDataApp},       {1000, "balloon"},        {1070, b.leader ? "1" : "0"},
      {1040, Real(b.anchorX)}, {1040, Real(b.anchorY)},  {1040, Real(b.centerX)},
      {1040, Real(b.centerY)}, {1040, Real(b.diameter)}, {1070, std::to_string(b.rows.size())}};
  for (const std::u16string& row : b.rows) {
    const std::string encoded = EncodeValue(row, false);
    std::vector<std::string> pieces;
    for (size_t at = 0; at < encoded.size();) {
      size_t n = std::min(kPieceBytes, encoded.size() - at);
      // Never cut through a \U+XXXX escape.
      const size_t escape = encoded.rfind('\\', at + n - 1);
      if (escape != std::string::npos && escape >= at && escape + 7 > at + n && escape > at) {
        n = escape - at;
      }
      pieces.push_back(encoded.substr(at, n));
      at += n;
    }
    pairs.push_back({1070, std::to_string(pieces.size())});
    for (std::string& piece : pieces) pairs.push_back({1000, std::move(piece)});
  }
  return pairs;
}

std::optional<uint32_t> ParseSegmentXData(std::span<const Group> entity) {
  Cursor cursor(OurGroups(entity));
  long long bits = 0;
  if (!cursor.Find("segment") || !cursor.Int(1071, bits)) return std::nullopt;
  if (bits < 0 || bits > 0xFFFFFFFFll) return std::nullopt;
  return static_cast<uint32_t>(bits);
}

bool HasClockwiseXData(std::span<const Group> entity) {
  return Cursor(OurGroups(entity)).Find("clockwise");
}

std::optional<BalloonRecord> ParseBalloonXData(std::span<const Group> entity,
                                               const TextEncoding& encoding) {
  Cursor cursor(OurGroups(entity));
  BalloonRecord b;
  long long leader = 0, rows = 0;
  if (!cursor.Find("balloon") || !cursor.Int(1070, leader) || !cursor.RealValue(b.anchorX) ||
      !cursor.RealValue(b.anchorY) || !cursor.RealValue(b.centerX) ||
      !cursor.RealValue(b.centerY) || !cursor.RealValue(b.diameter) || !cursor.Int(1070, rows)) {
    return std::nullopt;
  }
  if (rows < 1 || rows > 3 || b.diameter < 0) return std::nullopt;
  b.leader = leader != 0;
  for (long long r = 0; r < rows; ++r) {
    long long pieces = 0;
    if (!cursor.Int(1070, pieces) || pieces < 0 || pieces > 1000) return std::nullopt;
    std::string row;
    for (long long p = 0; p < pieces; ++p) {
      std::string_view piece;
      if (!cursor.String(piece)) return std::nullopt;
      row += piece;
    }
    b.rows.push_back(DecodeValue(row, encoding));
  }
  return b;
}

}  // namespace twinfind::dxf
