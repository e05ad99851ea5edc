#include "tools/survey/part_signature.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "engine/segment_compare.h"

namespace twinfind::survey {

PartSignature SignatureOf(const vexhost::Drawing& drawing, const std::vector<int>& segments,
                          const SearchOptions& options) {
  std::vector<double> lines, radii, chords;
  int counts[10] = {};
  std::vector<std::tuple<int, int, int, int>> looks;  // layer, colour, line type, further
  for (const int id : segments) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (!s) continue;
    LineAttr head{};
    bool haveHead = false;
    for (const int e : s->elements) {
      const vexhost::Element* element = drawing.FindElement(e);
      if (!element || element->comment) continue;
      if (!haveHead) {
        head = element->lineAttr.value_or(LineAttr{});
        haveHead = true;
      }
      const FigureRecord& f = element->figure;
      ++counts[std::clamp(f.kind, 0, 9)];
      if (f.kind == VEX_FIG_LINE) {
        lines.push_back(std::hypot(f.u.line.x2 - f.u.line.x1, f.u.line.y2 - f.u.line.y1));
      } else if (f.kind == VEX_FIG_CIRCLE) {
        radii.push_back(f.u.circle.r);
      } else if (f.kind == VEX_FIG_ARC) {
        radii.push_back(f.u.arc.r);
        chords.push_back(std::hypot(f.u.arc.ex - f.u.arc.sx, f.u.arc.ey - f.u.arc.sy));
      }
    }
    looks.emplace_back(options.sameLayer ? s->layer : 0, options.sameLineAttr ? head.color : 0,
                       options.sameLineAttr ? head.lineType : 0,
                       options.sameLineAttr ? head.attribute : 0);
  }
  PartSignature signature;
  signature.exact = std::to_string(segments.size());
  for (const int c : counts) {
    signature.exact += ' ' + std::to_string(c);
    signature.figures += c;
  }
  std::sort(looks.begin(), looks.end());
  if (options.sameLayer || options.sameLineAttr) {
    for (const auto& [layer, colour, type, further] : looks) {
      signature.exact += " " + std::to_string(layer) + "/" + std::to_string(colour) + "/" +
                         std::to_string(type) + "/" + std::to_string(further);
    }
  }
  for (std::vector<double>* kind : {&lines, &radii, &chords}) {
    std::sort(kind->begin(), kind->end());
    signature.sizes.insert(signature.sizes.end(), kind->begin(), kind->end());
  }
  for (const double v : signature.sizes) signature.total += v;
  signature.lines = counts[VEX_FIG_LINE];
  return signature;
}

bool SizesAgree(const PartSignature& a, const PartSignature& b, double slack) {
  if (a.sizes.size() != b.sizes.size()) return false;
  for (size_t i = 0; i < a.sizes.size(); ++i) {
    if (!(std::fabs(a.sizes[i] - b.sizes[i]) <= slack)) return false;
  }
  return true;
}

double SizeSlack(const SearchOptions& options) {
  return 3.0 * std::max(COINCIDE_EPS, options.tolerance);
}

}  // namespace twinfind::survey
