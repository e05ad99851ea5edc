#include "dxf/layer_numbers.h"

#include <algorithm>
#include <charconv>
#include <unordered_set>

#include "dxf/line_type_names.h"

namespace twinfind::dxf {

std::optional<int> NumericLayerName(std::string_view name) {
  std::string_view digits = name;
  if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  if (digits.size() > 1 && digits.front() == '0') return std::nullopt;  // "07" is a name
  long long value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (value > 1000000000) return std::nullopt;
  if (name.front() == '-') {
    if (value == 0) return std::nullopt;  // "-0" is a name
    value = -value;
  }
  return static_cast<int>(value);
}

std::map<std::string, int> NumberLayers(const std::vector<std::string>& names) {
  std::map<std::string, int> numbers;
  // The names that are no numbers, in the order given; and the same as a set, so that a file of
  // many layers costs n log n, not a pass over the names before it for each.
  std::vector<std::string> named;
  std::unordered_set<std::string> seen;
  long long highest = 0;
  for (const std::string& name : names) {
    std::string key = UpperCase(name);
    if (!seen.insert(key).second) continue;
    if (const auto n = NumericLayerName(name)) {
      numbers[key] = *n;
      highest = std::max<long long>(highest, *n);
    } else {
      named.push_back(std::move(key));
    }
  }
  long long next = highest + 1;
  for (const std::string& key : named) numbers[key] = static_cast<int>(next++);
  return numbers;
}

}  // namespace twinfind::dxf
