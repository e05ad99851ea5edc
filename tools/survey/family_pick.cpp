#include "tools/survey/family_pick.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace twinfind::tool {

using survey::BoxOf;
using survey::Family;
using survey::FoundTwin;
using survey::RangeSegments;
namespace {

// A number as an action line carries it: the shortest text that reads back as the same double.
std::string Shortest(double v) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, result.ptr);
}

// The decimal of `digits` places that reads back as the nearest double: so a line prints short.
double Decimal(double v, int digits) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", digits, v);
  return std::strtod(text, nullptr);
}

// A member's box, grown by a millionth of its place's size, so that a window takes it wholly
// however its extent was rounded, and nothing that only touches it from outside; its corners
// rounded outward to a power of ten, so that a range line reads well.
VexBox WindowOver(const vexhost::Drawing& drawing, const std::vector<int>& segments) {
  const VexBox b = BoxOf(drawing, segments);
  const double by =
      1e-6 * std::max({b.maxX - b.minX, b.maxY - b.minY, std::fabs(b.minX), std::fabs(b.minY),
                       std::fabs(b.maxX), std::fabs(b.maxY), 1e-3});
  const int power = static_cast<int>(std::ceil(std::log10(by)));
  const double step = std::pow(10.0, power);
  const int digits = std::max(0, -power);
  return {Decimal(std::floor((b.minX - by) / step) * step, digits),
          Decimal(std::floor((b.minY - by) / step) * step, digits),
          Decimal(std::ceil((b.maxX + by) / step) * step, digits),
          Decimal(std::ceil((b.maxY + by) / step) * step, digits)};
}

}  // namespace

FamilyPick PickOf(const vexhost::Drawing& drawing, const Family& family) {
  FamilyPick pick;
  std::vector<int> selected;
  for (const FoundTwin& member : family.members) {
    pick.range.push_back(WindowOver(drawing, member.segments));
    const std::vector<int> taken = RangeSegments(drawing, &pick.range.back());
    selected.insert(selected.end(), taken.begin(), taken.end());
  }
  std::sort(selected.begin(), selected.end());
  pick.selected =
      static_cast<size_t>(std::unique(selected.begin(), selected.end()) - selected.begin());
  if (!pick.range.empty()) {
    pick.part = pick.range.front();
    const size_t taken = RangeSegments(drawing, &pick.part).size();
    const size_t own = family.members.front().segments.size();
    pick.extra = taken > own ? taken - own : 0;
  }
  return pick;
}

std::string RangeLine(const std::vector<VexBox>& windows) {
  std::string line = "range";
  for (const VexBox& b : windows) {
    line += " " + Shortest(b.minX) + " " + Shortest(b.minY) + " " + Shortest(b.maxX) + " " +
            Shortest(b.maxY);
  }
  return line;
}

}  // namespace twinfind::tool
