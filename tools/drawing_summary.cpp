#include "tools/drawing_summary.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <variant>

#include "host/geometry.h"
#include "host/word_hash.h"

namespace twinfind::tool {
namespace {

// The most kinds one selection line names; the rest are counted together.
constexpr size_t kMostKinds = 6;

bool IsLineOrArc(const FigureRecord& f) { return f.kind == VEX_FIG_LINE || f.kind == VEX_FIG_ARC; }

std::string Plural(int count, const std::string& one, const std::string& many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// What a user would call the segment: its one figure's kind, a polyline (lines and arcs), a
// group of figures of several kinds, a text, a balloon.
std::pair<std::string, std::string> KindOf(const vexhost::Drawing& drawing,
                                           const vexhost::Segment& segment) {
  std::vector<const vexhost::Element*> elements;
  for (const int id : segment.elements) {
    if (const vexhost::Element* e = drawing.FindElement(id)) elements.push_back(e);
  }
  if (elements.empty()) return {"empty segment", "empty segments"};
  if (segment.kind == VEX_SEGMENT_COMMENTS) {
    const bool balloon = elements.size() == 1 && elements[0]->comment &&
                         std::holds_alternative<vexhost::BalloonComment>(*elements[0]->comment);
    if (elements.size() == 1)
      return balloon ? std::pair{"balloon", "balloons"} : std::pair{"text", "texts"};
    const std::string n = std::to_string(elements.size());
    return {"comment of " + n + " texts", "comments of " + n + " texts"};
  }
  if (elements.size() == 1) {
    switch (elements[0]->figure.kind) {
      case VEX_FIG_LINE:
        return {"line", "lines"};
      case VEX_FIG_CIRCLE:
        return {"circle", "circles"};
      case VEX_FIG_ARC:
        return {"arc", "arcs"};
      case VEX_FIG_POINT:
        return {"point", "points"};
      default:
        return {"figure of kind " + std::to_string(elements[0]->figure.kind),
                "figures of kind " + std::to_string(elements[0]->figure.kind)};
    }
  }
  bool chain = true;
  for (const vexhost::Element* e : elements) chain = chain && IsLineOrArc(e->figure);
  const std::string of = " of " + std::to_string(elements.size()) + " figures";
  return chain ? std::pair{"polyline" + of, "polylines" + of}
               : std::pair{"group" + of, "groups" + of};
}

uint64_t Mix(uint64_t hash, const void* data, size_t size) {
  vexhost::WordHash h(hash);
  h.Bytes(data, size);
  return h.value();
}

template <typename T>
uint64_t MixValue(uint64_t hash, const T& value) {
  return Mix(hash, &value, sizeof value);
}

}  // namespace

std::string Coordinate(double value) {
  if (std::fabs(value) < 5e-7) value = 0;  // no "-0" and no 1e-17 for a zero
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6g", value);
  for (char* c = buffer; *c; ++c) {
    if (*c == ',') *c = '.';  // a locale's decimal comma
  }
  return buffer;
}

std::string LoadLine(const vexhost::Drawing& drawing, const std::string& name) {
  VexBox extent = vexhost::EmptyBox();
  std::set<int> layers;
  size_t lasting = 0;
  for (const int id : drawing.SegmentIds()) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (s == nullptr || s->life != VEX_LIFE_LASTING) continue;
    ++lasting;
    layers.insert(s->layer);
    if (const auto box = drawing.SegmentBounds(id)) vexhost::Include(extent, *box);
    for (const int element : s->elements) {
      const vexhost::Element* e = drawing.FindElement(element);
      if (e != nullptr && e->comment) {
        if (const auto box = vexhost::ElementBounds(*e)) vexhost::Include(extent, *box);
      }
    }
  }
  for (const auto& [layer, layerName] : drawing.layerNames()) layers.insert(layer);
  std::string line =
      "drawing: " + name + ": " + Plural(static_cast<int>(lasting), "segment", "segments");
  if (!vexhost::IsEmpty(extent)) {
    line += ", x " + Coordinate(extent.minX) + " to " + Coordinate(extent.maxX) + ", y " +
            Coordinate(extent.minY) + " to " + Coordinate(extent.maxY);
  }
  line += "; " + Plural(static_cast<int>(layers.size()), "layer", "layers") + ":";
  const char* separator = " ";
  for (const int layer : layers) {
    line += separator + std::to_string(layer);
    const auto named = drawing.layerNames().find(layer);
    if (named != drawing.layerNames().end() && named->second != std::to_string(layer)) {
      line += " " + named->second;
    }
    if (!drawing.LayerVisible(layer)) line += " (hidden)";
    separator = ", ";
  }
  return line;
}

std::string SelectionLine(const vexhost::Drawing& drawing, const std::vector<int>& segments) {
  if (segments.empty()) return "selected no segments";
  // Kinds in the order they first occur, with their counts.
  std::vector<std::pair<std::pair<std::string, std::string>, int>> kinds;
  for (const int id : segments) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (s == nullptr) continue;
    const auto kind = KindOf(drawing, *s);
    bool counted = false;
    for (auto& [known, count] : kinds) {
      if (known == kind) {
        ++count;
        counted = true;
      }
    }
    if (!counted) kinds.push_back({kind, 1});
  }
  std::stable_sort(kinds.begin(), kinds.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  std::string line =
      "selected " + Plural(static_cast<int>(segments.size()), "segment", "segments") + ":";
  int others = 0;
  for (size_t i = 0; i < kinds.size(); ++i) {
    const auto& [kind, count] = kinds[i];
    if (i >= kMostKinds) {
      others += count;
      continue;
    }
    line += (i == 0 ? " " : ", ") + std::to_string(count) + " " +
            (count == 1 ? kind.first : kind.second);
  }
  if (others > 0) line += ", " + std::to_string(others) + " others";
  return line;
}

uint64_t DrawingDigest(const vexhost::Drawing& drawing) {
  uint64_t hash = 14695981039346656037ULL;
  for (const int id : drawing.SegmentIds()) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (s == nullptr || s->life != VEX_LIFE_LASTING) continue;
    hash = MixValue(hash, s->id);
    hash = MixValue(hash, s->kind);
    hash = MixValue(hash, s->layer);
    hash = MixValue(hash, s->attributes);
    for (const int element : s->elements) {
      const vexhost::Element* e = drawing.FindElement(element);
      if (e == nullptr) continue;
      hash = MixValue(hash, e->figure);
      if (e->lineAttr) hash = MixValue(hash, *e->lineAttr);
      if (e->comment) {
        if (const auto* text = std::get_if<vexhost::TextComment>(&*e->comment)) {
          hash = MixValue(hash, text->record.x);
          hash = MixValue(hash, text->record.y);
          hash = Mix(hash, text->text.data(), text->text.size() * sizeof(char16_t));
        } else {
          const auto& balloon = std::get<vexhost::BalloonComment>(*e->comment);
          hash = MixValue(hash, balloon.record.centerX);
          hash = MixValue(hash, balloon.record.centerY);
          for (const auto& row : balloon.rows) {
            hash = Mix(hash, row.data(), row.size() * sizeof(char16_t));
          }
        }
      }
    }
  }
  return hash;
}

}  // namespace twinfind::tool
