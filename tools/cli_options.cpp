#include "tools/cli_options.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "tools/script_runner.h"

namespace twinfind::tool {
namespace {

const char kRunUsage[] =
    "twinfind run [DRAWING.dxf] [--script FILE] [--out OUT.dxf [--blocks]] [--svg OUT.svg]\n"
    "             [--png OUT.png] [--svg-at-confirm OUT.svg] [--report FILE.csv|.json] "
    "[--no-grid]\n"
    "             [--settings FILE] [--memory-limit MB] [--chord-tolerance D]";
const char kDemoUsage[] = "twinfind demo [--out DIR] [--no-grid]";
const char kViewUsage[] =
    "twinfind view [DRAWING.dxf] [--port N] [--settings FILE] [--out OUT.dxf] [--idle SECONDS]\n"
    "              [--memory-limit MB] [--chord-tolerance D]";
const char kSurveyUsage[] =
    "twinfind survey DRAWING.dxf [--range X1 Y1 X2 Y2] [--report FILE.csv|.json]\n"
    "                [--svg OUT.svg] [--png OUT.png] [--no-grid] [--all] [--hidden-layers]\n"
    "                [--split DIR [--split-hands] [--split-mm] [--split-quantities] "
    "[--split-svg]]\n"
    "                [--out OUT.dxf --blocks]\n"
    "                [--settings FILE] [--memory-limit MB] [--chord-tolerance D]";
const char kSettingsUsage[] = "twinfind settings list|get NAME|set NAME VALUE [--settings FILE]";

const char kRunFooter[] =
    "Without --script the lines are read from the terminal, one action a line:\n"
    "  range X1 Y1 X2 Y2     a window selection     point X Y        a click\n"
    "  key TEXT              typed input            move X Y         pointer motion\n"
    "  end                   the end button         start            start the command again\n"
    "  snapshot FILE         a picture (.svg/.png)  help, ?          what this step takes\n"
    "  # ...                 a comment\n"
    "A range line with more windows (range X1 Y1 X2 Y2 X1 Y1 X2 Y2 ...) selects what each takes.\n"
    "While a dialog is open: dialog click ID | dblclick ID | text ID VALUE | select ID INDEX |\n"
    "key enter|space|escape|CODE | ok | cancel | picture FILE.svg|.png\n"
    "\n"
    "--out OUT.dxf --blocks saves the twins of each search as references of one block, made\n"
    "from the part (named by the balloon method's part number, else TWINFIND_PART_N), each at\n"
    "its twin's place and turn; twins the result action deleted get none.\n"
    "\n"
    "Exit status: 0 every line taken; 3 some lines refused; 1 an output could not be written;\n"
    "2 bad arguments or an unreadable drawing or script.";

const char kViewFooter[] =
    "Prints the address of a page (on 127.0.0.1, with a token of its own) that shows the\n"
    "drawing and runs the command with the mouse: drag a window for a range, click for a point,\n"
    "type at the command line, End or Escape for the end button. Save writes --out (or asks for\n"
    "a name), Start starts the command again, Report downloads the report of the searches.\n"
    "It stops on Quit in the page, after --idle seconds without a request (900), or Ctrl-C.";

const char kSurveyFooter[] =
    "Finds every part of the drawing (or of the range) that occurs at least twice, by the\n"
    "settings' twin rules (mIsRotate, mIsSymmetry, mIsLayer, mIsColor, mTolerance), and prints\n"
    "one line per family, largest first, and a total line. The report has one search per\n"
    "family; the picture colours each family and writes its count beside one member.\n"
    "\n"
    "--split DIR (a new or empty folder) writes one DXF file per family, holding the member\n"
    "searched from as the drawing has it (its entities, layers, colours, line types, curves),\n"
    "moved so that its box starts at 0,0, in the drawing's version and units; and\n"
    "DIR/parts.csv and DIR/parts.json: file, count, mirrored, width, height, cut length,\n"
    "pierces (closed loops), area inside the outer outline, layer (the JSON adds every\n"
    "member's handles). A file is named part-NN.dxf, part-NN-BLOCK.dxf when the member is a\n"
    "reference of the block BLOCK. Mirror images are counted in their family's file as\n"
    "mirrored (cut it flipped); --split-hands writes them in a file of their own,\n"
    "part-NN-mirrored.dxf. With no family nothing is written.\n"
    "\n"
    "--out OUT.dxf --blocks saves the drawing with each family one block (TWINFIND_PART_N)\n"
    "made from the member searched from, every twin's entities replaced by one reference of\n"
    "it at the twin's place and turn (a mirror image with x scale -1); everything else is\n"
    "kept byte for byte. A twin that is a reference of the family's block already stays.";

const char kSettingsFooter[] =
    "The settings file is --settings FILE, else $TWINFIND_SETTINGS, else\n"
    "$XDG_CONFIG_HOME/twinfind/settings.reg (~/.config/twinfind/settings.reg).";

std::string UsageOf(const std::string& command) {
  if (command == "run") return kRunUsage;
  if (command == "demo") return kDemoUsage;
  if (command == "view") return kViewUsage;
  if (command == "survey") return kSurveyUsage;
  if (command == "settings") return kSettingsUsage;
  return "twinfind run|demo|view|survey|settings ...";
}

// The same limit and curve tolerance on every command that opens a drawing.
void AddMemoryLimit(CLI::App& command, Options& options) {
  command
      .add_option("--memory-limit", options.memoryLimit,
                  "refuse a drawing whose import would take the process past MB megabytes "
                  "(default: $TWINFIND_MEMORY_LIMIT_MB, else half the machine's memory)")
      ->type_name("MB");
  command
      .add_option("--chord-tolerance", options.chordTolerance,
                  "draw splines and ellipses as lines within D drawing units of the curve "
                  "(default 0.01)")
      ->type_name("D");
}

}  // namespace

int BadArguments(const std::string& why, const std::string& command) {
  std::cerr << "twinfind: " << why << "\nusage: " << UsageOf(command) << "\nRun 'twinfind "
            << (command.empty() ? "" : command + " ") << "--help' for more.\n";
  return kBadArguments;
}

std::optional<int> ParseCommandLine(int argc, char** argv, Options& options) {
  CLI::App app(
      "twinfind: the Twinfind command, which finds twin parts in a drawing, run inside "
      "our in-memory CAD host on DXF drawings.",
      "twinfind");
  app.set_version_flag("--version", std::string("twinfind ") + TWINFIND_VERSION);
  app.require_subcommand(1);
  // Options are --name on every system: on Windows "/work/plan.dxf" is a file name too.
  app.allow_windows_style_options(false);
  app.footer(std::string("Usage of each:\n  ") + kRunUsage + "\n  " + kDemoUsage + "\n  " +
             kViewUsage + "\n  " + kSurveyUsage + "\n  " + kSettingsUsage +
             "\n'twinfind COMMAND --help' tells more of each.\n\n" + kSettingsFooter);

  CLI::App* run = app.add_subcommand("run", "run the command on a drawing (none: an empty one)");
  run->add_option("DRAWING", options.positional, "the DXF drawing to load")
      ->expected(0, 1)
      ->type_name("FILE.dxf");
  run->add_option("--script", options.script, "read the actions from FILE, not the terminal")
      ->type_name("FILE");
  run->add_option("--out", options.out, "save the drawing as DXF at the end")->type_name("FILE");
  run->add_flag("--blocks", options.blocks,
                "with --out: each search's twins saved as references of one block (its part "
                "number, else TWINFIND_PART_N)");
  run->add_option("--svg", options.svg, "an SVG picture of the drawing at the end")
      ->type_name("FILE");
  run->add_option("--png", options.png, "a PNG picture of the drawing at the end")
      ->type_name("FILE");
  run->add_option("--svg-at-confirm", options.svgAtConfirm,
                  "an SVG picture at every confirmation (FILE, FILE-2, ...)")
      ->type_name("FILE");
  run->add_option("--report", options.report,
                  "a report of every search and its twins, CSV or JSON by the extension")
      ->type_name("FILE");
  run->add_flag("--no-grid", options.noGrid, "pictures without the coordinate grid");
  run->add_option("--settings", options.settings, "the settings file")->type_name("FILE");
  AddMemoryLimit(*run, options);
  run->footer(kRunFooter);

  CLI::App* demo = app.add_subcommand("demo",
                                      "run the command on the bundled sample plate; write "
                                      "DIR/demo.dxf, demo.svg, demo.png");
  demo->add_option("--out", options.out, "the folder for the demo's files")->type_name("DIR");
  demo->add_flag("--no-grid", options.noGrid, "pictures without the coordinate grid");

  CLI::App* view = app.add_subcommand(
      "view", "run the command in a browser page on this computer, driven by the mouse");
  view->add_option("DRAWING", options.positional, "the DXF drawing to load")
      ->expected(0, 1)
      ->type_name("FILE.dxf");
  view->add_option("--port", options.port, "the port on 127.0.0.1 (default: a free one)")
      ->check(CLI::Range(0, 65535))
      ->type_name("N");
  view->add_option("--settings", options.settings, "the settings file")->type_name("FILE");
  view->add_option("--out", options.out, "where Save writes the drawing as DXF")->type_name("FILE");
  AddMemoryLimit(*view, options);
  view->add_option("--idle", options.idleSeconds,
                   "stop after this many seconds without a request from the page (900)")
      ->check(CLI::Range(1, 86400))
      ->type_name("SECONDS");
  view->footer(kViewFooter);

  CLI::App* survey = app.add_subcommand(
      "survey", "find every family of twins in a drawing, without a part being indicated");
  survey->add_option("DRAWING", options.positional, "the DXF drawing to survey")
      ->expected(0, 1)
      ->type_name("FILE.dxf");
  survey->add_option("--range", options.range, "survey only the segments lying inside this window")
      ->expected(4)
      ->type_name("X1 Y1 X2 Y2");
  survey
      ->add_option("--report", options.report,
                   "a report with one search per family, CSV or JSON by the extension")
      ->type_name("FILE");
  survey->add_option("--svg", options.svg, "an SVG picture of the families")->type_name("FILE");
  survey->add_option("--png", options.png, "a PNG picture of the families")->type_name("FILE");
  survey->add_flag("--no-grid", options.noGrid, "pictures without the coordinate grid");
  survey->add_flag("--all", options.allFamilies,
                   "list families of strokes too (single lines, points, open lines and arcs)");
  survey->add_flag("--hidden-layers", options.hiddenLayers,
                   "survey the layers that are off or frozen in the file too");
  survey
      ->add_option("--split", options.split,
                   "write one DXF file per family and parts.csv, parts.json into DIR (a new "
                   "or empty folder)")
      ->type_name("DIR");
  survey->add_flag("--split-hands", options.splitHands,
                   "with --split: mirror images in a file of their own");
  survey->add_flag("--split-mm", options.splitMillimetres,
                   "with --split: the parts list's sizes in millimetres, whatever the drawing's "
                   "unit");
  survey->add_flag("--split-svg", options.splitSvg,
                   "with --split: an SVG of each part and sheet.svg with every copy laid out");
  survey->add_flag("--split-quantities", options.splitQuantities,
                   "with --split: each part file's name tells its quantity (part-07.12.dxf)");
  survey->add_option("--out", options.out, "with --blocks: save the drawing as DXF")
      ->type_name("FILE");
  survey->add_flag("--blocks", options.blocks,
                   "with --out: each family saved as references of one block");
  survey->add_option("--settings", options.settings, "the settings file")->type_name("FILE");
  AddMemoryLimit(*survey, options);
  survey->footer(kSurveyFooter);

  CLI::App* settings = app.add_subcommand("settings", "show or change the stored settings");
  settings->add_option("WORDS", options.positional, "list | get NAME | set NAME VALUE");
  settings->add_option("--settings", options.settings, "the settings file")->type_name("FILE");
  settings->footer(kSettingsFooter);

  // The words after "--" are taken as they are (CLI11 hands "--" inside a sub-command whose
  // words are all optional back to the tool, which then refuses them).
  int parsed = argc;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--") {
      parsed = i;
      break;
    }
  }
  // A first word that names no command is told as such, with the commands there are (CLI11
  // would say only that a command is required).
  if (parsed > 1 && argv[1][0] != '-') {
    const std::string first = argv[1];
    bool known = first == "help";
    for (const CLI::App* sub : {run, demo, view, survey, settings})
      known |= sub->get_name() == first;
    if (!known) {
      return BadArguments("unknown command '" + QuoteForMessage(first) +
                              "'; the commands are run, demo, view, survey and settings",
                          "");
    }
  }
  try {
    app.parse(parsed, argv);
  } catch (const CLI::Success& e) {  // --help, -h, --version
    return app.exit(e, std::cout, std::cerr);
  } catch (const CLI::ParseError& e) {
    std::string command;
    for (const CLI::App* sub : {run, demo, view, survey, settings}) {
      if (sub->parsed()) command = sub->get_name();
    }
    return BadArguments(e.what(), command);
  }
  for (const CLI::App* sub : {run, demo, view, survey, settings}) {
    if (sub->parsed()) options.command = sub->get_name();
  }
  for (int i = parsed + 1; i < argc; ++i) options.positional.push_back(argv[i]);
  return std::nullopt;
}

}  // namespace twinfind::tool
