// The plug-in's dialogs as Qt widgets: the settings dialog with its template's controls, texts
// and ids, driven as a user drives it (a picker opened from it), and what it stores; the survey's
// list of families, the family chosen shown in the drawing and handed to the command.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <deque>
#include <fstream>
#include <functional>
#include <iterator>

#include "librecad/lc_entries.h"
#include "librecad/lc_writer.h"
#include "tests/librecad/librecad_fixture.h"
#include "ui/dialog_codes.h"
#include "ui/dialog_template.h"
#include "ui/qt/qt_window.h"
#include "ui/resource.h"

namespace twinfind::librecad::testing {
namespace {

QString Text(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<int>(text.size()));
}

template <typename Widget = QWidget>
Widget* Control(QDialog& dialog, int id) {
  return dialog.findChild<Widget*>(ui::qt::ControlName(id));
}

void Press(QWidget* widget) {
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

// Each dialog shown is handed to the next step, in order; a dialog beyond them is cancelled.
class DialogSteps {
 public:
  explicit DialogSteps(std::deque<std::function<void(QDialog&)>> steps) : steps_(std::move(steps)) {
    ui::qt::SetDialogShownHook([this](QDialog& dialog) {
      ++shown_;
      if (steps_.empty()) {
        dialog.reject();
        return;
      }
      auto step = std::move(steps_.front());
      steps_.pop_front();
      step(dialog);
    });
  }
  ~DialogSteps() { ui::qt::SetDialogShownHook(nullptr); }
  int shown() const { return shown_; }

 private:
  std::deque<std::function<void(QDialog&)>> steps_;
  int shown_ = 0;
};

std::string StoredSettings(const std::filesystem::path& folder) {
  std::ifstream in(folder / "settings.reg");
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

TEST_F(LibreCadTest, SettingsDialogHasTheTemplatesControlsAndStoresWhatOkTakes) {
  struct Case {
    bool ok;
    const char* language;  // mLanguage: the dialog speaks it
    const char* caption;
    const char* rotate;  // stored afterwards
    const char* color;
    const char* width;
  };
  for (const Case& c : {Case{false, "ko", "동일부품검색", "1", "MAINCOLOR06", "5.0"},
                        Case{true, "ko", "동일부품검색", "0", "MAINCOLOR05", "12.5"},
                        Case{true, "en", "Identical Part Search", "0", "MAINCOLOR05", "12.5"}}) {
    SCOPED_TRACE(std::string(c.language) + (c.ok ? " OK" : " Cancel"));
    WriteSettings({{"mIsRotate", "1"}, {"m_ColorMain", "MAINCOLOR06"}, {"mLanguage", c.language}});
    FakeDocument doc;
    CapturedLine line;
    DialogSteps steps({
        [&](QDialog& dialog) {
          EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(c.caption));
          const ui::DialogTemplate& settings = *ui::FindDialogTemplate(IDD_SETTINGS);
          for (const ui::ControlTemplate& control : settings.controls) {
            if (control.id == -1) continue;
            QWidget* widget = Control(dialog, control.id);
            ASSERT_NE(widget, nullptr) << control.id;
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
              EXPECT_EQ(button->text(), Text(control.text)) << control.id;
            }
          }
          EXPECT_TRUE(Control<QAbstractButton>(dialog, IDC_ROTATE)->isChecked());
          Control<QAbstractButton>(dialog, IDC_ROTATE)->click();
          Control<QLineEdit>(dialog, IDC_ARRANGE_WIDTH)->setText("12.5");
          Press(Control(dialog, IDC_COLOR_SWATCH));  // the colour picker, as the next dialog
          if (c.ok) {
            Control<QAbstractButton>(dialog, ui::IDOK)->click();
          } else {
            dialog.reject();
          }
        },
        [&](QDialog& picker) {
          EXPECT_EQ(picker.windowTitle(), Text(ui::FindDialogTemplate(IDD_COLOR_PICKER)->caption));
          Press(Control(picker, IDC_COLOR_05));
          Control<QAbstractButton>(picker, ui::IDOK)->click();
        },
    });
    RunEntry(doc, nullptr, Entry::kSettings, line);
    EXPECT_EQ(steps.shown(), 2);
    const std::string stored = StoredSettings(folder_);
    EXPECT_NE(stored.find(std::string("\"mIsRotate\"=\"") + c.rotate + "\""), std::string::npos);
    EXPECT_NE(stored.find(std::string("\"m_ColorMain\"=\"") + c.color + "\""), std::string::npos);
    EXPECT_NE(stored.find(std::string("\"mArrangeWidth\"=\"") + c.width + "\""), std::string::npos)
        << stored;
    EXPECT_TRUE(doc.Present().empty()) << "the dialog draws nothing";
  }
}

TEST_F(LibreCadTest, SurveyListsTheFamiliesShowsTheOneChosenAndHandsItToTheCommand) {
  WriteSettings({{"mIsRotate", "1"}, {"mIsSymmetry", "1"}, {"mFigure", "0"}, {"mIsArrange", "0"}});
  FakeDocument doc;
  CapturedLine line;
  AddBracket(doc, 0, 0, 0);
  AddBracket(doc, 100, 0, 90);
  AddBracket(doc, 200, 0, 0, true);
  for (int i = 0; i < 2; ++i) doc.AddCircleAt(300 + 50 * i, 100, 10, QStringLiteral("PARTS"));
  int shownInDrawing = -1;
  DialogSteps steps({[&](QDialog& survey) {
    auto* families = survey.findChild<QListWidget*>("families");
    ASSERT_NE(families, nullptr);
    ASSERT_EQ(families->count(), 2);  // the brackets, the circles
    EXPECT_TRUE(families->item(0)->text().contains(QString::fromUtf8("3개 부품, 대칭 1개")))
        << families->item(0)->text().toStdString();
    families->setCurrentRow(0);
    int highlighted = 0;
    for (const FakeEntity* e : doc.Present())
      highlighted += e->data.value(DPI::COLOR).toInt() == kHighlightRgb;
    shownInDrawing = highlighted;
    survey.findChild<QPushButton*>("find")->click();
  }});
  doc.points = {std::nullopt};  // the twins confirmed; then nothing more: the command ends
  RunEntry(doc, nullptr, Entry::kSurvey, line);
  EXPECT_EQ(steps.shown(), 1);
  EXPECT_EQ(shownInDrawing, 9);  // the three brackets' outlines and holes
  EXPECT_TRUE(line.Has(QString::fromUtf8("총 3개의 동일한 부품을 발견하였습니다.")))
      << line.lines.join("\n").toStdString();
  // The first prompt the user sees is the confirmation: the range and the part were handed on.
  ASSERT_FALSE(doc.prompts.empty());
  EXPECT_TRUE(doc.prompts.front().contains(QString::fromUtf8("형상확인")))
      << doc.prompts.front().toStdString();
  for (const FakeEntity* e : doc.Present())
    EXPECT_NE(e->data.value(DPI::COLOR).toInt(), kHighlightRgb) << "the showing is taken away";
}

}  // namespace
}  // namespace twinfind::librecad::testing
