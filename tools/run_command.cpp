#include "tools/run_command.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "common/atomic_file.h"
#include "dxf/dxf_export.h"
#include "dxf/dxf_import.h"
#include "dxf/dxf_save.h"
#include "dxf/memory_limit.h"
#include "host/host.h"
#include "parts/block_plan.h"
#include "picture/render.h"
#include "tools/block_families.h"
#include "tools/drawing_summary.h"
#include "tools/layer_list.h"
#include "tools/plugin_loader.h"
#include "tools/report_writer.h"
#include "tools/script_runner.h"
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

// The highest number a rescue file takes before the tool gives up looking for a free name.
constexpr int kMostRescueNames = 1000;

// After the drawing could not be written to `path`, saves it beside it as "PATH.rescue-N", N the
// first number whose name is free (nothing stands there, not even a link, and it is no other
// output of the run), through the same writer. The name written, or nothing with the reason.
std::optional<std::string> SaveRescue(const Session& session, const std::string& path,
                                      std::string& saveLine, std::string& error) {
  for (int n = 1; n <= kMostRescueNames; ++n) {
    const std::string rescue = path + ".rescue-" + std::to_string(n);
    std::error_code ec;  // set for a name not found too
    if (fs::symlink_status(rescue, ec).type() != fs::file_type::not_found) continue;
    std::string refused;
    if (!session.claims->Claim(rescue, "the rescue of --out", refused)) continue;
    std::vector<std::string> lines;  // the warnings were told with the failed write
    if (SaveDrawing(session, rescue, lines, error)) {
      saveLine = lines.empty() ? "" : lines.back();
      return rescue;
    }
    // Something came to stand at the name in the meantime: the next number. Else the folder
    // takes no file at all now, and trying more names would fail the same way.
    if (fs::symlink_status(rescue, ec).type() == fs::file_type::not_found) break;
  }
  if (error.empty()) {
    error = "no free name " + path + ".rescue-N up to " + std::to_string(kMostRescueNames);
  }
  return std::nullopt;
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

bool CheckOutput(const Session& session, const std::string& path, const std::string& owner,
                 std::string& error) {
  return session.claims->Claim(path, owner, error) && CheckWriteTarget(path, error);
}

bool CheckOutputs(const Session& session, std::string& error) {
  session.claims->SetInput(session.drawing);
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
    if (*output && !CheckOutput(session, **output, owner, error)) return false;
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
  auto& drawing = vexhost::TheHost().drawing;
  if (session.drawing) {
    dxf::ImportOptions options;
    options.memoryLimit = session.memoryLimit;
    options.chordTolerance = session.chordTolerance;
    const dxf::ImportResult imported = dxf::OpenDrawingFile(*session.drawing, drawing, options);
    if (!imported.ok) {
      std::cerr << "twinfind: " << imported.error << '\n';
      return false;
    }
    for (const std::string& line : imported.WarningLines()) std::cout << line << '\n';
    std::cout << LoadLine(drawing, *session.drawing) << '\n';
    session.source = imported.source;
    session.hiddenAtLoad = drawing.hiddenLayers();
    if (const std::shared_ptr<const dxf::DxfSource> source = imported.source) {
      session.handles = [source](const std::vector<int>& segments) {
        return source->SourceHandles(segments);
      };
    }
  }
  // The states kept for undo may take a quarter of the memory limit.
  vexhost::TheHost().undo.SetByteLimit(session.memoryLimit.value_or(dxf::DefaultMemoryLimit()) / 4);
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
  const std::shared_ptr<OutputClaims> claims = session.claims;
  const bool grid = session.grid;
  runner.SetClaim([claims](const std::string& path, const std::string& owner, std::string& error) {
    return claims->Claim(path, owner, error);
  });
  runner.SetSnapshot([claims, grid](const std::string& path, const std::optional<VexBox>& window,
                                    std::string& error) {
    return claims->Claim(path, "snapshot", error) && WritePicture(path, grid, error, window);
  });
  runner.AddObserver(session.searches->Observer());
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
                          if (!session.claims->Claim(file, "--svg-at-confirm", error) ||
                              !WritePicture(file, session.grid, error)) {
                            std::cerr << "twinfind: " << error << '\n';
                          }
                        }});
  }
  vexhost::TheHost().driver.Start();
  runner.RunAll(lines);
  runner.Finish();
  session.searches->Finish();
  return {runner.actionLines(), runner.refusedLines()};
}

