#include "librecad/lc_command_line.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>

namespace twinfind::librecad {

QtCommandLine::QtCommandLine(QWidget* window) : window_(window) {
  if (window == nullptr) return;
  // LibreCAD's command line keeps its history in a text widget of this name; its status bar
  // shows the number of entities selected in a label of this one.
  history_ = window->findChild<QTextEdit*>(QStringLiteral("teHistory"));
  selected_ = window->findChild<QLabel*>(QStringLiteral("lEntities"));
}

bool QtCommandLine::TakeSelectionLeft() {
  if (!selected_ || window_ == nullptr || selected_->text().toInt() <= 0) return false;
  // The drawing's view takes the keypad's Enter as the end of a selection that holds entities:
  // sent now, it ends the selection asked next as soon as it begins.
  for (QWidget* view : window_->findChildren<QWidget*>()) {
    if (qstrcmp(view->metaObject()->className(), "QG_GraphicView") != 0 || !view->isVisible())
      continue;
    QCoreApplication::postEvent(view,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier));
    return true;
  }
  return false;
}

void QtCommandLine::SelectionCleared() {
  // LibreCAD does not recount when a plug-in clears the selection.
  if (selected_) selected_->setText(QStringLiteral("0"));
}

void QtCommandLine::Say(vexhost::MessageKind kind, const QString& text) {
  // The command's lines as the command says them, nothing added.
  if (history_) {
    const QString escaped = text.toHtmlEscaped();
    history_->append(kind == vexhost::MessageKind::kError
                         ? QStringLiteral("<span style=\"color:#e04040\">%1</span>").arg(escaped)
                         : escaped);
    return;
  }
  if (auto* main = qobject_cast<QMainWindow*>(window_.data())) main->statusBar()->showMessage(text);
}

void QtCommandLine::Box(const QString& text) {
  QMessageBox::information(window_.data(), QStringLiteral("Twinfind"), text);
}

}  // namespace twinfind::librecad
