// A session as a user at the terminal lives it: what the drawing holds when it loads, what each
// window selected, help at every step, starting again after the command ended, pictures with a
// coordinate grid, the unsaved-changes warning and an honest exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tool_run.h"

namespace {

namespace fs = std::filesystem;
using tooltest::Quote;
using tooltest::ReadFile;
using tooltest::RunTool;
using tooltest::ScratchFolder;

// A line from (-5, 0) to (10, 7.5) on WALLS, a circle of radius 1 at (0, 2) on DOORS, a closed
// triangle (20, 0), (22, 0), (21, 2) on layer 0.
const char kSmallDrawing[] =
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLINE\n8\nWALLS\n10\n-5\n20\n0\n11\n10\n21\n7.5\n"
    "0\nCIRCLE\n8\nDOORS\n10\n0\n20\n2\n40\n1\n"
    "0\nLWPOLYLINE\n8\n0\n90\n3\n70\n1\n10\n20\n20\n0\n10\n22\n20\n0\n10\n21\n20\n2\n"
    "0\nENDSEC\n0\nEOF\n";

size_t Count(const std::string& text, const std::string& needle) {
  size_t n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

TEST(Session, EveryStepTellsWhatItTookAndWhatItTakes) {
  ScratchFolder folder;
  const auto drawing = folder.Write("small.dxf", kSmallDrawing);
  const auto shot = folder.path() / "shot.svg";
  const auto script = folder.Write("run.script",
                                   "help\n"
                                   "range -6 -1 23 8\n"
                                   "range 19 -1 23 3\n"
                                   "snapshot " +
                                       shot.string() +
                                       "\n"
                                       "end\n"
                                       "?\n"
                                       "point 0 -10\n"
                                       "end\n"
                                       "help\n"
                                       "start\n"
                                       "end\n"
                                       "dialog cancel\n"
                                       "start\n");
  const auto r = RunTool(folder, "run " + Quote(drawing) + " --script " + Quote(script) +
                                     " --settings " + Quote(folder.path() / "s.reg"));
  // Every line was taken; the copy laid out changed the drawing, which is not saved.
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "twinfind: the drawing was changed and the changes were not saved; give --out "
            "FILE.dxf to save them\n");
  const std::string& out = r.out;
  EXPECT_EQ(out.rfind("drawing: " + drawing.string() +
                          ": 3 segments, x -5 to 22, y 0 to 7.5; 3 layers: 0, 1 WALLS, 2 DOORS\n",
                      0),
            0u)
      << out;
  // Help at the first step: what it takes, the prompt again, the lines.
  EXPECT_NE(
      out.find("prompt: 검색대상 범위지시(종료버튼:Dialog) :\n"
               "help: this step takes a range (range X1 Y1 X2 Y2) or the end button (end)\n"
               "help: prompt: 검색대상 범위지시(종료버튼:Dialog) :\n"
               "help: lines: range X1 Y1 X2 Y2, pick X Y, point X Y, move X Y, key TEXT, end,"),
      std::string::npos)
      << out;
  EXPECT_NE(out.find("selected 3 segments: 1 line, 1 circle, 1 polyline of 3 figures\n"
                     "cursor: 부품\n"),
            std::string::npos);
  EXPECT_NE(out.find("selected 1 segment: 1 polyline of 3 figures\ninfo: 총 1개의"),
            std::string::npos);
  EXPECT_NE(out.find("wrote " + shot.string() + "\n"), std::string::npos);
  // The placement step takes a point, and typed coordinates, with its default.
  EXPECT_NE(out.find("help: this step takes a point (point X Y, or key X Y; move X Y moves the "
                     "pointer; key alone gives '"),
            std::string::npos)
      << out;
  // The end button at the part step ends the command; help says how to go on, start does.
  EXPECT_NE(out.find("ended: the command has ended; start runs it again\n"
                     "help: no command is running; start runs it again with the settings as "
                     "they are now\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("closed, cancelled ==\nended: the command has ended; start runs it again\n"
                     "cursor: 대상\nprompt: 검색대상 범위지시(종료버튼:Dialog) :\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(Count(out, "\nprompt: 검색대상 범위지시"), 3u);
  // The picture carries the grid: lines and their coordinates.
  const std::string svg = ReadFile(shot);
  EXPECT_NE(svg.find(">-4</text>"), std::string::npos);
  EXPECT_NE(svg.find(">20</text>"), std::string::npos);
  EXPECT_GE(Count(svg, "stroke=\"#28303E\""), 8u);

  // Saved, without the grid, and with one line refused: status 3, a summary, no warning.
  const auto saved = folder.path() / "saved.dxf";
  const auto bare = folder.path() / "bare.svg";
  const auto second =
      RunTool(folder,
              "run " + Quote(drawing) + " --out=" + Quote(saved) + " --no-grid --svg " +
                  Quote(bare) + " --settings " + Quote(folder.path() / "s.reg"),
              "range -6 -1 23 8\nrange 19 -1 23 3\nend\npoint 0 -10\nrnage\n");
  EXPECT_EQ(second.status, 3);
  EXPECT_EQ(second.err,
            "twinfind: line 5: unknown action 'rnage': did you mean range? (expected range X1 Y1 "
            "X2 Y2, pick X Y, point "
            "X Y, move X Y, key TEXT, end, start, undo, redo, layer [N on|off], snapshot "
            "FILE.svg|.png [X1 Y1 X2 Y2], help or ?, # comment)\n"
            "twinfind: 1 of 5 lines were refused\n");
  EXPECT_TRUE(fs::exists(saved));
  EXPECT_EQ(ReadFile(bare).find("<text"), std::string::npos);
  EXPECT_NE(second.out.find("wrote " + bare.string() + "\n"), std::string::npos);
}

}  // namespace
