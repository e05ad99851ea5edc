// The command's lines in LibreCAD's own command line (its history), and its message boxes as
// Qt message boxes over LibreCAD's window. LibreCAD's widgets are found by the names LibreCAD
// gives them; where one is not found (another LibreCAD), what needs it is not done.
#ifndef LIBRECAD_LC_COMMAND_LINE_H
#define LIBRECAD_LC_COMMAND_LINE_H

#include <QLabel>
#include <QPointer>
#include <QTextEdit>
#include <QWidget>

#include "librecad/lc_command_run.h"

namespace twinfind::librecad {

class QtCommandLine : public CommandLine {
 public:
  // LibreCAD's main window: its command line's history is found in it by name, and the
  // status bar takes the lines when it has none.
  explicit QtCommandLine(QWidget* window);
  void Say(vexhost::MessageKind kind, const QString& text) override;
  void Box(const QString& text) override;
  bool TakeSelectionLeft() override;
  void SelectionCleared() override;

 private:
  QPointer<QWidget> window_;
  QPointer<QTextEdit> history_;
  QPointer<QLabel> selected_;  // LibreCAD's count of selected entities
};

}  // namespace twinfind::librecad

#endif  // LIBRECAD_LC_COMMAND_LINE_H
