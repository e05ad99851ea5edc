// Host layer numbers for DXF layer names: a name that is a number keeps that number; the
// other names are numbered in the order given, from one above the highest numbered name.
#ifndef DXF_LAYER_NUMBERS_H
#define DXF_LAYER_NUMBERS_H

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twinfind::dxf {

// The number a layer name stands for: digits with an optional minus sign, written the way the
// number is ("7", "-2"; not "07" or "+7"), within one billion of zero.
std::optional<int> NumericLayerName(std::string_view name);

// Numbers for layer names, first appearance first; names that differ only in case are the
// same layer (DXF compares them so). The result is keyed by the name in capitals.
std::map<std::string, int> NumberLayers(const std::vector<std::string>& names);

}  // namespace twinfind::dxf

#endif  // DXF_LAYER_NUMBERS_H
