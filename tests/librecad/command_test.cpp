// The command run through LibreCAD's interface, both methods, from the menu entry to the end:
// what the user is asked, what is shown, what the drawing holds afterwards.
#include <gtest/gtest.h>

#include <algorithm>

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
    WriteSettings({{"mMethod", "0"}, {"mIsRotate", "1"}, {"mIsSymmetry", "1"},
                   {"mFigure", c.figure}, {"mIsArrange", "1"}, {"m_ColorMain", "MAINCOLOR03"}});
    const std::vector<qulonglong> part = AddBracket(doc, 0, 0, 0);
    const std::vector<qulonglong> turned = AddBracket(doc, 100, 0, 90);
    const std::vector<qulonglong> mirrored = AddBracket(doc, 200, 0, 0, true);
    const qulonglong other = doc.AddCircleAt(300, 20, 7, QStringLiteral("PARTS"));
    doc.selections = {AllIds(doc), part, std::nullopt};  // range, part, then the end
    doc.points = {std::nullopt, QPointF(0, -100)};      // the confirmation, the row's place
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

}  // namespace
}  // namespace twinfind::librecad::testing
