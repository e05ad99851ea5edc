#include "tools/survey/survey_command.h"

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>

#include <filesystem>

#include "host/host.h"
#include "parts/part_split.h"
#include "settings/search_options.h"
#include "survey/survey.h"
#include "tools/progress_line.h"
#include "tools/report_writer.h"
#include "tools/run_command.h"
#include "tools/stop_signals.h"
#include "tools/survey/survey_output.h"

namespace twinfind::tool {
namespace {

// Refuses what cannot go together, before anything is read: the outputs for cutting and for
// blocks each need their partner option, and no other output may lie in the split's folder.
bool CheckPartOutputs(const Options& options, std::string& error) {
  if (options.blocks != options.out.has_value()) {
    error = options.blocks ? "--blocks goes with --out OUT.dxf: the file the blocks are saved in"
                           : "--out goes with --blocks: the survey changes nothing else";
    return false;
  }
  if ((options.splitHands || options.splitMillimetres || options.splitQuantities ||
       options.splitSvg) &&
      !options.split) {
    error = std::string(options.splitHands         ? "--split-hands"
                        : options.splitMillimetres ? "--split-mm"
                        : options.splitQuantities  ? "--split-quantities"
                                                   : "--split-svg") +
            " goes with --split DIR";
    return false;
  }
  if (!options.split) return true;
  if (!parts::CheckSplitFolder(*options.split, error)) return false;
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path folder = fs::weakly_canonical(fs::absolute(*options.split, ec), ec);
  for (const auto* output : {&options.out, &options.svg, &options.png, &options.report}) {
    if (!*output) continue;
    const fs::path file = fs::weakly_canonical(fs::absolute(**output, ec), ec);
    if (file.parent_path() == folder) {
      error = **output + " lies in the --split folder " + *options.split +
              ", which holds the part files and their lists alone";
      return false;
    }
  }
  return true;
}

// What the parts list holds and what it leaves out, and why.
std::string SheetLine(const parts::SheetParts& sheet) {
  int once = 0;
  for (const parts::PartFamily& f : sheet.families) once += f.members.size() == 1 ? 1 : 0;
  std::string line = "parts: " + std::to_string(sheet.parts) + " in " +
                     std::to_string(sheet.families.size()) + " different (" + std::to_string(once) +
                     " drawn once); left out: ";
  std::vector<std::string> out;
  const auto add = [&out](int n, const std::string& what) {
    if (n > 0) out.push_back(std::to_string(n) + (n == 1 ? " segment" : " segments") + what);
  };
  add(sheet.strokeSegments, " of open strokes outside every part");
  add(sheet.frameSegments, " of outlines drawn around parts");
  add(sheet.otherSegments, " without lines, arcs or circles (texts, points)");
  if (out.empty()) return line + "nothing";
  for (size_t i = 0; i < out.size(); ++i) line += (i ? ", " : "") + out[i];
  return line;
}

// Writes the part files and lists, and tells what was written; false when they could not be.
bool WriteSplit(const Session& session, const std::vector<parts::PartFamily>& families,
                const Options& options) {
  if (families.empty()) {
    std::cout << "no part (a closed outline): nothing was written to " << *options.split << '\n';
    return true;
  }
  parts::SplitResult result;
  try {
    parts::SplitOptions how;
    how.hands = options.splitHands;
    how.millimetres = options.splitMillimetres;
    how.quantityInNames = options.splitQuantities;
    how.svg = options.splitSvg;
    result = session.File().Split(families, *options.split, how);
  } catch (const session::Refused& refused) {
    std::cerr << "twinfind: " << refused.what() << '\n';
    return false;
  }
  for (size_t i = 0; i < result.rows.size(); ++i) {
    const parts::SplitRow& row = result.rows[i];
    std::cout << "wrote " << result.written[i] << ": " << row.count
              << (row.count == 1 ? " part" : " parts")
              << (row.mirrored > 0 ? ", " + std::to_string(row.mirrored) + " mirrored" : "")
              << '\n';
  }
  for (size_t i = result.rows.size(); i < result.written.size(); ++i) {
    std::cout << "wrote " << result.written[i] << '\n';
  }
  return true;
}

bool WriteSurveyPicture(const std::string& path, const picture::RenderOptions& options,
                        std::string& error) {
  const auto& drawing = vexhost::TheHost().drawing;
  return path.ends_with(".png") ? picture::RenderPng(drawing, path, error, options)
                                : picture::RenderSvg(drawing, path, error, options);
}

}  // namespace

int SurveyCommand(const Options& options) {
  if (options.positional.size() != 1) {
    return BadArguments(options.positional.empty()
                            ? "survey takes a drawing"
                            : "survey takes one drawing: unexpected " + options.positional[1],
                        "survey");
  }
  std::optional<VexBox> range;
  if (!options.range.empty()) {
    const auto& r = options.range;
    for (const double v : r) {
      if (!std::isfinite(v)) return BadArguments("--range takes four finite numbers", "survey");
    }
    range = VexBox{std::min(r[0], r[2]), std::min(r[1], r[3]), std::max(r[0], r[2]),
                   std::max(r[1], r[3])};
  }
  Session session;
  session.drawing = options.positional[0];
  session.svg = options.svg;
  session.png = options.png;
  session.report = options.report;
  session.out = options.out;
  session.blocks = options.blocks;
  std::string error;
  if (!CheckPartOutputs(options, error) || !SetMemoryLimit(options, session, error) ||
      !UseSettingsFile(options.settings, error) || !CheckOutputs(session, error)) {
    return BadArguments(error, "survey");
  }
  CatchStopSignals();
  if (!OpenDrawing(session)) return kBadArguments;

  auto& drawing = vexhost::TheHost().drawing;
  survey::SurveyResult result;
  {
    ProgressLine progress("surveying");
    result = session.File().Survey({range, options.hiddenLayers}, SearchOptionsOf(ReadSettings()),
                                   options.allFamilies, [&progress](double done) {
                                     progress.Tell(done);
                                     return CaughtStopSignal() == 0;
                                   });
  }
  // A survey broken off lists part of the families: nothing of it is written.
  if (const int stopped = CaughtStopSignal(); stopped != 0 && result.cancelled) {
    std::cerr << "twinfind: " << StopSignalText(stopped)
              << ": the survey was stopped and nothing was written\n";
    return StopSignalStatus(stopped);
  }
  // The search's own messages (a working table full, say) are not this command's lines.
  vexhost::TheHost().transcript.Clear();
  for (const std::string& line : SurveyLines(result, &drawing)) std::cout << line << '\n';

  bool ok = true;
  const auto written = [&](bool done, const std::string& path) {
    if (done) {
      std::cout << "wrote " << path << '\n';
    } else {
      std::cerr << "twinfind: " << error << '\n';
      ok = false;
    }
  };
  const auto families =
      std::make_shared<const std::vector<parts::PartFamily>>(parts::FamiliesOf(result));
  // Every part of the sheet, those drawn once too: the list a shop quotes from.
  const std::optional<parts::SheetParts> sheet =
      options.split ? std::optional(session.File().SheetParts(
                          {range, options.hiddenLayers}, SearchOptionsOf(ReadSettings()), result))
                    : std::nullopt;
  // From here on the outputs are written, each whole, a stop signal waiting till the end.
  const HeldStopSignals held;
  if (sheet) {
    std::cout << SheetLine(*sheet) << '\n';
    if (!WriteSplit(session, sheet->families, options)) ok = false;
  }
  if (session.out) {
    session.families = families;
    std::vector<std::string> lines;
    const bool saved = SaveDrawing(session, *session.out, lines, error);
    for (const std::string& line : lines) std::cout << line << '\n';
    if (!saved) {
      std::cerr << "twinfind: " << error << '\n';
      ok = false;
    }
  }
  const picture::RenderOptions picture = SurveyPicture(result, !options.noGrid);
  if (session.svg) written(WriteSurveyPicture(*session.svg, picture, error), *session.svg);
  if (session.png) written(WriteSurveyPicture(*session.png, picture, error), *session.png);
  if (session.report) {
    const std::vector<SearchRecord> records =
        SurveyRecords(drawing, result, range, SearchSettingTexts());
    ReportInput input;
    input.drawing = session.drawing;
    input.searches = &records;
    input.handles = [&session](const std::vector<int>& segments) {
      return session.File().Handles(segments);
    };
    for (const survey::NearFamilies& near : result.near) {
      NearRecord record{{}, near.within, near.tolerance, near.count};
      for (const int f : near.families) record.searches.push_back(f + 1);
      input.near.push_back(std::move(record));
    }
    for (const survey::NearFamilies& alike : result.alike) {
      NearRecord record{{}, alike.within, 0, alike.count};
      for (const int f : alike.families) record.searches.push_back(f + 1);
      input.alike.push_back(std::move(record));
    }
    written(WriteReport(*session.report, input, error), *session.report);
  }
  std::cout.flush();
  return ok ? 0 : kOutputFailed;
}

}  // namespace twinfind::tool
