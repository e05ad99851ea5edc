// The command run through LibreCAD's interface, both methods, from the menu entry to the end:
// what the user is asked, what is shown, what the drawing holds afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

#include "balloon/part_texts.h"
#include "librecad/lc_entries.h"
#include "librecad/lc_look.h"
#include "librecad/lc_writer.h"
#include "tests/librecad/librecad_fixture.h"

namespace twinfind::librecad::testing {
namespace {

std::vector<qulonglong> AllIds(const FakeDocument& doc) {
  std::vector<qulonglong> ids;
  for (const FakeEntity* e : doc.Present()) ids.push_back(e->id());
  return ids;
}

double Y(const FakeEntity& e) {
  return e.type() == DPI::POLYLINE ? e.vertices.front().point.y()
                                   : e.data.value(DPI::STARTY).toDouble();
}

// The entities in the drawing in a colour, lying at or above y.
int InColor(const FakeDocument& doc, int rgb, double y = -1e9) {
  int count = 0;
  for (const FakeEntity* e : doc.Present())
    count += e->data.value(DPI::COLOR).toInt() == rgb && Y(*e) >= y;
  return count;
}

// The entities in the drawing lying below y (those the rows put there).
int Below(const FakeDocument& doc, double y) {
  int count = 0;
  for (const FakeEntity* e : doc.Present()) count += Y(*e) < y;
  return count;
}

bool Present(const FakeDocument& doc, qulonglong id) {
  const FakeEntity* e = doc.Find(id);
  return e != nullptr && !e->removed;
}

TEST_F(LibreCadTest, GeneralMethodFindsShowsAndActsOnTheTwins) {
  struct Case {
    const char* figure;  // mFigure: 0 leave, 1 delete, 2 recolour
  };
  for (const Case& c : {Case{"0"}, Case{"1"}, Case{"2"}}) {
    SCOPED_TRACE(c.figure);
    FakeDocument doc;
    CapturedLine line;
    WriteSettings({{"mMethod", "0"},
                   {"mIsRotate", "1"},
                   {"mIsSymmetry", "1"},
                   {"mFigure", c.figure},
                   {"mIsArrange", "1"},
                   {"m_ColorMain", "MAINCOLOR03"}});
    const std::vector<qulonglong> part = AddBracket(doc, 0, 0, 0);
    const std::vector<qulonglong> turned = AddBracket(doc, 100, 0, 90);
    const std::vector<qulonglong> mirrored = AddBracket(doc, 200, 0, 0, true);
    const qulonglong other = doc.AddCircleAt(300, 20, 7, QStringLiteral("PARTS"));
    doc.selections = {AllIds(doc), part, std::nullopt};  // range, part, then the end
    doc.points = {std::nullopt, QPointF(0, -100)};       // the confirmation, the row's place
    int shownAtConfirm = -1;
    doc.onAsk = [&]() {
      if (doc.prompts.size() == 3) shownAtConfirm = InColor(doc, kHighlightRgb);
    };
    RunEntry(doc, nullptr, Entry::kCommand, line);

    EXPECT_TRUE(line.Has(QString::fromUtf8("총 3개의 동일한 부품을 발견하였습니다.")))
        << line.lines.join("\n").toStdString();
    EXPECT_EQ(shownAtConfirm, 9);  // each twin's polyline and two circles, drawn over them
    EXPECT_EQ(InColor(doc, kHighlightRgb), 0);
    EXPECT_TRUE(Present(doc, other));
    // Three twins of three entities each, and the four lines framing the mirror image.
    EXPECT_EQ(Below(doc, -50), 13);
    for (const std::vector<qulonglong>* twin : {&part, &turned, &mirrored}) {
      for (const qulonglong id : *twin) {
        // Left: the same entity. Deleted: gone. Recoloured: replaced by a green copy.
        EXPECT_EQ(Present(doc, id), std::string(c.figure) == "0") << id;
      }
    }
    if (std::string(c.figure) == "2") {
      EXPECT_EQ(InColor(doc, RgbOfHostColor(2), -50), 9);
    }
    EXPECT_EQ(doc.freedWhileAdded(), 0);
    EXPECT_EQ(doc.staleUpdates(), 0);
  }
}

TEST_F(LibreCadTest, AnEntityDrawnMeanwhileIsToldAndLeavesNoHighlightBehind) {
  FakeDocument doc;
  CapturedLine line;
  WriteSettings({{"mMethod", "0"}, {"mIsRotate", "1"}, {"mFigure", "0"}, {"mIsArrange", "0"}});
  const std::vector<qulonglong> part = AddBracket(doc, 0, 0, 0);
  AddBracket(doc, 100, 0, 90);
  doc.selections = {AllIds(doc), part};
  doc.points = {std::nullopt};
  qulonglong drawn = 0;
  doc.onAsk = [&]() {  // at the part prompt, the user draws a line of LibreCAD's
    if (doc.prompts.size() == 2) drawn = doc.AddLine(0, 100, 50, 100);
  };
  RunEntry(doc, nullptr, Entry::kCommand, line);
  EXPECT_TRUE(line.Has(QString::fromUtf8("가려내지 못했습니다")))
      << line.lines.join("\n").toStdString();
  EXPECT_EQ(InColor(doc, kHighlightRgb), 0);
  EXPECT_TRUE(Present(doc, drawn));
  EXPECT_EQ(doc.Present().size(), 7u);  // the two brackets, the line
}

TEST_F(LibreCadTest, BalloonMethodLabelsThePartsAndTakesTheAnswersTyped) {
  FakeDocument doc;
  CapturedLine line;
  WriteSettings({{"mMethod", "1"},
                 {"mIsRotate", "1"},
                 {"mIsMaterial", "1"},
                 {"mIsDepth", "1"},
                 {"mIsBalloonAutoArrange", "1"},
                 {"mIsArrange", "1"},
                 {"mBalloonStr", "A-009"}});
  const std::vector<qulonglong> part = AddBracket(doc, 0, 0, 0);
  AddBracket(doc, 100, 0, 90);
  doc.selections = {AllIds(doc), part};  // the range, the part; then nothing: the end
  // The material, the number proposed (given up: the end button keeps it), the depth.
  doc.texts = {QStringLiteral("SS400"), std::nullopt, QStringLiteral("12")};
  doc.points = {std::nullopt, QPointF(0, -100)};  // the confirmation, the row's place
  RunEntry(doc, nullptr, Entry::kCommand, line);

  EXPECT_TRUE(line.Has(QString::fromUtf8("총 2개의 동일한 부품을 발견하였습니다.")))
      << line.lines.join("\n").toStdString();
  // Range, material, number, depth, part, confirmation, row; then given up at the material
  // prompt with a material typed before: the end button goes on to the number, the depth and
  // the part; given up there, the command ends.
  EXPECT_EQ(doc.prompts.size(), 11u);
  std::map<QString, int> onBalloonLayer;  // what the balloon layer holds, by kind and text
  for (const FakeEntity* e : doc.Present()) {
    if (e->data.value(DPI::LAYER).toString() != "801") continue;
    ++onBalloonLayer[e->type() == DPI::TEXT ? e->data.value(DPI::TEXTCONTENT).toString()
                                            : QString::number(e->type())];
  }
  // A balloon on each twin and on each copy; the number, count and depth beside the row.
  EXPECT_EQ(onBalloonLayer[QString::number(DPI::CIRCLE)], 4);
  EXPECT_EQ(onBalloonLayer["A-009"], 5);
  EXPECT_EQ(onBalloonLayer["SS400"], 4);
  EXPECT_EQ(onBalloonLayer["2EA"], 1);
  EXPECT_EQ(onBalloonLayer["T12"], 1);
  int copies = 0;  // the twins' copies in a row
  for (const FakeEntity* e : doc.Present())
    copies += e->data.value(DPI::LAYER).toString() == "PARTS" && Y(*e) < -50;
  EXPECT_EQ(copies, 6);
  std::ifstream settings(folder_ / "settings.reg");
  const std::string stored((std::istreambuf_iterator<char>(settings)), {});
  EXPECT_NE(stored.find("\"mBalloonStr\"=\"A-010\""), std::string::npos) << stored;
  EXPECT_EQ(doc.freedWhileAdded(), 0);
}

TEST_F(LibreCadTest, ABalloonPlacedByHandGoesWhereTheUserClicks) {
  FakeDocument doc;
  CapturedLine line;
  WriteSettings({{"mMethod", "1"},
                 {"mIsRotate", "1"},
                 {"mIsMaterial", "0"},
                 {"mIsDepth", "0"},
                 {"mIsBalloonAutoArrange", "0"}});
  const std::vector<qulonglong> part = AddBracket(doc, 0, 0, 0);
  AddBracket(doc, 100, 0, 90);
  doc.selections = {AllIds(doc), part};
  doc.texts = {QStringLiteral("B-1")};
  doc.points = {QPointF(60, 60)};  // the balloon's place, the twins shown meanwhile
  int shownAtPlacement = -1;
  doc.onAsk = [&]() {
    if (doc.prompts.size() == 4) shownAtPlacement = InColor(doc, kHighlightRgb);
  };
  RunEntry(doc, nullptr, Entry::kCommand, line);
  EXPECT_EQ(shownAtPlacement, 6);
  int balloons = 0;
  for (const FakeEntity* e : doc.Present()) {
    if (e->type() != DPI::CIRCLE || e->data.value(DPI::LAYER).toString() != "801") continue;
    ++balloons;
    EXPECT_NEAR(e->data.value(DPI::STARTX).toDouble(), 60, 1e-9);
    EXPECT_NEAR(e->data.value(DPI::STARTY).toDouble(), 60, 1e-9);
  }
  EXPECT_EQ(balloons, 1);
  EXPECT_EQ(InColor(doc, kHighlightRgb), 0);
}

TEST_F(LibreCadTest, GivingUpTwiceAtAPromptThatStaysLeavesTheCommand) {
  FakeDocument doc;
  CapturedLine line;
  WriteSettings({{"mMethod", "1"}, {"mIsMaterial", "1"}});
  AddBracket(doc, 0, 0, 0);
  materialText.clear();  // no material typed in an earlier command
  doc.selections = {AllIds(doc)};
  doc.onAsk = [&doc]() { ASSERT_LT(doc.prompts.size(), 10u) << "the command never ends"; };
  RunEntry(doc, nullptr, Entry::kCommand, line);  // no material typed, and given up: twice
  EXPECT_EQ(doc.prompts.size(), 3u);
  EXPECT_TRUE(line.Has(QString::fromUtf8("같은 질문에서 두 번 취소하여 명령을 마칩니다")));
}

}  // namespace
}  // namespace twinfind::librecad::testing
