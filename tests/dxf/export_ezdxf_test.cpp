// Our DXF output as an independent reader sees it: ezdxf opens it, audits it clean, and draws
// what the host held, piece by piece, in the host's colours, line types and layers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <sstream>

#include "common/utf.h"
#include "dxf/dxf_export.h"
#include "dxf/dxf_import.h"
#include "dxf_test_util.h"
#include "host/palette.h"

namespace {

// One piece as ezdxf_check.py prints it.
struct Piece {
  int entity = 0;
  std::string type, layer, rgb, lineType;
  std::vector<double> numbers;
  std::string text;
};

struct Check {
  int errors = -1, fixes = -1;
  std::string version;
  std::vector<Piece> pieces;
};

// Runs tests/dxf/ezdxf_check.py on a file with Debian's python3 and its ezdxf.
Check RunEzdxf(const std::string& path) {
  Check check;
  const std::string command =
      "/usr/bin/python3 " TWINFIND_DXF_TEST_DIR "/ezdxf_check.py '" + path + "' 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
  if (!pipe) return check;
  std::string output;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe.get())) output.append(buffer, n);
  std::istringstream lines(output);
  std::string line;
  std::getline(lines, line);
  std::istringstream head(line);
  std::string word;
  if (!(head >> word >> check.errors >> check.fixes >> check.version) || word != "audit") {
    ADD_FAILURE() << "ezdxf_check.py (needs /usr/bin/python3 with python3-ezdxf) said:\n" << output;
    return check;
  }
  while (std::getline(lines, line)) {
    Piece p;
    const size_t bar = line.find(" | ");
    if (bar != std::string::npos) {
      p.text = line.substr(bar + 3);
      line.resize(bar);
    }
    std::istringstream fields(line);
    fields >> p.entity >> p.type >> p.layer >> p.rgb >> p.lineType;
    for (double v; fields >> v;) p.numbers.push_back(v);
    check.pieces.push_back(std::move(p));
  }
  return check;
}

FigureRecord Line(double x1, double y1, double x2, double y2) {
  FigureRecord f{};
  f.kind = VEX_FIG_LINE;
  f.u.line = {x1, y1, x2, y2};
  return f;
}

FigureRecord Arc(double cx, double cy, double r, double a1, double a2, int direction) {
  const double t1 = a1 * std::numbers::pi / 180, t2 = a2 * std::numbers::pi / 180;
  FigureRecord f{};
  f.kind = VEX_FIG_ARC;
  f.u.arc = {cx,
             cy,
             cx + r * std::cos(t1),
             cy + r * std::sin(t1),
             cx + r * std::cos(t2),
             cy + r * std::sin(t2),
             r,
             direction,
             0};
  return f;
}

FigureRecord Circle(double cx, double cy, double r) {
  FigureRecord f{};
  f.kind = VEX_FIG_CIRCLE;
  f.u.circle.cx = cx;
  f.u.circle.cy = cy;
  f.u.circle.r = r;
  return f;
}

int AddFigures(vexhost::Drawing& d, int layer, const std::vector<FigureRecord>& figures, int color,
               int lineType) {
  d.SetCurrentLineAttr(LineAttr{color, 0, 0, 0, lineType, 0});
  const int id = d.CreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING);
  d.FindSegment(id)->layer = layer;
  for (const FigureRecord& f : figures) d.AddFigure(id, f);
  return id;
}

NormalTextData TextRecord(double x, double y, const std::u16string& text) {
  NormalTextData t{};
  t.type = VEX_ELEMENT_TEXT;
  t.x = x;
  t.y = y;
  t.text = text.c_str();
  t.size1 = 10;
  t.size2 = 7;
  return t;
}

BalloonData BalloonRecord(const std::vector<std::u16string>& rows, bool leader) {
  BalloonData b{};
  b.leader = leader ? 1 : 0;
  b.anchorX = 300;
  b.anchorY = 0;
  b.centerX = 330;
  b.centerY = 40;
  b.diameter = 20;
  b.rowCount = static_cast<int32_t>(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) b.rows[i] = rows[i].c_str();
  return b;
}

