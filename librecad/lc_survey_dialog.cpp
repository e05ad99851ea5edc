#include "librecad/lc_survey_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "librecad/lc_texts.h"
#include "ui/qt/qt_window.h"

namespace twinfind::librecad {
namespace {

QString Size(double value) { return QString::number(value, 'g', 6); }

}  // namespace

std::optional<size_t> ChooseFamily(QWidget* parent, const survey::SurveyResult& survey,
                                   const vexhost::Drawing& drawing,
                                   const std::function<void(int)>& show) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("survey"));
  dialog.setWindowTitle(Said(lc_texts::kSurveyTitle));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(
      survey.families.empty()
          ? Said(lc_texts::kSurveyNone)
          : Said(lc_texts::kSurveyHeader).arg(survey.families.size()).arg(survey.segments),
      &dialog));
  auto* list = new QListWidget(&dialog);
  list->setObjectName(QStringLiteral("families"));
  for (const survey::Family& family : survey.families) {
    const VexBox box = survey::BoxOf(drawing, family.part);
    list->addItem(Said(lc_texts::kSurveyRow)
                      .arg(family.members.size())
                      .arg(family.mirrored)
                      .arg(family.figures)
                      .arg(Size(box.maxX - box.minX))
                      .arg(Size(box.maxY - box.minY)));
  }
  list->setMinimumWidth(420);
  layout->addWidget(list);
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* find = buttons->addButton(Said(lc_texts::kSurveyFind), QDialogButtonBox::AcceptRole);
  find->setObjectName(QStringLiteral("find"));
  find->setEnabled(false);
  QPushButton* close =
      buttons->addButton(Said(lc_texts::kSurveyClose), QDialogButtonBox::RejectRole);
  close->setObjectName(QStringLiteral("close"));
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(list, &QListWidget::currentRowChanged, &dialog, [&](int row) {
    find->setEnabled(row >= 0);
    if (show) show(row);
  });
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  dialog.setModal(true);
  dialog.show();
  ui::qt::NotifyDialogShown(dialog);
  const int result = dialog.isVisible() ? dialog.exec() : dialog.result();
  if (show) show(-1);
  if (result != QDialog::Accepted || list->currentRow() < 0) return std::nullopt;
  return static_cast<size_t>(list->currentRow());
}

}  // namespace twinfind::librecad
