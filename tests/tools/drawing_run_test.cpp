// twinfind on DXF drawings: the general and the balloon method end to end, the outputs read
// back by an independent reader, pictures at any step, bad input, and the demo.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "../dxf/ezdxf_comparison.h"
#include "tool_run.h"

namespace {

namespace fs = std::filesystem;
using tooltest::Quote;
using tooltest::ReadFile;
using tooltest::RunTool;
using tooltest::RunToolThrough;
using tooltest::ScratchFolder;
using tooltest::Shell;

const std::string kPlate = std::string(TWINFIND_SAMPLES_DIR) + "/demo-plate.dxf";

// What ezdxf reads in a DXF file: one line per drawn piece (see tests/dxf/ezdxf_check.py).
std::string ReadWithEzdxf(const fs::path& file) {
  const std::string command = "/usr/bin/python3 " TWINFIND_EZDXF_CHECK " " + Quote(file) + " 2>&1";
  return Shell(command);
}

int CountLines(const std::string& text, const std::string& needle) {
  int count = 0;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);)
    count += line.find(needle) != std::string::npos;
  return count;
}

std::string Settings(const ScratchFolder& folder, const std::string& values) {
  const auto path = folder.Write("settings.reg",
                                 "Windows Registry Editor Version 5.00\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n" +
                                     values);
  return " --settings " + Quote(path);
}

