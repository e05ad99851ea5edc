// What undo keeps of each result action: the segments it changed taken back and forward whole
// (elements, holes, copies, the index the searches use), ids never handed out twice, nothing for
// an action that changed nothing, and a history bounded in steps and in bytes, the oldest
// dropped first.
#include <gtest/gtest.h>

#include <string>

#include "host/host.h"
#include "host/undo_history.h"
#include "host_test_util.h"

namespace {

using hosttest::AddSegment;
using hosttest::Circle;
using hosttest::Line;

class UndoHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override { vexhost::ResetHost(); }
  vexhost::Drawing& drawing() { return vexhost::TheHost().drawing; }

  // What the drawing holds, told through what callers see: each segment's figures and the
  // segments near a few areas.
  std::string Describe() {
    std::string d;
    for (const int id : drawing().SegmentIds()) {
      const vexhost::Segment& s = *drawing().FindSegment(id);
      d += std::to_string(id) + (s.life == VEX_LIFE_LASTING ? "" : "t") + " L" +
           std::to_string(s.layer) + " h" + std::to_string(s.holeId) + ":";
      for (const int e : s.elements) {
        const FigureRecord& f = drawing().FindElement(e)->figure;
        d += " " + std::to_string(e) + "/" + std::to_string(f.kind) + "@" +
             std::to_string(f.u.line.x1) + "," + std::to_string(f.u.line.y1) + "c" +
             std::to_string(drawing().FindElement(e)->lineAttr->color);
      }
      d += ";";
    }
    for (const VexBox area : {VexBox{-1, -1, 11, 11}, VexBox{90, 90, 200, 200}}) {
      d += " near:";
      for (const int id : drawing().SegmentsNear(area)) d += std::to_string(id) + ",";
    }
    return d;
  }
};

TEST_F(UndoHistoryTest, UndoAndRedoTakeEachStateBackWhole) {
  const int square = AddSegment({Line(0, 0, 10, 0), Line(10, 0, 10, 10)});
  const int hole = AddSegment({Circle(5, 5, 1)});
  ASSERT_GT(drawing().AttachHole(hole, HoleData{}, {}), 0);
  drawing().MarkBaseline();
  vexhost::UndoHistory history;
  const std::string asRead = Describe();

  // One action: a copy placed far away, a segment deleted, a colour changed, a temporary drawn
  // and a segment blinking.
  history.Mark(drawing());
  const int copy = drawing().CopySegment(square);
  ASSERT_TRUE(
      drawing().PlaceSegment(copy, vexhost::PlaneMap::MoveTurnScale({0, 0}, {100, 100}, 0, 1)));
  ASSERT_TRUE(drawing().DeleteSegment(hole));
  LineAttr red = *drawing().FindElement(drawing().FindSegment(square)->elements[0])->lineAttr;
  red.color = 5;
  ASSERT_EQ(VexFigSetLineType2(drawing().FindSegment(square)->elements[0], &red), 0);
  history.Settle(drawing());
  AddSegment({Line(0, 0, 1, 1)}, VEX_LIFE_TEMPORARY);
  drawing().Blink({vexhost::Drawing::kDrawingId, square});
  const std::string changed = Describe();
  ASSERT_NE(changed, asRead);

  ASSERT_TRUE(history.Undo(drawing()));
  EXPECT_EQ(Describe(), asRead);
  EXPECT_TRUE(drawing().blinking().empty());
  EXPECT_EQ(drawing().ChangesSinceBaseline().added.size(), 0u);
  EXPECT_EQ(drawing().ChangesSinceBaseline().deleted.size(), 0u);
  ASSERT_TRUE(history.Redo(drawing()));
  EXPECT_NE(Describe().find(" near:" + std::to_string(copy) + ","), std::string::npos);
  EXPECT_EQ(drawing().ChangesSinceBaseline().deleted, std::vector<int>{hole});
  ASSERT_EQ(drawing().CopyOriginOf(copy).has_value(), true);
  EXPECT_EQ(drawing().CopyOriginOf(copy)->source, square);
  EXPECT_FALSE(history.Redo(drawing()));

  // New ids go past every id either state used, the temporary one's too.
  ASSERT_TRUE(history.Undo(drawing()));
  const int next = AddSegment({Line(3, 3, 4, 4)});
  EXPECT_GT(next, copy + 1);
  EXPECT_GT(VexSgmGetHeadElementId(next), VexSgmGetHeadElementId(copy));
}

TEST_F(UndoHistoryTest, AnActionThatChangedNothingKeepsNothing) {
  const int line = AddSegment({Line(0, 0, 1, 0)});
  vexhost::UndoHistory history;
  const auto moveBy = [&](double dx) {
    drawing().UpdateFigures(line, [dx](const FigureRecord& f) {
      FigureRecord moved = f;
      moved.u.line.x2 += dx;
      return moved;
    });
  };
  // Nothing touched; a temporary drawn and erased; a change undone within the action.
  history.Mark(drawing());
  history.Settle(drawing());
  history.Mark(drawing());
  AddSegment({Line(0, 0, 1, 1)}, VEX_LIFE_TEMPORARY);
  drawing().EraseTemporary();
  history.Settle(drawing());
  history.Mark(drawing());
  moveBy(2);
  moveBy(-2);
  history.Settle(drawing());
  EXPECT_EQ(history.undoSteps(), 0u);
  EXPECT_EQ(history.kept(), 0u);
  history.Mark(drawing());
  moveBy(2);
  history.Settle(drawing());
  EXPECT_EQ(history.undoSteps(), 1u);
}

TEST_F(UndoHistoryTest, KeepsTwentyStepsAndNoMoreBytesThanAllowedOldestFirst) {
  for (int i = 0; i < 50; ++i) AddSegment({Line(i, 0, i, 1)});
  // Each action changes one line: its step holds that line before and after.
  const uint64_t oneStep = 2 * drawing().ImageOf(1).Bytes();
  struct Case {
    uint64_t limit;
    int actions;
    size_t kept;
  };
  const Case cases[] = {
      {UINT64_MAX, 25, 20},
      {oneStep * 3 + oneStep / 2, 25, 3},
      {oneStep / 2, 5, 0},  // one step alone passes the limit: nothing is kept
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    vexhost::UndoHistory history;
    history.SetByteLimit(c.limit);
    for (int i = 0; i < c.actions; ++i) {
      history.Mark(drawing());
      drawing().UpdateFigures(i + 1, [](const FigureRecord& f) {
        FigureRecord moved = f;
        moved.u.line.x2 += 0.5;
        return moved;
      });
      history.Settle(drawing());
    }
    EXPECT_EQ(history.undoSteps(), c.kept);
    EXPECT_EQ(history.tooLarge(), c.kept == 0);
    // Undoing everything kept takes back only the newest actions: the earliest stay.
    while (history.Undo(drawing())) {
    }
    for (int i = 0; i < c.actions; ++i) {
      const bool undone = i >= c.actions - static_cast<int>(c.kept);
      const FigureRecord& f =
          drawing().FindElement(drawing().FindSegment(i + 1)->elements[0])->figure;
      EXPECT_EQ(f.u.line.x2, undone ? i : i + 0.5) << i;
    }
    // Redo it all again for the next case.
    while (history.Redo(drawing())) {
    }
    for (int i = 0; i < 50; ++i) {
      drawing().UpdateFigures(i + 1, [i](const FigureRecord& f) {
        FigureRecord back = f;
        back.u.line.x2 = i;
        return back;
      });
    }
  }
}

}  // namespace
