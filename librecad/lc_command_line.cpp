#include "librecad/lc_command_line.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>

namespace twinfind::librecad {

QtCommandLine::QtCommandLine(QWidget* window) : window_(window) {
  // LibreCAD's command line keeps its history in a text widget of this name.
  if (window != nullptr) history_ = window->findChild<QTextEdit*>(QStringLiteral("teHistory"));
}

void QtCommandLine::Say(vexhost::MessageKind kind, const QString& text) {
  const QString line = QStringLiteral("Twinfind: ") + text;
  if (history_) {
    const QString escaped = line.toHtmlEscaped();
    history_->append(kind == vexhost::MessageKind::kError
                         ? QStringLiteral("<span style=\"color:#e04040\">%1</span>").arg(escaped)
                         : escaped);
    return;
  }
  if (auto* main = qobject_cast<QMainWindow*>(window_.data())) main->statusBar()->showMessage(line);
}

void QtCommandLine::Box(const QString& text) {
  QMessageBox::information(window_.data(), QStringLiteral("Twinfind"), text);
}

}  // namespace twinfind::librecad