// A drawing with one segment of each form the exporter knows.
void MakeDrawing(vexhost::Drawing& d) {
  d.SetLayerName(3, "부품 A");
  d.SetLayerVisible(3, false);
  AddFigures(d, 0, {Line(0, 0, 10, 5)}, 5, 1);
  AddFigures(d, 3, {Circle(20, 0, 4)}, 2, 0);
  AddFigures(d, 0, {Arc(40, 0, 5, 30, 120, VEX_ARC_CCW)}, 11, 5);
  AddFigures(d, 7, {Arc(60, 0, 5, 30, 120, VEX_ARC_CW)}, 8, 0);
  // A closed outline: line, counter-clockwise half circle, line, clockwise half circle.
  AddFigures(d, 0,
             {Line(100, 0, 120, 0), Arc(120, 5, 5, 270, 90, VEX_ARC_CCW), Line(120, 10, 100, 10),
              Arc(100, 5, 5, 90, 270, VEX_ARC_CW)},
             13, 3);
  // Not a chain: two circles and a point.
  FigureRecord point{};
  point.kind = VEX_FIG_POINT;
  point.u.point = {205, 5};
  AddFigures(d, 0, {Circle(200, 0, 2), Circle(210, 0, 2), point}, 14, 0);
  const int text = d.CreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
  const std::u16string words = u"수량 Ø10 <3>";
  d.AddComment(text, *vexhost::MakeTextComment(TextRecord(250, 0, words)));
  const int balloon = d.CreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
  const std::u16string a = u"A-1", b = u"2개";
  d.AddComment(balloon, *vexhost::MakeBalloonComment(BalloonRecord({a, b}, true)));
  const int both = d.CreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
  d.AddComment(both, *vexhost::MakeTextComment(TextRecord(400, 0, u"x")));
  d.AddComment(both, *vexhost::MakeBalloonComment(BalloonRecord({a}, false)));
}

// The host colour nearest to an RGB, worked out here from the palette.
int NearestHostColor(const std::string& hex) {
  const unsigned rgb = std::stoul(hex, nullptr, 16);
  const int r = rgb >> 16, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  int best = 0, bestDistance = 1 << 30;
  for (size_t i = 0; i < vexhost::kColors.size(); ++i) {
    const auto& c = vexhost::kColors[i];
    const int d = (r - c.r) * (r - c.r) + (g - c.g) * (g - c.g) + (b - c.b) * (b - c.b);
    if (d < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = d;
    }
  }
  return best;
}

double Angle(double x, double y) {
  const double a = std::atan2(y, x) * 180 / std::numbers::pi;
  return a < 0 ? a + 360 : a;
}

double Turn(double a) { return std::fmod(std::fmod(a, 360) + 360, 360); }

// What ezdxf must draw for one host figure.
void ExpectFigure(const Piece& p, const FigureRecord& f, const LineAttr& attr) {
  SCOPED_TRACE("entity " + std::to_string(p.entity) + " " + p.type);
  EXPECT_EQ(NearestHostColor(p.rgb), attr.color);
  EXPECT_EQ(p.lineType, vexhost::kLineTypes.at(attr.lineType).dxfName);
  const double tol = 1e-9;
  switch (f.kind) {
    case VEX_FIG_LINE:
      ASSERT_EQ(p.type, "LINE");
      EXPECT_NEAR(p.numbers[0], f.u.line.x1, tol);
      EXPECT_NEAR(p.numbers[1], f.u.line.y1, tol);
      EXPECT_NEAR(p.numbers[2], f.u.line.x2, tol);
      EXPECT_NEAR(p.numbers[3], f.u.line.y2, tol);
      break;
    case VEX_FIG_CIRCLE:
      ASSERT_EQ(p.type, "CIRCLE");
      EXPECT_NEAR(p.numbers[0], f.u.circle.cx, tol);
      EXPECT_NEAR(p.numbers[2], f.u.circle.r, tol);
      break;
    case VEX_FIG_ARC: {
      ASSERT_EQ(p.type, "ARC");
      const FigureArc& a = f.u.arc;
      EXPECT_NEAR(p.numbers[0], a.cx, tol);
      EXPECT_NEAR(p.numbers[1], a.cy, tol);
      EXPECT_NEAR(p.numbers[2], a.r, tol);
      // DXF arcs turn counter-clockwise: a clockwise host arc is the same curve from its end.
      double start = Angle(a.sx - a.cx, a.sy - a.cy), end = Angle(a.ex - a.cx, a.ey - a.cy);
      if (a.direction == VEX_ARC_CW) std::swap(start, end);
      EXPECT_NEAR(Turn(p.numbers[3] - start + 180) - 180, 0, 1e-7);
      EXPECT_NEAR(Turn(p.numbers[4] - end + 180) - 180, 0, 1e-7);
      break;
    }
    case VEX_FIG_POINT:
      ASSERT_EQ(p.type, "POINT");
      EXPECT_NEAR(p.numbers[0], f.u.point.x, tol);
      break;
  }
}