TEST(DrawingRun, TheGeneralMethodOnThePlateWithPicturesAtEachConfirmation) {
  ScratchFolder folder;
  const auto input = folder.path() / "plate.dxf";
  fs::copy_file(kPlate, input);
  const std::string before = ReadFile(input);
  const auto script = folder.Write("run.script",
                                   "range -20 -20 440 280\n"
                                   "range 18 18 62 52\n"
                                   "snapshot " +
                                       (folder.path() / "found.png").string() +
                                       "\n"
                                       "end\n"
                                       "point 0 -90\n"
                                       "range 28 178 68 218\n"
                                       "end\n");
  const auto r = RunTool(
      folder, "run " + Quote(input) + " --script " + Quote(script) + " --out " +
                  Quote(folder.path() / "out.dxf") + " --svg " + Quote(folder.path() / "out.svg") +
                  " --svg-at-confirm " + Quote(folder.path() / "confirm.svg") +
                  Settings(folder, "\"mIsSymmetry\"=\"1\"\n\"mIsLayer\"=\"1\"\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("info: 총 5개의 동일한 부품을 발견하였습니다."), std::string::npos);
  EXPECT_NE(r.out.find("info: 총 3개의 동일한 부품을 발견하였습니다."), std::string::npos);
  EXPECT_TRUE(fs::exists(folder.path() / "confirm.svg"));
  EXPECT_TRUE(fs::exists(folder.path() / "confirm-2.svg"));
  EXPECT_TRUE(fs::exists(folder.path() / "found.png"));
  EXPECT_EQ(ReadFile(input), before);  // the input is never written over
  // The output holds the plate's pieces and the two rows of copies: 5 brackets (an outline of 6
  // lines and an arc, 2 holes), 3 flanges (an outline of 8 lines, 5 holes) and a frame of 4
  // lines round the mirror image.
  const std::string in = ReadWithEzdxf(input), out = ReadWithEzdxf(folder.path() / "out.dxf");
  ASSERT_EQ(out.rfind("audit 0 0", 0), 0u) << out.substr(0, 200);
  EXPECT_EQ(CountLines(out, " CIRCLE ") - CountLines(in, " CIRCLE "), 5 * 2 + 3 * 5);
  EXPECT_EQ(CountLines(out, " LINE ") - CountLines(in, " LINE "), 5 * 6 + 3 * 8 + 4);
  EXPECT_EQ(CountLines(out, " ARC ") - CountLines(in, " ARC "), 5);
}

// After each result action one line says what it did: copies laid out, twins deleted or
// recoloured, balloons and the count text written.
TEST(DrawingRun, EachResultActionSaysWhatItDid) {
  const std::string general = "range -20 -20 440 280\nrange 18 18 62 52\nend\npoint 0 -90\n";
  struct Case {
    const char* settings;
    const char* script;
    std::vector<std::string> said;
  };
  const std::string balloons = std::string(TWINFIND_SAMPLES_DIR) + "/demo-balloon.script";
  for (const Case& c : {
           Case{"\"mIsArrange\"=\"1\"\n\"mFigure\"=\"0\"\n",
                "",
                {"done: 4 copies laid out in 1 row"}},
           Case{"\"mIsArrange\"=\"1\"\n\"mFigure\"=\"1\"\n",
                "",
                {"done: 4 copies laid out in 1 row, 4 twins deleted"}},
           Case{"\"mIsArrange\"=\"0\"\n\"mFigure\"=\"2\"\n",
                "range -20 -20 440 280\nrange 18 18 62 52\nend\n",
                {"done: 4 twins recoloured"}},
           Case{"\"mIsArrange\"=\"0\"\n\"mFigure\"=\"0\"\n",
                "range -20 -20 440 280\nrange 18 18 62 52\nend\n",
                {"done: nothing changed"}},
       }) {
    SCOPED_TRACE(c.settings);
    ScratchFolder folder;
    const auto script = folder.Write("run.script", *c.script ? c.script : general);
    const auto r = RunTool(folder, "run " + Quote(kPlate) + " --script " + Quote(script) +
                                       Settings(folder, c.settings));
    for (const std::string& line : c.said) {
      EXPECT_EQ(CountLines(r.out, line), 1) << line << "\n" << r.out;
    }
    EXPECT_EQ(CountLines(r.out, "done: "), static_cast<int>(c.said.size())) << r.out;
  }
  ScratchFolder folder;
  const auto r = RunTool(folder, "run " + Quote(kPlate) + " --script " + Quote(balloons) +
                                     Settings(folder, "\"mMethod\"=\"1\"\n"));
  EXPECT_EQ(CountLines(r.out, "done: 4 copies laid out in 1 row, 8 balloons, count text 4EA"), 1)
      << r.out;
}

TEST(DrawingRun, TheBalloonMethodLabelsAndAdvancesThePartNumber) {
  ScratchFolder folder;
  const auto script = folder.Write("run.script",
                                   "range -5 -5 425 265\n"
                                   "key SS400\n"
                                   "key A-009\n"
                                   "key 12\n"
                                   "range 28 178 68 218\n"
                                   "end\n"
                                   "point 0 -280\n");
  const std::string settings =
      Settings(folder, "\"mMethod\"=\"1\"\n\"mIsLayer\"=\"1\"\n\"mBalloonSize\"=\"16\"\n");
  const auto out = folder.path() / "out.dxf";
  const auto r = RunTool(folder, "run " + Quote(kPlate) + " --script " + Quote(script) + " --out " +
                                     Quote(out) + settings);
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string dxf = ReadWithEzdxf(out);
  ASSERT_EQ(dxf.rfind("audit 0 0", 0), 0u) << dxf.substr(0, 200);
  // Three balloons on the flanges and three on their copies, each with its three rows.
  EXPECT_EQ(CountLines(dxf, "| SS400"), 6);
  EXPECT_EQ(CountLines(dxf, " CIRCLE 801 "), 6);  // their circles, on the balloon layer
  // The texts beside the row, and the part number in the balloons.
  EXPECT_EQ(CountLines(dxf, "| T12"), 1);
  EXPECT_EQ(CountLines(dxf, "| 3EA"), 1);
  EXPECT_EQ(CountLines(dxf, "| A-009"), 6 + 1);
  EXPECT_NE(ReadFile(folder.path() / "settings.reg").find("\"mBalloonStr\"=\"A-010\""),
            std::string::npos);
}

// A drawing nobody here wrote: an architectural plan with ten chairs inserted from one block.
// Counted independently with ezdxf (INSERT entities named SOFA, with their rotation and
// scale): 2 as drawn (rotation 0 or 360, scale 1), 3 turned (rotation 90, scale 1) and 5
// mirror images (rotation 180, x scale -1). The part is the first chair.
TEST(DrawingRun, TheChairsOfARealPlanAreFoundAsTheirInsertsSay) {
  const std::string plan =
      std::string(TWINFIND_SAMPLES_DIR) + "/real/Ceco.NET-Architecture-Tm-53.dxf";
  struct Case {
    const char* settings;
    int expected;
  };
  const Case cases[] = {{"\"mIsRotate\"=\"0\"\n\"mIsSymmetry\"=\"0\"\n", 2},
                        {"\"mIsRotate\"=\"1\"\n\"mIsSymmetry\"=\"0\"\n", 2 + 3},
                        {"\"mIsRotate\"=\"1\"\n\"mIsSymmetry\"=\"1\"\n", 2 + 3 + 5}};
  for (const Case& c : cases) {
    ScratchFolder folder;
    const auto script = folder.Write("run.script",
                                     "range -1 -1 45 35\n"
                                     "range 17.2 12.6 18.1 13.5\n"
                                     "end\n");
    const auto r =
        RunTool(folder, "run " + Quote(plan) + " --script " + Quote(script) +
                            Settings(folder, std::string(c.settings) + "\"mIsArrange\"=\"0\"\n"));
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string found =
        "info: 총 " + std::to_string(c.expected) + "개의 동일한 부품을 발견하였습니다.";
    EXPECT_NE(r.out.find(found), std::string::npos) << c.settings << r.out;
    // The plan's hatches and dimensions are not held, and said so.
    EXPECT_NE(r.out.find("warning: 8 HATCH entities not imported"), std::string::npos);
  }
}

// What a saved line of "wrote OUT: N entities kept, D deleted, C changed, A added" says.
std::string WroteLine(const std::string& out) {
  const size_t at = out.find("wrote ");
  return at == std::string::npos ? "" : out.substr(at, out.find('\n', at) - at);
}

int CountWith(const std::vector<std::string>& lines, const std::string& needle) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
    return l.find(needle) != std::string::npos;
  }));
}

