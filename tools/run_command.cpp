#include "tools/run_command.h"

#include <filesystem>
#include <fstream>
#include <iostream>

#include "dxf/dxf_export.h"
#include "dxf/dxf_import.h"
#include "dxf/dxf_save.h"
#include "host/host.h"
#include "picture/render.h"
#include "tools/plugin_loader.h"
#include "tools/script_runner.h"

namespace twinfind::tool {
namespace fs = std::filesystem;

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// "shot.svg", then "shot-2.svg", "shot-3.svg", ...
std::string Numbered(const std::string& path, int n) {
  if (n == 1) return path;
  const fs::path p(path);
  return (p.parent_path() / (p.stem().string() + "-" + std::to_string(n) + p.extension().string()))
      .string();
}

}  // namespace

bool WritePicture(const std::string& path, std::string& error) {
  const auto& drawing = vexhost::TheHost().drawing;
  return EndsWith(path, ".png") ? picture::RenderPng(drawing, path, error)
                                : picture::RenderSvg(drawing, path, error);
}

bool CheckOutputs(const Session& session, std::string& error) {
  for (const auto& output : {session.out, session.svg, session.png, session.svgAtConfirm}) {
    if (!output) continue;
    const fs::path file(*output);
    std::error_code ec;
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec)) {
      error = "the folder of the output " + *output + " does not exist";
      return false;
    }
    if (session.drawing && fs::exists(file, ec) && fs::equivalent(file, *session.drawing, ec)) {
      error = "the output " + *output + " is the input drawing; it is never written over";
      return false;
    }
  }
  return true;
}

bool OpenSession(Session& session) {
  const auto plugin = LoadPlugin(DefaultPluginPath());
  if (!plugin.ok) {
    std::cerr << "twinfind: " << plugin.error << '\n';
    return false;
  }
  if (!session.drawing) return true;
  const dxf::ImportResult imported = dxf::ImportDxf(*session.drawing, vexhost::TheHost().drawing);
  if (!imported.ok) {
    std::cerr << "twinfind: cannot read the drawing " << *session.drawing << ": " << imported.error
              << '\n';
    return false;
  }
  for (const std::string& line : imported.WarningLines()) std::cout << line << '\n';
  session.source = imported.source;
  return true;
}

int RunScript(const Session& session, std::istream& script) {
  ScriptRunner runner(std::cout, std::cerr);
  runner.SetSnapshot(WritePicture);
  int confirmations = 0;
  if (session.svgAtConfirm) {
    // A confirmation step takes the end button alone while the matches blink.
    runner.SetAfterAction([&session, &confirmations] {
      const auto& host = vexhost::TheHost();
      if (!host.driver.active() || host.driver.mask() != VEX_MASK_END ||
          host.drawing.blinking().empty()) {
        return;
      }
      std::string error;
      if (!WritePicture(Numbered(*session.svgAtConfirm, ++confirmations), error)) {
        std::cerr << "twinfind: " << error << '\n';
      }
    });
  }
  vexhost::TheHost().driver.Start();
  const int refused = runner.RunAll(script);
  runner.Finish();
  return refused;
}

bool WriteOutputs(const Session& session) {
  bool ok = true;
  std::string error;
  const auto& drawing = vexhost::TheHost().drawing;
  if (session.out) {
    std::vector<std::string> warnings;
    dxf::SaveCounts counts;
    const bool saved =
        session.source
            ? dxf::SaveDxf(drawing, *session.source, *session.out, counts, error, &warnings)
            : dxf::ExportDxf(drawing, *session.out, error, &warnings, &counts.added);
    for (const std::string& line : warnings) std::cout << line << '\n';
    if (saved) {
      std::cout << dxf::SaveLine(*session.out, counts) << '\n';
    } else {
      std::cerr << "twinfind: " << error << '\n';
      ok = false;
    }
  }
  if (session.svg && !picture::RenderSvg(drawing, *session.svg, error)) {
    std::cerr << "twinfind: " << error << '\n';
    ok = false;
  }
  if (session.png && !picture::RenderPng(drawing, *session.png, error)) {
    std::cerr << "twinfind: " << error << '\n';
    ok = false;
  }
  return ok;
}

int RunCommand(const Options& options) {
  if (options.positional.size() > 1) {
    return BadArguments("run takes one drawing: unexpected " + options.positional[1]);
  }
  Session session;
  if (!options.positional.empty()) session.drawing = options.positional[0];
  session.out = options.out;
  session.svg = options.svg;
  session.png = options.png;
  session.svgAtConfirm = options.svgAtConfirm;
  std::string error;
  if (!UseSettingsFile(options.settings, error) || !CheckOutputs(session, error)) {
    return BadArguments(error);
  }
  std::ifstream scriptFile;
  if (options.script) {
    scriptFile.open(*options.script);
    if (!scriptFile) return BadArguments("cannot read the script " + *options.script);
  }
  if (!OpenSession(session)) return kBadArguments;
  RunScript(session, options.script ? scriptFile : std::cin);
  return WriteOutputs(session) ? 0 : 1;
}

}  // namespace twinfind::tool
