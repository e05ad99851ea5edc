#include "bench/hostile_drawings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "host/figures.h"
#include "host/host.h"

namespace drawgen {
namespace {

void Group(std::string& text, int code, const std::string& value) {
  text += std::to_string(code);
  text += '\n';
  text += value;
  text += '\n';
}

void Group(std::string& text, int code, double value) {
  char number[32];
  std::snprintf(number, sizeof number, "%.9g", value);
  Group(text, code, std::string(number));
}

// The file's head up to its layer table's entries, and from its end to the entities.
void Head(std::string& text) {
  Group(text, 0, "SECTION");
  Group(text, 2, "HEADER");
  Group(text, 9, "$ACADVER");
  Group(text, 1, "AC1015");
  Group(text, 0, "ENDSEC");
  Group(text, 0, "SECTION");
  Group(text, 2, "TABLES");
  Group(text, 0, "TABLE");
  Group(text, 2, "LAYER");
}

void Entities(std::string& text) {
  Group(text, 0, "ENDTAB");
  Group(text, 0, "ENDSEC");
  Group(text, 0, "SECTION");
  Group(text, 2, "BLOCKS");
  Group(text, 0, "ENDSEC");
  Group(text, 0, "SECTION");
  Group(text, 2, "ENTITIES");
}

void Tail(std::string& text) {
  Group(text, 0, "ENDSEC");
  Group(text, 0, "EOF");
}

int AddSegment(const std::vector<FigureRecord>& figures) {
  const int id = VexSgmCreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING);
  for (const FigureRecord& f : figures) VexFigCreateFigure(id, &f);
  return id;
}

}  // namespace

std::string ManyLayersDxf(int layers) {
  std::string text;
  Head(text);
  for (int i = 0; i < layers; ++i) {
    Group(text, 0, "LAYER");
    Group(text, 2, "L" + std::to_string(i));
    Group(text, 70, "0");
    Group(text, 62, std::to_string(1 + i % 255));
    Group(text, 6, "CONTINUOUS");
  }
  Entities(text);
  const int side = static_cast<int>(std::sqrt(layers)) + 1;
  for (int i = 0; i < layers; ++i) {
    const double x = 10.0 * (i % side), y = 10.0 * (i / side);
    Group(text, 0, "LINE");
    Group(text, 8, "L" + std::to_string(i));
    Group(text, 10, x);
    Group(text, 20, y);
    Group(text, 11, x + 1 + (i % 7));
    Group(text, 21, y + 1);
  }
  Tail(text);
  return text;
}

std::string OneSplineDxf(int controlPoints) {
  std::string text;
  Head(text);
  Entities(text);
  Group(text, 0, "SPLINE");
  Group(text, 8, "0");
  Group(text, 70, "8");
  Group(text, 71, "3");
  Group(text, 72, std::to_string(controlPoints + 4));
  Group(text, 73, std::to_string(controlPoints));
  // Clamped: the first and the last knot four times, the ones between once each.
  for (int k = 0; k < controlPoints + 4; ++k) {
    Group(text, 40, static_cast<double>(std::clamp(k - 3, 0, controlPoints - 3)));
  }
  for (int i = 0; i < controlPoints; ++i) {
    Group(text, 10, 2.0 * i);
    Group(text, 20, 3.0 * std::sin(0.05 * i) + (i % 3));
  }
  Tail(text);
  return text;
}

std::string EllipsesDxf(int count) {
  std::string text;
  Head(text);
  Entities(text);
  for (int i = 0; i < count; ++i) {
    const double turn = 0.01 * i;
    Group(text, 0, "ELLIPSE");
    Group(text, 8, "0");
    Group(text, 10, 250.0 * i);
    Group(text, 20, 0.0);
    Group(text, 11, 100 * std::cos(turn));
    Group(text, 21, 100 * std::sin(turn));
    Group(text, 40, 0.4);  // no start and end parameter: the whole ellipse
  }
  Tail(text);
  return text;
}

std::string TwoPolylinesDxf(int vertices) {
  std::string text;
  Head(text);
  Entities(text);
  for (const double dx : {0.0, 1000.0}) {
    Group(text, 0, "LWPOLYLINE");
    Group(text, 8, "0");
    Group(text, 90, std::to_string(vertices));
    Group(text, 70, "1");
    uint32_t wander = 12345;
    for (int i = 0; i < vertices; ++i) {
      wander = wander * 1664525u + 1013904223u;
      const double angle = 2 * 3.14159265358979323846 * i / vertices;
      const double r = 100 + 5 * std::sin(7 * angle) + 0.5 * (wander >> 8) / double(1 << 24);
      Group(text, 10, dx + r * std::cos(angle));
      Group(text, 20, r * std::sin(angle));
    }
  }
  Tail(text);
  return text;
}

std::vector<int> AddBoxedShapes(int shapes) {
  std::vector<int> ids;
  const int side = static_cast<int>(std::sqrt(shapes)) + 1;
  // Places on a grid 0.4 apart over the square, the lower half for the first hole, the upper
  // for the second: no two shapes hold the same two, so none is alike another, and however many
  // shapes there are, few share one hole.
  const auto place = [](int g) { return std::pair{1 + 0.4 * (g % 20), 1 + 0.4 * (g / 20)}; };
  for (int k = 0; k < shapes; ++k) {
    const int a = k % 200, b = 200 + (k / 200 + 3 * a) % 200;
    const int cuts = 1 + k % 8;
    for (int copy = 0; copy < 2; ++copy) {
      const double x = 30.0 * (k % side), y = 30.0 * (k / side) + 15000.0 * copy;
      std::vector<FigureRecord> outline;
      const double corners[5][2] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
      for (int c = 0; c < 4; ++c) {
        for (int i = 0; i < cuts; ++i) {
          const auto at = [&](int j, int axis) {
            return corners[c][axis] + (corners[c + 1][axis] - corners[c][axis]) * j / cuts;
          };
          outline.push_back(
              vexhost::MakeLine(x + at(i, 0), y + at(i, 1), x + at(i + 1, 0), y + at(i + 1, 1)));
        }
      }
      ids.push_back(AddSegment(outline));
      const auto [ax, ay] = place(a);
      const auto [bx, by] = place(b);
      ids.push_back(AddSegment(
          {vexhost::MakeCircle(x + ax, y + ay, 0.2), vexhost::MakeCircle(x + bx, y + by, 0.2)}));
    }
  }
  return ids;
}

std::vector<int> AddCoincidentCopies(int copies) {
  std::vector<int> ids;
  for (int i = 0; i < copies; ++i) ids.push_back(AddSegment({vexhost::MakeLine(0, 0, 7, 3)}));
  for (int copy = 0; copy < 3; ++copy) {
    const double x = 20.0 + 10.0 * copy;
    ids.push_back(AddSegment({vexhost::MakeLine(x, 0, x + 5, 0)}));
    ids.push_back(AddSegment({vexhost::MakeLine(x + 5, 0, x + 5, 4)}));
    ids.push_back(AddSegment({vexhost::MakeLine(x + 5, 4, x, 4)}));
    ids.push_back(AddSegment({vexhost::MakeLine(x, 4, x, 0)}));
  }
  return ids;
}

}  // namespace drawgen
