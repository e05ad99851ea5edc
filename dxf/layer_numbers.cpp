#include "dxf/layer_numbers.h"

#include <algorithm>
#include <charconv>

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
  std::vector<std::string> named;
  long long highest = 0;
  for (const std::string& name : names) {
    const std::string key = UpperCase(name);
    if (numbers.count(key) || std::find(named.begin(), named.end(), key) != named.end()) continue;
    if (const auto n = NumericLayerName(name)) {
      numbers[key] = *n;
      highest = std::max<long long>(highest, *n);
    } else {
      named.push_back(key);
    }
  }
  long long next = highest + 1;
  for (const std::string& key : named) numbers[key] = static_cast<int>(next++);
  return numbers;
}

}  // namespace twinfind::dxf