TEST(ExportEzdxfTest, EzdxfReadsOurOutputCleanAndDrawsWhatTheHostHeld) {
  dxftest::ScratchFolder folder;
  vexhost::Drawing d;
  MakeDrawing(d);
  std::string error;
  ASSERT_TRUE(twinfind::dxf::ExportDxf(d, folder / "out.dxf", error)) << error;
  const Check check = RunEzdxf(folder / "out.dxf");
  EXPECT_EQ(check.errors, 0);
  EXPECT_EQ(check.fixes, 0);
  EXPECT_EQ(check.version, "AC1009");

  // Walk the host's segments in order next to ezdxf's pieces.
  size_t next = 0;
  int entity = 0;
  for (const int id : d.SegmentIds()) {
    const vexhost::Segment& s = *d.FindSegment(id);
    std::string shownLayer =
        d.layerNames().count(s.layer) ? d.layerNames().at(s.layer) : std::to_string(s.layer);
    std::replace(shownLayer.begin(), shownLayer.end(), ' ', '_');  // as the script prints it
    for (const int e : s.elements) {
      const vexhost::Element& element = *d.FindElement(e);
      if (!element.comment) {
        ASSERT_LT(next, check.pieces.size());
        const Piece& p = check.pieces[next++];
        EXPECT_EQ(p.entity, entity);
        EXPECT_EQ(p.layer, shownLayer);
        ExpectFigure(p, element.figure, *element.lineAttr);
        continue;
      }
      if (const auto* text = std::get_if<vexhost::TextComment>(&*element.comment)) {
        ASSERT_LT(next, check.pieces.size());
        const Piece& p = check.pieces[next++];
        EXPECT_EQ(p.entity, entity);
        EXPECT_EQ(p.type, "TEXT");
        EXPECT_EQ(twinfind::ToUtf16(p.text), text->text);
        EXPECT_DOUBLE_EQ(p.numbers[0], text->record.x);
        EXPECT_DOUBLE_EQ(p.numbers[2], text->record.size1);
        EXPECT_NEAR(p.numbers[3], text->record.size2 / (0.7 * text->record.size1), 1e-12);
        continue;
      }
      // A balloon: its circle, its rows inside it, its leader from the anchor to the circle.
      const auto& balloon = std::get<vexhost::BalloonComment>(*element.comment);
      const BalloonData& b = balloon.record;
      ASSERT_LT(next, check.pieces.size());
      const Piece& circle = check.pieces[next++];
      EXPECT_EQ(circle.type, "CIRCLE");
      EXPECT_NEAR(circle.numbers[0], b.centerX, 1e-9);
      EXPECT_NEAR(circle.numbers[2], b.diameter / 2, 1e-9);
      for (const std::u16string& row : balloon.rows) {
        ASSERT_LT(next, check.pieces.size());
        const Piece& p = check.pieces[next++];
        EXPECT_EQ(p.type, "TEXT");
        EXPECT_EQ(twinfind::ToUtf16(p.text), row);
        EXPECT_LT(std::hypot(p.numbers[4] - b.centerX, p.numbers[5] - b.centerY), b.diameter / 2);
      }
      if (b.leader) {
        ASSERT_LT(next, check.pieces.size());
        const Piece& p = check.pieces[next++];
        EXPECT_EQ(p.type, "LINE");
        EXPECT_NEAR(p.numbers[0], b.anchorX, 1e-9);
        EXPECT_NEAR(p.numbers[1], b.anchorY, 1e-9);
        EXPECT_NEAR(std::hypot(p.numbers[2] - b.centerX, p.numbers[3] - b.centerY), b.diameter / 2,
                    1e-9);
      }
    }
    ++entity;
  }
  EXPECT_EQ(next, check.pieces.size());
}

TEST(ExportEzdxfTest, EzdxfReadsARealDrawingWeWroteCleanWithEveryFigure) {
  dxftest::ScratchFolder folder;
  vexhost::Drawing d;
  ASSERT_TRUE(twinfind::dxf::ImportDxf((dxftest::RealDrawings() / "floorplan.dxf").string(), d).ok);
  std::string error;
  ASSERT_TRUE(twinfind::dxf::ExportDxf(d, folder / "out.dxf", error)) << error;
  const Check check = RunEzdxf(folder / "out.dxf");
  EXPECT_EQ(check.errors, 0);
  EXPECT_EQ(check.fixes, 0);
  // One model-space entity per segment; one drawn piece per figure.
  size_t figures = 0;
  for (const int id : d.SegmentIds()) {
    for (const int e : d.FindSegment(id)->elements) figures += !d.FindElement(e)->comment;
  }
  size_t pieces = 0;
  std::set<int> entities;
  for (const Piece& p : check.pieces) {
    entities.insert(p.entity);
    pieces += p.type != "TEXT";
  }
  EXPECT_EQ(entities.size(), d.SegmentCount());
  EXPECT_EQ(pieces, figures);
}

}  // namespace
