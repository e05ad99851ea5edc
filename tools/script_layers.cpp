// "layer" and "layer N on|off": the drawing's layers listed, and one shown or hidden. A hidden
// layer is neither drawn nor selected by a window, at any step (the host's own visibility);
// saving keeps each layer as the file had it.
#include <algorithm>
#include <exception>
#include <ostream>
#include <sstream>
#include <string>

#include "host/host.h"
#include "tools/layer_list.h"
#include "tools/script_runner.h"

namespace twinfind::tool {
namespace {

std::string Segments(size_t n) { return std::to_string(n) + (n == 1 ? " segment" : " segments"); }

}  // namespace

bool ScriptRunner::LayerLine(std::string_view rest, int lineNumber) {
  vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  const std::vector<LayerInfo> layers = ListLayers(drawing);
  if (rest.empty()) {
    out_ << "layers:";
    const char* separator = " ";
    for (const LayerInfo& layer : layers) {
      out_ << separator << LayerLabel(layer) << (layer.visible ? " on (" : " off (")
           << Segments(layer.segments) << ")";
      separator = ", ";
    }
    if (layers.empty()) out_ << " none";
    out_ << "\n";
    out_.flush();
    return true;
  }
  std::istringstream words{std::string(rest)};
  std::string number, state, extra;
  words >> number >> state;
  const bool shape = !(words >> extra) && (state == "on" || state == "off");
  int layerNumber = 0;
  size_t used = 0;
  try {
    layerNumber = std::stoi(number, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (!shape || used == 0 || used != number.size()) {
    return Refuse(lineNumber, "layer needs a layer number and on or off (layer alone lists them)");
  }
  const auto layer = std::find_if(layers.begin(), layers.end(),
                                  [&](const LayerInfo& l) { return l.number == layerNumber; });
  if (layer == layers.end()) {
    return Refuse(lineNumber, "the drawing has no layer " + number + " (layer alone lists them)");
  }
  const bool on = state == "on";
  drawing.SetLayerVisible(layerNumber, on);
  out_ << "layer: " << LayerLabel(*layer) << (on ? " on: its " : " off: its ")
       << Segments(layer->segments) << (on ? " drawn and selected" : " neither drawn nor selected")
       << "\n";
  out_.flush();
  return true;
}

}  // namespace twinfind::tool