// What tests/dxf/ezdxf_owned.py finds of a saved file against its input: the output's audit,
// and the lines of each kind (removed, owned, lost, left, dangling) without their first word.
struct Leftovers {
  int errors = -1, fixes = -1;
  std::map<std::string, std::vector<std::string>> lines;
  std::string output;
};

Leftovers CheckOwned(const fs::path& input, const fs::path& output) {
  Leftovers l;
  l.output = Shell("/usr/bin/python3 " TWINFIND_EZDXF_OWNED " check " + Quote(input) + " " +
                   Quote(output) + " 2>&1");
  std::istringstream lines(l.output);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first == "audit") {
      words >> l.errors >> l.fixes;
    } else if (first != "kept") {
      l.lines[first].push_back(line.substr(std::min(line.size(), first.size() + 1)));
    }
  }
  return l;
}

// Nothing of the input is missing but what the deleted entities were and owned, nothing they
// owned is left, no pointer leads nowhere, and ezdxf's audit has nothing to fix.
void ExpectNoLeftovers(const Leftovers& l) {
  EXPECT_EQ(l.errors, 0) << l.output.substr(0, 2000);
  EXPECT_EQ(l.fixes, 0) << l.output.substr(0, 2000);
  for (const char* kind : {"lost", "left", "dangling"}) {
    EXPECT_EQ(l.lines.count(kind), 0u) << kind << "\n" << l.output.substr(0, 2000);
  }
}

