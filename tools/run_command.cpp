#include "tools/run_command.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "common/atomic_file.h"
#include "common/path_name.h"
#include "dxf/memory_limit.h"
#include "host/host.h"
#include "picture/render.h"
#include "tools/block_families.h"
#include "tools/drawing_summary.h"
#include "tools/layer_list.h"
#include "tools/plugin_loader.h"
#include "tools/report_writer.h"
#include "tools/script_runner.h"
#include "tools/stop_signals.h"
#include "tools/terminal_input.h"

namespace twinfind::tool {
namespace fs = std::filesystem;

namespace {

// "shot.svg", then "shot-2.svg", "shot-3.svg", ...
std::string Numbered(const std::string& path, int n) {
  if (n == 1) return path;
  const fs::path p(path);
  return (p.parent_path() / (p.stem().string() + "-" + std::to_string(n) + p.extension().string()))
      .string();
}

picture::RenderOptions PictureOptions(bool grid) {
  picture::RenderOptions options;
  options.grid = grid;
  return options;
}

}  // namespace

bool WritePicture(const std::string& path, bool grid, std::string& error,
                  const std::optional<VexBox>& window) {
  const auto& drawing = vexhost::TheHost().drawing;
  picture::RenderOptions options = PictureOptions(grid);
  options.frame = window;  // a window of the drawing, zoomed in
  return path.ends_with(".png") ? picture::RenderPng(drawing, path, error, options)
                                : picture::RenderSvg(drawing, path, error, options);
}

session::DrawingSession& Session::File() const {
  if (!file) file = std::make_shared<session::DrawingSession>(drawing);
  return *file;
}

bool CheckOutputs(const Session& session, std::string& error) {
  if (session.report && !ReportFormatOf(*session.report)) {
    error = "the report " + *session.report + " needs a name ending in .json or .csv";
    return false;
  }
  const std::pair<const char*, const std::optional<std::string>*> outputs[] = {
      {"--out", &session.out},
      {"--svg", &session.svg},
      {"--png", &session.png},
      {"--svg-at-confirm", &session.svgAtConfirm},
      {"--report", &session.report}};
  for (const auto& [owner, output] : outputs) {
    if (*output && !session.File().CheckOutput(**output, owner, error)) return false;
  }
  return true;
}

bool OpenSession(Session& session) {
  const auto plugin = LoadPlugin(DefaultPluginPath());
  if (!plugin.ok) {
    std::cerr << "twinfind: " << plugin.error << '\n';
    return false;
  }
  SetFoundPartsSource(plugin.foundParts);
  return OpenDrawing(session);
}

bool OpenDrawing(Session& session) {
  session::DrawingSession& file = session.File();
  std::vector<std::string> warnings;
  try {
    file.Open(session.open, warnings);
  } catch (const session::Refused& refused) {
    std::cerr << "twinfind: " << refused.what() << '\n';
    return false;
  }
  for (const std::string& line : warnings) std::cout << line << '\n';
  file.StayInHost();
  if (session.drawing) std::cout << LoadLine(vexhost::TheHost().drawing, *session.drawing) << '\n';
  return true;
}

ScriptResult RunScript(const Session& session, std::istream& script) {
  return RunScript(session, [&script]() -> std::optional<std::string> {
    std::string line;
    if (!std::getline(script, line)) return std::nullopt;
    return line;
  });
}

ScriptResult RunScript(const Session& session,
                       const std::function<std::optional<std::string>()>& lines) {
  ScriptRunner runner(std::cout, std::cerr);
  const bool grid = session.grid;
  session.File();  // the claims of the lines' files are the session's
  runner.SetClaim(
      [file = session.file](const std::string& path, const std::string& owner, std::string& error) {
        return file->Claim(path, owner, error);
      });
  runner.SetSnapshot([file = session.file, grid](const std::string& path,
                                                 const std::optional<VexBox>& window,
                                                 std::string& error) {
    return file->Claim(path, "snapshot", error) && WritePicture(path, grid, error, window);
  });
  // Only a report and blocks read the searches before the last.
  if (!session.report && !session.blocks) session.searches->KeepLastOnly();
  runner.AddObserver(session.searches->Observer());
  session.searches->TellDone([](const std::string& line) { std::cout << line << '\n'; });
  int confirmations = 0;
  if (session.svgAtConfirm) {
    // A confirmation step takes the end button alone while the matches blink.
    runner.AddObserver({nullptr, [&session, &confirmations](const UserAction&) {
                          const auto& host = vexhost::TheHost();
                          if (!host.driver.active() || host.driver.mask() != VEX_MASK_END ||
                              host.drawing.blinking().empty()) {
                            return;
                          }
                          std::string error;
                          const std::string file = Numbered(*session.svgAtConfirm, ++confirmations);
                          if (!session.File().Claim(file, "--svg-at-confirm", error) ||
                              !WritePicture(file, session.grid, error)) {
                            std::cerr << "twinfind: " << error << '\n';
                          }
                        }});
  }
  vexhost::TheHost().driver.Start();
  // A stop signal ends the run before the next line, and a read it broke off gives none.
  runner.RunAll([&lines]() -> std::optional<std::string> {
    if (CaughtStopSignal() != 0) return std::nullopt;
    std::optional<std::string> line = lines();
    return CaughtStopSignal() != 0 ? std::nullopt : line;
  });
  runner.Finish();
  session.searches->Finish();
  return {runner.actionLines(), runner.refusedLines()};
}

bool SaveDrawing(const Session& session, const std::string& path, std::vector<std::string>& lines,
                 std::string& error, bool rescue) {
  const std::vector<parts::PartFamily> families =
      !session.blocks    ? std::vector<parts::PartFamily>{}
      : session.families ? *session.families
                         : FamiliesOfSearches(session.searches->searches());
  session::SaveResult saved;
  try {
    saved = session.File().Save(path, "--out", session.blocks ? &families : nullptr, rescue);
  } catch (const session::Refused& refused) {
    error = refused.what();
    return false;
  }
  lines = saved.warnings;
  if (session.blocks) {
    for (const std::string& line : BlockLines(saved.notes, saved.blocks)) lines.push_back(line);
    if (families.empty()) lines.push_back("no family of twins: no blocks were made");
  }
  lines.push_back(saved.line);
  if (!saved.rescue) return true;
  error = saved.failure + "\ntwinfind: the drawing was saved as " + *saved.rescue + " instead";
  return false;
}

bool WriteOutputs(const Session& session) {
  bool ok = true;
  std::string error;
  const auto report = [&](bool written, const std::string& path) {
    if (written) {
      std::cout << "wrote " << path << '\n';
    } else {
      std::cerr << "twinfind: " << error << '\n';
      ok = false;
    }
  };
  if (session.out) {
    std::vector<std::string> lines;
    const bool saved = SaveDrawing(session, *session.out, lines, error, true);
    for (const std::string& line : lines) std::cout << line << '\n';
    if (!saved) {
      std::cerr << "twinfind: " << error << '\n';
      ok = false;
    }
  }
  if (session.svg) report(WritePicture(*session.svg, session.grid, error), *session.svg);
  if (session.png) report(WritePicture(*session.png, session.grid, error), *session.png);
  if (session.report) {
    ReportInput input;
    input.drawing = session.drawing;
    input.searches = &session.searches->searches();
    input.handles = [file = session.file](const std::vector<int>& segments) {
      return file ? file->Handles(segments) : std::vector<std::string>{};
    };
    report(WriteReport(*session.report, input, error), *session.report);
  }
  return ok;
}

bool RescueDrawing(const Session& session, int signal) {
  const std::string drawing = session.drawing.value_or("twinfind-drawing.dxf");
  // Beside the drawing; where its folder takes no file, in the current folder.
  std::vector<std::string> places = {drawing};
  const std::string name = std::filesystem::path(drawing).filename().string();
  if (name != drawing) places.push_back(name);
  std::string failures;
  for (const std::string& beside : places) {
    try {
      const session::SaveResult saved = session.File().Rescue(beside, "the stopped run");
      std::cerr << "twinfind: " << StopSignalText(signal)
                << " with the drawing changed: the changes were saved as " << *saved.rescue << '\n';
      return true;
    } catch (const session::Refused& refused) {
      failures += (failures.empty() ? "" : "; ") + std::string(refused.what());
    }
  }
  std::cerr << "twinfind: " << StopSignalText(signal)
            << " with the drawing changed, and the changes could not be kept: " << failures << '\n';
  return false;
}

bool SetMemoryLimit(const Options& options, Session& session, std::string& error) {
  if (options.chordTolerance) {
    const double d = *options.chordTolerance;
    if (!(d > 0) || !std::isfinite(d)) {
      error = "--chord-tolerance takes a distance above 0";
      return false;
    }
    session.open.chordTolerance = d;
  }
  if (options.memoryLimit) {
    session.open.memoryLimit = dxf::ParseMemoryLimitMb(*options.memoryLimit);
    if (!session.open.memoryLimit) {
      error = "--memory-limit takes a number of megabytes (1 or more), not " + *options.memoryLimit;
    }
    return error.empty();
  }
  return dxf::MemoryLimitOfVariable(session.open.memoryLimit, error);
}

int RunCommand(const Options& options) {
  if (options.positional.size() > 1) {
    return BadArguments("run takes one drawing: unexpected " + options.positional[1], "run");
  }
  Session session;
  if (!options.positional.empty()) session.drawing = options.positional[0];
  session.out = options.out;
  session.svg = options.svg;
  session.png = options.png;
  session.svgAtConfirm = options.svgAtConfirm;
  session.report = options.report;
  session.grid = !options.noGrid;
  session.blocks = options.blocks;
  std::string error;
  if (options.blocks && !options.out) {
    return BadArguments("--blocks goes with --out OUT.dxf: the file the blocks are saved in",
                        "run");
  }
  if (!SetMemoryLimit(options, session, error) || !UseSettingsFile(options.settings, error) ||
      !CheckOutputs(session, error)) {
    return BadArguments(error, "run");
  }
  std::ifstream scriptFile;
  if (options.script) {
    if (!PathNameAllowed(*options.script, error)) return BadArguments(error, "run");
    scriptFile.open(*options.script);
    if (!scriptFile) return BadArguments("cannot read the script " + *options.script, "run");
  }
  CatchStopSignals();
  if (!OpenSession(session)) return kBadArguments;
  // Only a run that saves nothing tells whether it changed the drawing.
  if (!session.out) session.digestAtLoad = DrawingDigest(vexhost::TheHost().drawing);
  // Typed at a terminal: line editing, history and Ctrl-C, where the build has them.
  std::unique_ptr<TerminalInput> terminal = options.script ? nullptr : OpenTerminalInput();
  const ScriptResult result = terminal
                                  ? RunScript(session, [&terminal] { return terminal->ReadLine(); })
                                  : RunScript(session, options.script ? scriptFile : std::cin);
  terminal.reset();
  bool written = true;
  {
    const HeldStopSignals held;
    written = WriteOutputs(session);
    std::cout.flush();
  }
  // A signal held while the outputs were written has come now; one that closed the terminal
  // may come just after the end of its input.
  const int stopped = CaughtStopSignal();
  if (!session.out && DrawingDigest(vexhost::TheHost().drawing) != session.digestAtLoad) {
    const HeldStopSignals held;
    if (stopped != 0) {
      written = RescueDrawing(session, stopped) && written;
    } else {
      std::cerr << "twinfind: the drawing was changed and the changes were not saved; give "
                   "--out FILE.dxf to save them\n";
    }
  }
  if (result.refused > 0) {
    std::cerr << "twinfind: " << result.refused << " of " << result.lines
              << (result.lines == 1 ? " line was" : " lines were") << " refused\n";
  }
  if (!written) return kOutputFailed;
  if (stopped != 0) return StopSignalStatus(stopped);
  return result.refused > 0 ? kSomeLinesRefused : 0;
}

}  // namespace twinfind::tool
