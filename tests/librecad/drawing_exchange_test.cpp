// LibreCAD's entities into the host and the host's segments back: every kind the interface
// gives geometry of is read as a DXF file's entity of that kind would be, what the command
// makes is written as LibreCAD entities that read back as the same figures, and changes reach
// the entities the segments stand for, pass after pass.
#include <gtest/gtest.h>

#include <cmath>

#include "host/comment.h"
#include "host/figures.h"
#include "host/host.h"
#include "librecad/lc_look.h"
#include "tests/librecad/librecad_fixture.h"

namespace twinfind::librecad::testing {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A figure as something to compare: its kind and numbers; an arc by its centre, radius and its
// ends taken counter-clockwise (LibreCAD draws every arc that way).
std::vector<double> Shape(const FigureRecord& f) {
  switch (f.kind) {
    case VEX_FIG_LINE:
      return {1, f.u.line.x1, f.u.line.y1, f.u.line.x2, f.u.line.y2};
    case VEX_FIG_CIRCLE:
      return {2, f.u.circle.cx, f.u.circle.cy, f.u.circle.r};
    case VEX_FIG_POINT:
      return {9, f.u.point.x, f.u.point.y};
    case VEX_FIG_ARC: {
      const FigureArc& a = f.u.arc;
      const bool ccw = a.direction != VEX_ARC_CW;
      return {3,
              a.cx,
              a.cy,
              a.r,
              ccw ? a.sx : a.ex,
              ccw ? a.sy : a.ey,
              ccw ? a.ex : a.sx,
              ccw ? a.ey : a.sy};
    }
    default:
      return {static_cast<double>(f.kind)};
  }
}

struct Read {
  std::vector<std::vector<double>> shapes;  // of every figure, in order
  std::vector<LineAttr> looks;
};

// A segment's figures and their looks.
Read ReadSegment(const vexhost::Drawing& drawing, int id) {
  Read read;
  for (const int e : drawing.FindSegment(id)->elements) {
    const vexhost::Element& element = *drawing.FindElement(e);
    if (element.comment) continue;
    read.shapes.push_back(Shape(element.figure));
    read.looks.push_back(element.lineAttr.value_or(LineAttr{}));
  }
  return read;
}

void ExpectSameShapes(const Read& got, const Read& want) {
  ASSERT_EQ(got.shapes.size(), want.shapes.size());
  for (size_t i = 0; i < got.shapes.size(); ++i) {
    ASSERT_EQ(got.shapes[i].size(), want.shapes[i].size()) << i;
    for (size_t k = 0; k < got.shapes[i].size(); ++k)
      EXPECT_NEAR(got.shapes[i][k], want.shapes[i][k], 1e-9) << "figure " << i << " number " << k;
    EXPECT_EQ(got.looks[i].color, want.looks[i].color) << i;
    EXPECT_EQ(got.looks[i].lineType, want.looks[i].lineType) << i;
  }
}

TEST_F(LibreCadTest, EveryEntityKindGoesInAndComesBackOut) {
  FakeDocument doc;
  doc.AddLayer("GREEN", {0x00FF00, QStringLiteral("DashDotLine")});
  struct Kind {
    int type;
    QHash<int, QVariant> data;
    QList<Plug_VertexData> vertices;
    std::vector<int> figures;  // the kinds of the figures it becomes
    int color;                 // their host colour
    int lineType;              // their host line type
  };
  const std::vector<Kind> kinds = {
      {DPI::LINE,
       {{DPI::STARTX, 1},
        {DPI::STARTY, 2},
        {DPI::ENDX, 30},
        {DPI::ENDY, 4},
        {DPI::COLOR, 0xFF0000},
        {DPI::LTYPE, "DashLine"}},
       {},
       {VEX_FIG_LINE},
       5,
       1},
      {DPI::ARC,
       {{DPI::STARTX, 50},
        {DPI::STARTY, 0},
        {DPI::RADIUS, 5},
        {DPI::STARTANGLE, 0},
        {DPI::ENDANGLE, kPi / 2},
        {DPI::LAYER, "GREEN"}},
       {},
       {VEX_FIG_ARC},
       2,
       2},
      {DPI::ARC,
       {{DPI::STARTX, 70},
        {DPI::STARTY, 0},
        {DPI::RADIUS, 5},
        {DPI::STARTANGLE, 0},
        {DPI::ENDANGLE, kPi / 2},
        {DPI::REVERSED, true},
        {DPI::COLOR, 0}},
       {},
       {VEX_FIG_ARC},
       0,
       0},
      {DPI::CIRCLE,
       {{DPI::STARTX, 90}, {DPI::STARTY, 0}, {DPI::RADIUS, 3}, {DPI::COLOR, -2}},
       {},
       {VEX_FIG_CIRCLE},
       0,
       0},
      {DPI::POINT,
       {{DPI::STARTX, 100}, {DPI::STARTY, 1}, {DPI::LTYPE, "CenterLine2"}},
       {},
       {VEX_FIG_POINT},
       0,
       8},
      {DPI::POLYLINE,
       {{DPI::CLOSEPOLY, 0}, {DPI::COLOR, 0x0000FF}},
       {{QPointF(110, 0), 0}, {QPointF(120, 0), 1}, {QPointF(120, 10), 0}},
       {VEX_FIG_LINE, VEX_FIG_ARC},
       11,
       0},
      {DPI::POLYLINE,
       {{DPI::CLOSEPOLY, 1}, {DPI::LAYER, "GREEN"}, {DPI::LTYPE, "BYLAYER"}},
       {{QPointF(130, 0), 0}, {QPointF(140, 0), -0.4142}, {QPointF(140, 10), 0}},
       {VEX_FIG_LINE, VEX_FIG_ARC, VEX_FIG_LINE},
       2,
       2},
      {DPI::TEXT, {{DPI::TEXTCONTENT, "note"}, {DPI::STARTX, 0}, {DPI::STARTY, 50}}, {}, {}, 0, 0},
      {DPI::INSERT, {{DPI::BLKNAME, "B"}}, {}, {}, 0, 0},
      {DPI::HATCH, {}, {}, {}, 0, 0},
      {DPI::SPLINE, {}, {}, {}, 0, 0},
  };
  for (const Kind& k : kinds) doc.AddEntity(k.type, k.data, k.vertices);
  // An ellipse, which becomes lines within the chord tolerance.
  doc.AddEntity(DPI::ELLIPSE, {{DPI::STARTX, 200},
                               {DPI::STARTY, 0},
                               {DPI::ENDX, 20},
                               {DPI::ENDY, 0},
                               {DPI::HEIGHT, 0.5},
                               {DPI::STARTANGLE, 0},
                               {DPI::ENDANGLE, 2 * kPi}});
  CapturedLine line;
  std::vector<Read> originals;  // what the copies are in the host
  {
    CommandRun run(doc, line);
    ASSERT_TRUE(run.ready());
    vexhost::Drawing& drawing = run.drawing();
    const std::vector<int> ids = drawing.SegmentIds();
    ASSERT_EQ(ids.size(), 8u);  // the seven kinds read, the ellipse
    for (size_t i = 0; i < 7; ++i) {
      SCOPED_TRACE(i);
      const Read read = ReadSegment(drawing, ids[i]);
      std::vector<int> figureKinds;
      for (const auto& shape : read.shapes) figureKinds.push_back(static_cast<int>(shape[0]));
      for (int& kind : figureKinds) kind = kind == 9 ? VEX_FIG_POINT : kind;
      EXPECT_EQ(figureKinds, kinds[i].figures);
      for (const LineAttr& look : read.looks) {
        EXPECT_EQ(look.color, kinds[i].color);
        EXPECT_EQ(look.lineType, kinds[i].lineType);
      }
    }
    // LibreCAD's clockwise arc is the counter-clockwise one from its end.
    const std::vector<double> reversed{3, 70, 0, 5, 70, 5, 75, 0};
    for (size_t k = 0; k < reversed.size(); ++k)
      EXPECT_NEAR(ReadSegment(drawing, ids[2]).shapes[0][k], reversed[k], 1e-12);
    EXPECT_GT(ReadSegment(drawing, ids[7]).shapes.size(), 16u);
    EXPECT_TRUE(line.Has("HATCH 1, INSERT 1, SPLINE 1, TEXT 1"))
        << line.lines.join("\n").toStdString();
    // Out: each segment copied 100 below, as a row's copies are made (the first arc mirrored
    // too, which makes it clockwise), a text and a balloon.
    PlaneMap mirror;
    ASSERT_TRUE(PlaneMap::Mirror({0, -300}, {10, -300}, mirror));
    for (const int id : ids) {
      const int copy = drawing.CopySegment(id);
      ASSERT_TRUE(drawing.PlaceSegment(copy, PlaneMap::Translation(0, -100)));
      originals.push_back(ReadSegment(drawing, copy));
    }
    const int mirrored = drawing.CopySegment(ids[1]);
    ASSERT_TRUE(drawing.PlaceSegment(mirrored, mirror));
    originals.push_back(ReadSegment(drawing, mirrored));
    drawing.SetCurrentLayer(801);
    const int texts = drawing.CreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
    NormalTextData text{};
    text.x = 5;
    text.y = -150;
    text.text = u"A-001";
    text.size1 = 10;
    text.size2 = 7;
    drawing.AddComment(texts, *vexhost::MakeTextComment(text));
    BalloonData balloon{};
    balloon.leader = 1;
    balloon.anchorX = 0;
    balloon.anchorY = -200;
    balloon.centerX = 30;
    balloon.centerY = -200;
    balloon.rowCount = 2;
    const char16_t* rows[] = {u"A-001", u"2"};
    balloon.rows[0] = rows[0];
    balloon.rows[1] = rows[1];
    balloon.diameter = 12;
    drawing.AddComment(texts, *vexhost::MakeBalloonComment(balloon));
    run.writer().Sync();
  }
  EXPECT_EQ(doc.freedWhileAdded(), 0);
  int texts = 0, circlesOn801 = 0;
  for (const FakeEntity* e : doc.Present()) {
    if (e->data.value(DPI::LAYER).toString() != "801") continue;
    circlesOn801 += e->type() == DPI::CIRCLE;
    if (e->type() == DPI::TEXT) {
      ++texts;
      if (e->data.value(DPI::TEXTCONTENT).toString() == "2") {
        EXPECT_EQ(e->data.value(DPI::TXTALIGNH).toInt(), DPI::HAlignCenter);
        EXPECT_NEAR(e->data.value(DPI::STARTX).toDouble(), 30, 1e-9);
      }
    }
  }
  EXPECT_EQ(texts, 3);  // the text, the balloon's two rows
  EXPECT_EQ(circlesOn801, 1);
  // The copies read back as LibreCAD holds them: the same figures, the same looks.
  CommandRun again(doc, line);
  const std::vector<int> ids = again.drawing().SegmentIds();
  // The originals, their copies, the mirrored arc, the balloon's circle and leader.
  ASSERT_EQ(ids.size(), 19u);
  for (size_t i = 0; i < originals.size(); ++i) {
    SCOPED_TRACE(i);
    ExpectSameShapes(ReadSegment(again.drawing(), ids[8 + i]), originals[i]);
  }
}

TEST_F(LibreCadTest, ChangesReachTheEntitiesPassAfterPass) {
  FakeDocument doc;
  const qulonglong lineId = doc.AddLine(0, 0, 10, 0);
  const qulonglong circleId = doc.AddCircleAt(20, 0, 3);
  CapturedLine line;
  CommandRun run(doc, line);
  vexhost::Drawing& drawing = run.drawing();
  const int lineSegment = drawing.SegmentIds().front();
  // Recoloured: LibreCAD replaces the entity by a copy in the new colour.
  const auto recolour = [&](int color) {
    drawing.UpdateFigures(lineSegment, [](const FigureRecord& f) { return f; });
    drawing.WillChange(lineSegment);
    for (const int e : drawing.FindSegment(lineSegment)->elements)
      drawing.FindElement(e)->lineAttr = LineAttr{color, 0, 0, 0, 3, 0};
    run.writer().Sync();
  };
  recolour(5);
  EXPECT_TRUE(doc.Find(lineId)->removed);
  recolour(2);  // the copy's copy: the map followed the first copy
  EXPECT_EQ(doc.staleUpdates(), 0);
  int lines = 0;
  for (const FakeEntity* e : doc.Present()) {
    if (e->type() != DPI::LINE) continue;
    ++lines;
    EXPECT_EQ(e->data.value(DPI::COLOR).toInt(), RgbOfHostColor(2));
    EXPECT_EQ(e->data.value(DPI::LTYPE).toString(), NameOfHostLineType(3));
  }
  EXPECT_EQ(lines, 1);
  drawing.DeleteSegment(lineSegment);
  drawing.DeleteSegment(drawing.SegmentIds().back());
  run.writer().Sync();
  EXPECT_TRUE(doc.Present().empty());
  EXPECT_TRUE(doc.Find(circleId)->removed);
}

}  // namespace
}  // namespace twinfind::librecad::testing