// Twins whose entities own objects and are pointed at: four squares (three polylines and a
// reference of a block whose record lists it) each with an extension dictionary holding an
// XRECORD and a dictionary that holds another; an XRECORD of the named objects watches them
// (its reactors); one group holds them all, another one of them and the circle, which has a
// dictionary of its own; model space's draw order names them (tests/dxf/ezdxf_owned.py makes
// the drawing). Deleting the twins takes along what they own and the pointers to them, and
// nothing else.
TEST(DrawingRun, DeletedTwinsTakeWhatTheyOwnAndLeaveNoPointerToThem) {
  ScratchFolder folder;
  const auto input = folder.path() / "owned.dxf";
  Shell("/usr/bin/python3 " TWINFIND_EZDXF_OWNED " make " + Quote(input));
  ASSERT_TRUE(fs::exists(input));
  const auto out = folder.path() / "out.dxf";
  const auto script = folder.Write("run.script", "range -5 -30 120 20\nrange -1 -1 11 11\nend\n");
  const auto r = RunTool(folder, "run " + Quote(input) + " --script " + Quote(script) + " --out " +
                                     Quote(out) +
                                     Settings(folder, "\"mFigure\"=\"1\"\n\"mIsArrange\"=\"0\"\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("info: 총 4개의 동일한 부품을 발견하였습니다."), std::string::npos) << r.out;
  EXPECT_EQ(WroteLine(r.out),
            "wrote " + out.string() + ": 2 entities kept, 4 deleted, 0 changed, 0 added");
  Leftovers l = CheckOwned(input, out);
  ExpectNoLeftovers(l);
  const auto& removed = l.lines["removed"];
  EXPECT_EQ(CountWith(removed, " LWPOLYLINE"), 3) << l.output;
  EXPECT_EQ(CountWith(removed, " INSERT"), 1) << l.output;
  EXPECT_EQ(removed.size(), 4u) << l.output;
  // Per square its dictionary, the XRECORD and the dictionary in that, and the XRECORD in
  // this; and the group of the squares alone.
  const auto& owned = l.lines["owned"];
  EXPECT_EQ(CountWith(owned, " DICTIONARY"), 4 * 2) << l.output;
  EXPECT_EQ(CountWith(owned, " XRECORD"), 4 * 2) << l.output;
  EXPECT_EQ(CountWith(owned, " GROUP"), 1) << l.output;
  EXPECT_EQ(owned.size(), 17u) << l.output;
}

// The plan's ten chairs (INSERTs of the block SOFA) are the twins of every run: deleting them
// removes exactly their INSERTs; recolouring them changes exactly their colour and line type
// (their block is drawn by a BYBLOCK copy of it, in the look the INSERT carries, and SOFA
// stays); a row of copies adds a reference of SOFA per chair and a frame; the balloon method
// adds its balloons, copies and texts on layer 801, which it adds. The rest of the file is as
// it was, entity by entity as ezdxf reads it, and saving the saved file again with no action
// gives the same file.
TEST(DrawingRun, ActionsOnTheChairsOfARealPlanChangeOnlyTheirEntities) {
  const std::string plan =
      std::string(TWINFIND_SAMPLES_DIR) + "/real/Ceco.NET-Architecture-Tm-53.dxf";
  const std::string twins = "\"mIsRotate\"=\"1\"\n\"mIsSymmetry\"=\"1\"\n";
  const std::string search = "range -1 -1 45 35\nrange 17.2 12.6 18.1 13.5\n";
  struct Case {
    const char* name;
    std::string settings, script;
    const char* wrote;  // the counts of the line the tool prints
  };
  const Case cases[] = {
      {"delete", twins + "\"mIsArrange\"=\"0\"\n\"mFigure\"=\"1\"\n", search + "end\n",
       "701 entities kept, 10 deleted, 0 changed, 0 added"},
      {"recolour",
       twins + "\"mIsArrange\"=\"0\"\n\"mFigure\"=\"2\"\n\"m_ColorMain\"=\"MAINCOLOR02\"\n"
               "\"mLTypeName\"=\"LINETYPE02\"\n",
       search + "end\n", "701 entities kept, 0 deleted, 10 changed, 0 added"},
      {"row", twins + "\"mIsArrange\"=\"1\"\n\"mFigure\"=\"0\"\n", search + "end\npoint 0 -10\n",
       "711 entities kept, 0 deleted, 0 changed, 11 added"},
      {"balloons", twins + "\"mMethod\"=\"1\"\n\"mBalloonSize\"=\"0.5\"\n",
       "range -1 -1 45 35\nkey SS400\nkey A-009\nkey 12\nrange 17.2 12.6 18.1 13.5\nend\n"
       "point 0 -10\n",
       "711 entities kept, 0 deleted, 0 changed, 29 added"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder folder;
    const auto out = folder.path() / "out.dxf";
    const auto r = RunTool(folder, "run " + Quote(plan) + " --script " +
                                       Quote(folder.Write("run.script", c.script)) + " --out " +
                                       Quote(out) + Settings(folder, c.settings));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(WroteLine(r.out), "wrote " + out.string() + ": " + c.wrote);
    const dxftest::Comparison cmp = dxftest::CompareWithEzdxf(plan, out.string());
    EXPECT_EQ(cmp.errors, 0) << cmp.output.substr(0, 2000);
    EXPECT_EQ(cmp.fixes, 0);
    EXPECT_EQ(cmp.versionOut, "AC1015");
    EXPECT_EQ(cmp.versionIn, "AC1015");
    EXPECT_TRUE(cmp.sameOrder);
    const std::string name = c.name;
    // Only the chairs are touched: the others are all kept.
    const int touched = name == "delete"     ? static_cast<int>(cmp.removed.size())
                        : name == "recolour" ? static_cast<int>(cmp.changed.size())
                                             : 0;
    EXPECT_EQ(cmp.kept.at("Model"), cmp.total.at("Model") - touched);
    EXPECT_EQ(cmp.removed.size(), name == "delete" ? 10u : 0u) << cmp.output.substr(0, 2000);
    EXPECT_EQ(CountWith(cmp.removed, " INSERT texture SOFA"), static_cast<int>(cmp.removed.size()));
    EXPECT_EQ(cmp.changed.size(), name == "recolour" ? 10u : 0u) << cmp.output.substr(0, 2000);
    for (const std::string& line : cmp.changed) {
      std::istringstream words(line);
      std::string layout, handle, type, color, lineType, block, draws, look;
      words >> layout >> handle >> type >> color >> lineType >> block >> draws >> look;
      EXPECT_EQ(color.rfind("color=None>", 0), 0u) << line;  // was BYLAYER
      EXPECT_EQ(lineType.rfind("linetype=None>", 0), 0u) << line;
      EXPECT_EQ(block, "name=SOFA>SOFA_TWINFIND_BYBLOCK") << line;
      EXPECT_EQ(draws, "draws=same") << line;
      // Every piece of the chair is drawn in the colour and line type the INSERT now carries.
      EXPECT_EQ(look, "look=" + color.substr(11) + "/" + lineType.substr(14)) << line;
      EXPECT_TRUE(words.eof()) << line;
    }
    const int sofas = CountWith(cmp.added, " INSERT texture SOFA");
    const int balloons = CountWith(cmp.added, " INSERT 801 TWINFIND_BALLOON_");
    EXPECT_EQ(sofas, name == "row" || name == "balloons" ? 10 : 0) << cmp.output.substr(0, 2000);
    EXPECT_EQ(balloons, name == "balloons" ? 15 : 0);
    // The row's frame round the mirror images; the balloon method's texts.
    EXPECT_EQ(static_cast<int>(cmp.added.size()) - sofas - balloons, name == "row"        ? 1
                                                                     : name == "balloons" ? 4
                                                                                          : 0);
    for (const std::string& table : cmp.tables) {
      EXPECT_TRUE(table.rfind("block+ ", 0) == 0 || table.rfind("layer+ 801 7 ", 0) == 0) << table;
    }
    EXPECT_EQ(CountWith(cmp.tables, "layer+ 801 7 "), name == "balloons" ? 1 : 0);
    // The chairs' block record lists its references: the deleted ones leave the list.
    ExpectNoLeftovers(CheckOwned(plan, out));

    const auto again = folder.path() / "again.dxf";
    const auto second = RunTool(
        folder, "run " + Quote(out) + " --out " + Quote(again) + Settings(folder, c.settings),
        "end\n");
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(ReadFile(again), ReadFile(out));
    EXPECT_NE(WroteLine(second.out).find(" 0 deleted, 0 changed, 0 added"), std::string::npos)
        << second.out;
  }
}

// Without a drawing there is no file to save into: the drawing is written afresh, as our own R12
// file.
TEST(DrawingRun, ADrawingStartedEmptyIsWrittenAfresh) {
  ScratchFolder folder;
  const auto out = folder.path() / "out.dxf";
  const auto r = RunTool(folder, "run --out " + Quote(out) + Settings(folder, ""), "end\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(WroteLine(r.out),
            "wrote " + out.string() + ": 0 entities kept, 0 deleted, 0 changed, 0 added");
  EXPECT_EQ(ReadWithEzdxf(out).rfind("audit 0 0 AC1009\n", 0), 0u);
}

TEST(DrawingRun, BadDrawingsGiveAClearMessageAndWriteNothing) {
  ScratchFolder folder;
  const std::string plate = ReadFile(kPlate);
  const auto truncated = folder.Write("truncated.dxf", plate.substr(0, plate.size() / 3));
  const auto binary = folder.Write("binary.dxf", std::string("\x00\x01\xff\xfe PK\x03\x04", 10));
  const auto empty = folder.Write("empty.dxf", "");
  // No file to read: a FIFO that no one writes (opening it would wait for a writer for ever)
  // and a directory.
  const auto fifo = folder.path() / "pipe.dxf";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  const auto directory = folder.path() / "folder.dxf";
  fs::create_directories(directory);
  struct Case {
    fs::path drawing;
    std::string message;
  };
  const Case cases[] = {
      {truncated, "cut short"},     {binary, "binary data"},
      {empty, "the file is empty"}, {folder.path() / "missing.dxf", "No such file"},
      {fifo, "it is a FIFO"},       {directory, "it is a directory"},
  };
  const auto out = folder.path() / "out.dxf";
  const std::string settings = " --settings " + Quote(folder.path() / "s.reg");
  for (const Case& c : cases) {
    // Every command that opens a drawing, each given a time limit in case it waits.
    for (const std::string& command :
         {"run " + Quote(c.drawing) + " --out " + Quote(out),
          "survey " + Quote(c.drawing) + " --svg " + Quote(folder.path() / "families.svg"),
          "view " + Quote(c.drawing) + " --out " + Quote(out) + " --idle 1"}) {
      SCOPED_TRACE(command);
      const auto r = RunToolThrough("timeout 20", folder, command + settings, "end\n");
      EXPECT_EQ(r.status, 2);
      EXPECT_NE(r.err.find("twinfind: cannot read the drawing " + c.drawing.string() + ": "),
                std::string::npos)
          << r.err;
      EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
      EXPECT_FALSE(fs::exists(out));
      EXPECT_FALSE(fs::exists(folder.path() / "families.svg"));
      EXPECT_EQ(r.out.find("wrote "), std::string::npos) << r.out;
    }
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
  // A script is a stream by nature: one from a FIFO is read as its writer sends it.
  const auto script = folder.path() / "script.fifo";
  ASSERT_EQ(mkfifo(script.c_str(), 0644), 0);
  const auto fed = RunToolThrough(
      "{ timeout 20 sh -c \"printf 'end\\n' > " + Quote(script) + "\" & } && timeout 20", folder,
      "run " + Quote(kPlate) + " --script " + Quote(script) + settings);
  EXPECT_EQ(fed.status, 0) << fed.err;
  EXPECT_NE(fed.out.find("ended: the command has ended"), std::string::npos) << fed.out;
}

TEST(DrawingRun, TheInputDrawingIsNeverAnOutput) {
  ScratchFolder folder;
  const auto input = folder.path() / "plate.dxf";
  fs::copy_file(kPlate, input);
  const std::string before = ReadFile(input);
  const auto r = RunTool(folder, "run " + Quote(input) + " --out " + Quote(input), "end\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("never written over"), std::string::npos);
  EXPECT_EQ(ReadFile(input), before);
  const auto nowhere = RunTool(folder, "run --svg " + Quote(folder.path() / "no/such/p.svg"));
  EXPECT_EQ(nowhere.status, 2);
  EXPECT_NE(nowhere.err.find("does not exist"), std::string::npos);
}

TEST(DrawingRun, ASnapshotThatCannotBeWrittenIsAnsweredAndTheRunGoesOn) {
  ScratchFolder folder;
  const auto r = RunTool(folder, "run --settings " + Quote(folder.path() / "s.reg"),
                         "snapshot /no/such/folder/p.svg\nsnapshot\nend\n");
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("twinfind: line 1: "), std::string::npos);
  EXPECT_NE(r.err.find("twinfind: line 2: snapshot needs a file name"), std::string::npos);
}

TEST(DrawingRun, TheDemoWritesItsDrawingAndPictures) {
  ScratchFolder folder;
  const auto r = RunTool(folder, "demo --out " + Quote(folder.path() / "demo"));
  EXPECT_EQ(r.status, 0) << r.err;
  for (const char* file : {"demo.dxf", "demo.svg", "demo.png"}) {
    EXPECT_GT(fs::file_size(folder.path() / "demo" / file), 1000u) << file;
  }
  EXPECT_NE(r.out.find("info: 총 3개의 동일한 부품을 발견하였습니다.(S02)"), std::string::npos);
  const std::string dxf = ReadWithEzdxf(folder.path() / "demo" / "demo.dxf");
  EXPECT_EQ(dxf.rfind("audit 0 0", 0), 0u);
  EXPECT_EQ(CountLines(dxf, "| A-009"), 7);
}

}  // namespace
