// Helpers for tests that talk to the host through its C calls.
#ifndef TESTS_HOST_HOST_TEST_UTIL_H
#define TESTS_HOST_HOST_TEST_UTIL_H

#include <string>
#include <vector>

#include "host/figures.h"
#include "host/host.h"
#include "vexlib/vexlib.h"

namespace hosttest {

inline FigureRecord Line(double x1, double y1, double x2, double y2) {
  return vexhost::MakeLine(x1, y1, x2, y2);
}
inline FigureRecord Circle(double cx, double cy, double r) {
  return vexhost::MakeCircle(cx, cy, r);
}
inline FigureRecord Arc(double cx, double cy, double r, double sx, double sy, double ex, double ey,
                        int direction = VEX_ARC_CCW) {
  return vexhost::MakeArc(cx, cy, r, sx, sy, ex, ey, direction);
}

// A lasting segment of figures holding the given figures; its id.
inline int AddSegment(const std::vector<FigureRecord>& figures, int life = VEX_LIFE_LASTING) {
  const int id = VexSgmCreateSegment(VEX_SEGMENT_FIGURES, life);
  for (const FigureRecord& f : figures) VexFigCreateFigure(id, &f);
  return id;
}

// The segment ids of application list n, in order.
inline std::vector<int> ListIds(int list) {
  std::vector<int> ids;
  for (const VexIdRecord& r : vexhost::TheHost().lists.Contents(list)) ids.push_back(r.segmentId);
  return ids;
}

// The transcript as "kind: text" lines in UTF-16.
inline std::vector<std::u16string> TranscriptLines() {
  std::vector<std::u16string> lines;
  for (const auto& m : vexhost::TheHost().transcript.messages()) {
    const auto kind = vexhost::MessageKindName(m.kind);
    lines.push_back(std::u16string(kind.begin(), kind.end()) + u": " + m.text);
  }
  return lines;
}

}  // namespace hosttest

#endif  // TESTS_HOST_HOST_TEST_UTIL_H
