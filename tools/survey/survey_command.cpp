#include "tools/survey/survey_command.h"

#include <cmath>
#include <cstdlib>
#include <iostream>

#include "host/host.h"
#include "settings/search_options.h"
#include "survey/survey.h"
#include "tools/progress_line.h"
#include "tools/report_writer.h"
#include "tools/run_command.h"
#include "tools/survey/survey_output.h"

namespace twinfind::tool {
namespace {

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
  std::string error;
  if (!SetMemoryLimit(options, session, error) || !UseSettingsFile(options.settings, error) ||
      !CheckOutputs(session, error)) {
    return BadArguments(error, "survey");
  }
  if (!OpenDrawing(session)) return kBadArguments;

  auto& drawing = vexhost::TheHost().drawing;
  const SearchOptions search = SearchOptionsOf(ReadSettings());
  const std::vector<int> segments =
      survey::RangeSegments(drawing, range ? &*range : nullptr, options.hiddenLayers);
  survey::SurveyResult result;
  {
    ProgressLine progress("surveying");
    result = survey::Survey(
        drawing, segments, search,
        [&progress](double done) {
          progress.Tell(done);
          return true;
        },
        options.allFamilies);
  }
  // The search's own messages (a working table full, say) are not this command's lines.
  vexhost::TheHost().transcript.Clear();
  for (const std::string& line : survey::SurveyLines(result, &drawing)) std::cout << line << '\n';

  bool ok = true;
  const auto written = [&](bool done, const std::string& path) {
    if (done) {
      std::cout << "wrote " << path << '\n';
    } else {
      std::cerr << "twinfind: " << error << '\n';
      ok = false;
    }
  };
  const picture::RenderOptions picture = survey::SurveyPicture(result, !options.noGrid);
  if (session.svg) written(WriteSurveyPicture(*session.svg, picture, error), *session.svg);
  if (session.png) written(WriteSurveyPicture(*session.png, picture, error), *session.png);
  if (session.report) {
    const std::vector<SearchRecord> records =
        survey::SurveyRecords(drawing, result, range, survey::SearchSettingTexts());
    ReportInput input;
    input.drawing = session.drawing;
    input.searches = &records;
    input.handles = session.handles;
    for (const survey::NearFamilies& near : result.near) {
      NearRecord record{{}, near.within, near.tolerance, near.count};
      for (const int f : near.families) record.searches.push_back(f + 1);
      input.near.push_back(std::move(record));
    }
    written(WriteReport(*session.report, input, error), *session.report);
  }
  return ok ? 0 : kOutputFailed;
}

}  // namespace twinfind::tool