bool SaveDrawing(const Session& session, const std::string& path, std::vector<std::string>& lines,
                 std::string& error) {
  // Each layer is saved shown or hidden as it was read.
  const LayersShownAs asRead(vexhost::TheHost().drawing, session.hiddenAtLoad);
  const auto& drawing = vexhost::TheHost().drawing;
  dxf::SaveCounts counts;
  if (!session.source) {
    const bool saved = dxf::ExportDxf(drawing, path, error, &lines, &counts.added);
    if (saved) lines.push_back(dxf::SaveLine(path, counts));
    return saved;
  }
  if (!session.blocks) {
    const bool saved = dxf::SaveDxf(drawing, *session.source, path, counts, error, &lines);
    if (saved) lines.push_back(dxf::SaveLine(path, counts));
    return saved;
  }
  const std::vector<parts::PartFamily> families =
      session.families ? *session.families : FamiliesOfSearches(session.searches->searches());
  const parts::BlockPlanning planning = parts::PlanBlocks(drawing, *session.source, families);
  dxf::BlockSave blocks;
  blocks.plan = &planning.plan;
  const bool saved = dxf::SaveDxf(drawing, *session.source, path, counts, error, &lines, &blocks);
  if (!saved) return false;
  for (const std::string& line : BlockLines(planning.notes, blocks.outcomes)) lines.push_back(line);
  if (families.empty()) lines.push_back("no family of twins: no blocks were made");
  lines.push_back(dxf::SaveLine(path, counts));
  return true;
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
    const bool saved = SaveDrawing(session, *session.out, lines, error);
    for (const std::string& line : lines) std::cout << line << '\n';
    if (!saved) {
      std::cerr << "twinfind: " << error << '\n';
      ok = false;
      std::string saveLine, rescueError;
      if (const auto rescue = SaveRescue(session, *session.out, saveLine, rescueError)) {
        std::cout << saveLine << '\n';
        std::cerr << "twinfind: the drawing was saved as " << *rescue << " instead\n";
      } else {
        std::cerr << "twinfind: the drawing could not be saved beside it either: " << rescueError
                  << '\n';
      }
    }
  }
  if (session.svg) report(WritePicture(*session.svg, session.grid, error), *session.svg);
  if (session.png) report(WritePicture(*session.png, session.grid, error), *session.png);
  if (session.report) {
    ReportInput input;
    input.drawing = session.drawing;
    input.searches = &session.searches->searches();
    input.handles = session.handles;
    report(WriteReport(*session.report, input, error), *session.report);
  }
  return ok;
}

bool SetMemoryLimit(const Options& options, Session& session, std::string& error) {
  if (options.chordTolerance) {
    const double d = *options.chordTolerance;
    if (!(d > 0) || !std::isfinite(d)) {
      error = "--chord-tolerance takes a distance above 0";
      return false;
    }
    session.chordTolerance = d;
  }
  if (options.memoryLimit) {
    session.memoryLimit = dxf::ParseMemoryLimitMb(*options.memoryLimit);
    if (!session.memoryLimit) {
      error = "--memory-limit takes a number of megabytes (1 or more), not " + *options.memoryLimit;
    }
    return error.empty();
  }
  return dxf::MemoryLimitOfVariable(session.memoryLimit, error);
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
    scriptFile.open(*options.script);
    if (!scriptFile) return BadArguments("cannot read the script " + *options.script, "run");
  }
  if (!OpenSession(session)) return kBadArguments;
  // Only a run that saves nothing tells whether it changed the drawing.
  if (!session.out) session.digestAtLoad = DrawingDigest(vexhost::TheHost().drawing);
  // Typed at a terminal: line editing, history and Ctrl-C, where the build has them.
  std::unique_ptr<TerminalInput> terminal = options.script ? nullptr : OpenTerminalInput();
  const ScriptResult result = terminal
                                  ? RunScript(session, [&terminal] { return terminal->ReadLine(); })
                                  : RunScript(session, options.script ? scriptFile : std::cin);
  terminal.reset();
  const bool written = WriteOutputs(session);
  if (!session.out && DrawingDigest(vexhost::TheHost().drawing) != session.digestAtLoad) {
    std::cerr << "twinfind: the drawing was changed and the changes were not saved; give --out "
                 "FILE.dxf to save them\n";
  }
  if (result.refused > 0) {
    std::cerr << "twinfind: " << result.refused << " of " << result.lines
              << (result.lines == 1 ? " line was" : " lines were") << " refused\n";
  }
  if (!written) return kOutputFailed;
  return result.refused > 0 ? kSomeLinesRefused : 0;
}

}  // namespace twinfind::tool
