#include "librecad/lc_entries.h"

#include <document_interface.h>

#include <QApplication>
#include <QProgressDialog>
#include <cmath>

#include "librecad/lc_command_run.h"
#include "librecad/lc_survey_dialog.h"
#include "librecad/lc_texts.h"
#include "settings/search_options.h"
#include "settings/settings.h"
#include "survey/survey.h"
#include "ui/qt/qt_window.h"

namespace twinfind::librecad {
namespace {

void Survey(Document_Interface& doc, QWidget* window, CommandRun& run) {
  vexhost::Drawing& drawing = run.drawing();
  QProgressDialog progress(Said(lc_texts::kSurveyTitle), QString(), 0, 1000, window);
  progress.setWindowTitle(Said(lc_texts::kSurveyTitle));
  progress.setMinimumDuration(500);
  run.SetQuiet(true);
  const survey::SurveyResult result =
      survey::Survey(drawing, survey::RangeSegments(drawing, nullptr),
                     SearchOptionsOf(ReadSettings()), [&progress](double done) {
                       progress.setValue(static_cast<int>(std::lround(done * 1000)));
                       return !progress.wasCanceled();
                     });
  progress.reset();
  run.SetQuiet(false);
  // The family under the selection blinks in the host: the writer shows it in LibreCAD.
  const auto show = [&](int row) {
    drawing.ClearBlink();
    if (row >= 0) {
      for (const survey::FoundTwin& member : result.families[static_cast<size_t>(row)].members) {
        for (const int segment : member.segments)
          drawing.Blink({vexhost::Drawing::kDrawingId, segment});
      }
    }
    run.writer().Sync();
    doc.updateView();
  };
  const std::optional<size_t> chosen = ChooseFamily(window, result, drawing, show);
  if (chosen) run.RunOnPart(result.families[*chosen].part);
}

}  // namespace

QString EntryName(Entry entry) {
  switch (entry) {
    case Entry::kSurvey:
      return QStringLiteral("Twinfind survey");
    case Entry::kSettings:
      return QStringLiteral("Twinfind settings");
    case Entry::kCommand:
      break;
  }
  return QStringLiteral("Twinfind");
}

Entry EntryOf(const QString& name) {
  for (const Entry entry : {Entry::kSurvey, Entry::kSettings}) {
    if (name == EntryName(entry)) return entry;
  }
  return Entry::kCommand;
}

void RunEntry(Document_Interface& doc, QWidget* window, Entry entry, CommandLine& line) {
  ui::qt::SetDialogOwner(window);
  CommandRun run(doc, line);
  if (!run.ready()) return;
  switch (entry) {
    case Entry::kCommand:
      run.Run();
      break;
    case Entry::kSurvey:
      Survey(doc, window, run);
      break;
    case Entry::kSettings:
      run.Settings();
      break;
  }
}

}  // namespace twinfind::librecad
