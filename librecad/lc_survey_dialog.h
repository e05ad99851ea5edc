// The survey of LibreCAD's drawing in a dialog: one row per family of twins (how many parts,
// how many mirror images, figures, size). The family chosen is shown in the drawing as it is
// chosen; Find hands it to the command.
#ifndef LIBRECAD_LC_SURVEY_DIALOG_H
#define LIBRECAD_LC_SURVEY_DIALOG_H

#include <QWidget>
#include <functional>
#include <optional>

#include "host/drawing.h"
#include "survey/survey.h"

namespace twinfind::librecad {

// The family the user chose (an index into the survey's families); nothing when the dialog
// was closed. `show` is called with the row chosen whenever it changes (-1: none).
std::optional<size_t> ChooseFamily(QWidget* parent, const survey::SurveyResult& survey,
                                   const vexhost::Drawing& drawing,
                                   const std::function<void(int)>& show);

}  // namespace twinfind::librecad

#endif  // LIBRECAD_LC_SURVEY_DIALOG_H
