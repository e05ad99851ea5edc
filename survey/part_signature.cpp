#include "survey/part_signature.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace twinfind::survey {

FigureSizes FigureSizesOf(const vexhost::Drawing& drawing, const std::vector<int>& segments) {
  FigureSizes sizes;
  for (const int id : segments) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (!s) continue;
    for (const int e : s->elements) {
      const vexhost::Element* element = drawing.FindElement(e);
      if (!element || element->comment) continue;
      const FigureRecord& f = element->figure;
      ++sizes.counts[std::clamp(f.kind, 0, 9)];
      if (f.kind == VEX_FIG_LINE) {
        sizes.lines.push_back(std::hypot(f.u.line.x2 - f.u.line.x1, f.u.line.y2 - f.u.line.y1));
      } else if (f.kind == VEX_FIG_CIRCLE) {
        sizes.radii.push_back(f.u.circle.r);
      } else if (f.kind == VEX_FIG_ARC) {
        sizes.radii.push_back(f.u.arc.r);
        sizes.chords.push_back(std::hypot(f.u.arc.ex - f.u.arc.sx, f.u.arc.ey - f.u.arc.sy));
      }
    }
  }
  for (std::vector<double>* kind : {&sizes.lines, &sizes.radii, &sizes.chords}) {
    std::sort(kind->begin(), kind->end());
  }
  return sizes;
}

PartSignature SignatureOf(const vexhost::Drawing& drawing, const std::vector<int>& segments,
                          const SearchOptions& options) {
  const FigureSizes sizes = FigureSizesOf(drawing, segments);
  std::vector<std::tuple<int, int, int, int>> looks;  // layer, colour, line type, further
  for (const int id : segments) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (!s) continue;
    LineAttr head{};
    for (const int e : s->elements) {
      const vexhost::Element* element = drawing.FindElement(e);
      if (!element || element->comment) continue;
      head = element->lineAttr.value_or(LineAttr{});
      break;
    }
    looks.emplace_back(options.sameLayer ? s->layer : 0, options.sameLineAttr ? head.color : 0,
                       options.sameLineAttr ? head.lineType : 0,
                       options.sameLineAttr ? head.attribute : 0);
  }
  PartSignature signature;
  signature.exact = std::to_string(segments.size());
  for (const int c : sizes.counts) {
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
  for (const std::vector<double>* kind : {&sizes.lines, &sizes.radii, &sizes.chords}) {
    signature.sizes.insert(signature.sizes.end(), kind->begin(), kind->end());
  }
  for (const double v : signature.sizes) signature.total += v;
  signature.lines = sizes.counts[VEX_FIG_LINE];
  signature.anchors = signature.lines + sizes.counts[VEX_FIG_CIRCLE] + sizes.counts[VEX_FIG_ARC];
  return signature;
}

bool SizesAgree(const PartSignature& a, const PartSignature& b, double slack) {
  if (a.sizes.size() != b.sizes.size()) return false;
  for (size_t i = 0; i < a.sizes.size(); ++i) {
    if (!(std::fabs(a.sizes[i] - b.sizes[i]) <= slack)) return false;
  }
  return true;
}

}  // namespace twinfind::survey
