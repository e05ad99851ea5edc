// Comparing two host drawings segment for segment: what a file written of one reads back as.
#ifndef TESTS_DXF_DRAWING_COMPARE_H
#define TESTS_DXF_DRAWING_COMPARE_H

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/drawing.h"

namespace dxftest {

inline bool Near(double a, double b) { return std::fabs(a - b) <= 1e-9 + 1e-12 * std::fabs(a); }

#define DXFTEST_EXPECT_CLOSE(a, b) EXPECT_PRED2(Near, a, b)

inline void ExpectSameFigure(const FigureRecord& a, const FigureRecord& b) {
  ASSERT_EQ(a.kind, b.kind);
  switch (a.kind) {
    case VEX_FIG_ARC:
      EXPECT_EQ(a.u.arc.direction, b.u.arc.direction);
      DXFTEST_EXPECT_CLOSE(a.u.arc.r, b.u.arc.r);
      [[fallthrough]];
    default:
      // Every coordinate of the record: line ends, centres, arc ends, points.
      for (int i = 0; i < 6; ++i)
        DXFTEST_EXPECT_CLOSE(a.u.raw[i], b.u.raw[i]) << "coordinate " << i;
      break;
    case VEX_FIG_CIRCLE:
      DXFTEST_EXPECT_CLOSE(a.u.circle.cx, b.u.circle.cx);
      DXFTEST_EXPECT_CLOSE(a.u.circle.cy, b.u.circle.cy);
      DXFTEST_EXPECT_CLOSE(a.u.circle.r, b.u.circle.r);
      break;
    case VEX_FIG_POINT:
      DXFTEST_EXPECT_CLOSE(a.u.point.x, b.u.point.x);
      DXFTEST_EXPECT_CLOSE(a.u.point.y, b.u.point.y);
      break;
  }
}

inline void ExpectSameComment(const vexhost::Comment& a, const vexhost::Comment& b) {
  ASSERT_EQ(a.index(), b.index());
  if (const auto* ta = std::get_if<vexhost::TextComment>(&a)) {
    const auto& tb = std::get<vexhost::TextComment>(b);
    EXPECT_EQ(ta->text, tb.text);
    DXFTEST_EXPECT_CLOSE(ta->record.x, tb.record.x);
    DXFTEST_EXPECT_CLOSE(ta->record.y, tb.record.y);
    DXFTEST_EXPECT_CLOSE(ta->record.size1, tb.record.size1);
    DXFTEST_EXPECT_CLOSE(ta->record.size2, tb.record.size2);
    return;
  }
  const auto& ba = std::get<vexhost::BalloonComment>(a);
  const auto& bb = std::get<vexhost::BalloonComment>(b);
  EXPECT_EQ(ba.rows, bb.rows);
  EXPECT_EQ(ba.record.leader, bb.record.leader);
  DXFTEST_EXPECT_CLOSE(ba.record.anchorX, bb.record.anchorX);
  DXFTEST_EXPECT_CLOSE(ba.record.anchorY, bb.record.anchorY);
  DXFTEST_EXPECT_CLOSE(ba.record.centerX, bb.record.centerX);
  DXFTEST_EXPECT_CLOSE(ba.record.centerY, bb.record.centerY);
  DXFTEST_EXPECT_CLOSE(ba.record.diameter, bb.record.diameter);
}

inline std::string LayerName(const vexhost::Drawing& d, int layer) {
  const auto it = d.layerNames().find(layer);
  return it == d.layerNames().end() ? std::to_string(layer) : it->second;
}

// The same lasting segments in the same order, element for element. A named layer's number
// comes back only when it follows the import's numbering (docs/dxf.md); with `byName` named
// layers are compared by their names alone.
inline void ExpectSameDrawing(const vexhost::Drawing& a, const vexhost::Drawing& b,
                              bool byName = false) {
  std::vector<int> idsA;
  for (const int id : a.SegmentIds()) {
    const vexhost::Segment* s = a.FindSegment(id);
    if (s->life == VEX_LIFE_LASTING && !s->elements.empty()) idsA.push_back(id);
  }
  const std::vector<int> idsB = b.SegmentIds();
  ASSERT_EQ(idsA.size(), idsB.size());
  for (size_t i = 0; i < idsA.size(); ++i) {
    SCOPED_TRACE("segment " + std::to_string(i));
    const vexhost::Segment& sa = *a.FindSegment(idsA[i]);
    const vexhost::Segment& sb = *b.FindSegment(idsB[i]);
    EXPECT_EQ(sa.kind, sb.kind);
    if (!byName || !a.layerNames().count(sa.layer)) {
      EXPECT_EQ(sa.layer, sb.layer);
    }
    EXPECT_EQ(LayerName(a, sa.layer), LayerName(b, sb.layer));
    EXPECT_EQ(a.LayerVisible(sa.layer), b.LayerVisible(sb.layer));
    EXPECT_EQ(sa.attributes, sb.attributes);
    ASSERT_EQ(sa.elements.size(), sb.elements.size());
    for (size_t k = 0; k < sa.elements.size(); ++k) {
      const vexhost::Element& ea = *a.FindElement(sa.elements[k]);
      const vexhost::Element& eb = *b.FindElement(sb.elements[k]);
      ASSERT_EQ(ea.type, eb.type);
      if (ea.comment) {
        ExpectSameComment(*ea.comment, *eb.comment);
        continue;
      }
      ExpectSameFigure(ea.figure, eb.figure);
      EXPECT_EQ(ea.lineAttr->color, eb.lineAttr->color);
      EXPECT_EQ(ea.lineAttr->lineType, eb.lineAttr->lineType);
      if (::testing::Test::HasFailure()) return;  // one broken segment is enough to see
    }
  }
}

}  // namespace dxftest

#endif  // TESTS_DXF_DRAWING_COMPARE_H
