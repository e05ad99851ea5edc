#include "ui/qt/qt_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <vector>

#include "settings/ascii_case.h"
#include "ui/qt/qt_paint.h"

namespace twinfind::ui::qt {
namespace {

QWidget*& Owner() {
  static QWidget* owner = nullptr;
  return owner;
}

std::function<void(QDialog&)>& ShownHook() {
  static std::function<void(QDialog&)> hook;
  return hook;
}

QString QStringOf(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<int>(text.size()));
}

std::u16string U16Of(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

// A button's & marks its mnemonic in Windows and in Qt alike. A label's & marks one too, which
// Qt's plain label would show: it is taken out.
QString LabelText(std::u16string_view text) {
  QString shown = QStringOf(text);
  shown.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  shown.remove(QLatin1Char('&'));
  shown.replace(QLatin1Char('\x01'), QLatin1Char('&'));
  return shown;
}

QRect PixelsOf(const DialogUnitRect& r) {
  const int left = DialogUnitsToPixelsX(r.x);
  const int top = DialogUnitsToPixelsY(r.y);
  return QRect(left, top, DialogUnitsToPixelsX(r.x + r.w) - left,
               DialogUnitsToPixelsY(r.y + r.h) - top);
}

QImage ImageOf(const Bitmap& bitmap) {
  QImage image(bitmap.width, bitmap.height, QImage::Format_RGB888);
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      const Color c = bitmap.pixels[static_cast<size_t>(y) * bitmap.width + x];
      image.setPixel(x, y, qRgb(c.r, c.g, c.b));
    }
  }
  return image;
}

int VirtualKeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Space:
      return VK_SPACE;
    default:
      return qtKey;
  }
}

// The dialog's window: its own painting, and its close box and Escape as Cancel.
class DialogFrame : public QDialog {
 public:
  DialogFrame(QtDialogWindow& window, QWidget* owner) : QDialog(owner), window_(window) {}

  void reject() override { window_.dialog().Command(IDCANCEL, BN_CLICKED); }
  void accept() override { window_.dialog().Command(IDOK, BN_CLICKED); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QtPaintContext dc(painter);
    window_.dialog().Paint(dc);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
        if (window_.Key(key->key())) return true;
      }
    }
    return QDialog::eventFilter(watched, event);
  }

 private:
  QtDialogWindow& window_;
};

// A static control: a white rectangle or a bitmap, painted by the dialog's bound control when
// it has one, reporting clicks when it has the notify style.
class StaticControl : public QFrame {
 public:
  StaticControl(QtDialogWindow& window, const ControlTemplate& source, QWidget* parent)
      : QFrame(parent), window_(window), source_(source) {
    if ((source.style & kSunken) != 0) {
      setFrameShape(QFrame::Panel);
      setFrameShadow(QFrame::Sunken);
      setLineWidth(1);
    } else if ((source.style & kBorder) != 0) {
      setFrameShape(QFrame::Box);
      setFrameShadow(QFrame::Plain);
      setLineWidth(1);
    }
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.translate(contentsRect().topLeft());
    QtPaintContext dc(painter);
    if (window_.dialog().PaintControl(source_.id, dc)) return;
    if (const Bitmap* image = window_.Image(source_.id)) {
      painter.drawImage(0, 0, ImageOf(*image));
    } else if (source_.kind == ControlKind::kStaticRect) {
      painter.fillRect(QRect(QPoint(0, 0), contentsRect().size()), Qt::white);
    }
  }
  void mousePressEvent(QMouseEvent*) override {
    if ((source_.style & kNotify) != 0) window_.dialog().Command(source_.id, STN_CLICKED);
  }
  void mouseDoubleClickEvent(QMouseEvent*) override {
    if ((source_.style & kNotify) != 0) window_.dialog().Command(source_.id, STN_DBLCLK);
  }

 private:
  QtDialogWindow& window_;
  const ControlTemplate& source_;
};

}  // namespace

QString ControlName(int id) { return QString::number(id); }

void SetDialogOwner(QWidget* owner) { Owner() = owner; }

void SetDialogShownHook(std::function<void(QDialog&)> hook) { ShownHook() = std::move(hook); }

void NotifyDialogShown(QDialog& dialog) {
  if (ShownHook()) ShownHook()(dialog);
}

QtDialogWindow::QtDialogWindow(Dialog& dialog, const DialogTemplate& source, QWidget* owner)
    : dialog_(dialog), source_(source), owner_(owner) {}

QtDialogWindow::~QtDialogWindow() = default;

void QtDialogWindow::CreateControls() {
  auto* frame = new DialogFrame(*this, owner_);
  frame_.reset(frame);
  frame->setWindowTitle(QStringOf(source_.caption));
  // The templates are laid out for a font whose average character is 6 pixels wide and 13
  // high: the dialog's font is made that size, so that every text fits its control.
  QFont font = frame->font();
  font.setPixelSize(11);
  frame->setFont(font);
  frame->setFixedSize(DialogUnitsToPixelsX(source_.width), DialogUnitsToPixelsY(source_.height));
  frame->installEventFilter(frame);
  QButtonGroup* radios = nullptr;  // the radio group being filled
  for (const ControlTemplate& c : source_.controls) {
    QWidget* widget = nullptr;
    const bool startsGroup = (c.style & kGroupStart) != 0;
    if (startsGroup) radios = nullptr;
    switch (c.kind) {
      case ControlKind::kGroupBox:
        widget = new QGroupBox(LabelText(c.text), frame);
        break;
      case ControlKind::kLabel:
        widget = new QLabel(LabelText(c.text), frame);
        break;
      case ControlKind::kPushButton: {
        auto* button = new QPushButton(QStringOf(c.text), frame);
        button->setAutoDefault(false);
        widget = button;
        break;
      }
      case ControlKind::kCheckBox:
        widget = new QCheckBox(QStringOf(c.text), frame);
        break;
      case ControlKind::kRadioButton: {
        auto* radio = new QRadioButton(QStringOf(c.text), frame);
        if (radios == nullptr) radios = new QButtonGroup(frame);
        radios->addButton(radio);
        widget = radio;
        break;
      }
      case ControlKind::kEdit:
        widget = new QLineEdit(frame);
        break;
      case ControlKind::kDropList: {
        auto* list = new QComboBox(frame);
        const int id = c.id;
        QObject::connect(list, QOverload<int>::of(&QComboBox::activated), frame,
                         [this, id](int) { dialog_.Command(id, CBN_SELCHANGE); });
        widget = list;
        break;
      }
      case ControlKind::kStaticRect:
      case ControlKind::kStaticBitmap:
        widget = new StaticControl(*this, c, frame);
        break;
    }
    // A click on any button (after a check box or radio button took it) is BN_CLICKED.
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      const int id = c.id;
      QObject::connect(button, &QAbstractButton::clicked, frame,
                       [this, id]() { dialog_.Command(id, BN_CLICKED); });
    }
    QRect place = PixelsOf(c.rect);
    // A drop-down list's template height is that of its open list; its closed box is one line.
    if (c.kind == ControlKind::kDropList) place.setHeight(widget->sizeHint().height());
    widget->setGeometry(place);
    widget->setFocusPolicy((c.style & kTabStop) != 0 ? Qt::StrongFocus : Qt::NoFocus);
    widget->installEventFilter(frame);
    if (c.id != -1) {
      widget->setObjectName(ControlName(c.id));
      controls_[c.id] = Control{&c, widget, nullptr};
    }
  }
}

int QtDialogWindow::RunModal() {
  CreateControls();
  const bool focusFirst = dialog_.InitDialog();
  if (!result_) {
    if (focusFirst) {
      for (const ControlTemplate& c : source_.controls) {
        if ((c.style & kTabStop) == 0 || c.id == -1) continue;
        if (QWidget* w = Widget(c.id)) {
          w->setFocus();
          break;
        }
      }
    }
    frame_->setModal(true);
    frame_->show();
    NotifyDialogShown(*frame_);
    // The dialog's own loop ends with done() from EndModal; nothing else ends it.
    while (!result_ && frame_->isVisible())
      QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  frame_->hide();
  const int result = result_.value_or(IDCANCEL);
  controls_.clear();
  frame_.reset();
  return result;
}

void QtDialogWindow::EndModal(int result) {
  if (result_) return;
  result_ = result;
  if (frame_) frame_->hide();
}

bool QtDialogWindow::Key(int qtKey) {
  const int key = VirtualKeyOf(qtKey);
  if (dialog_.KeyDown(key)) return true;
  QWidget* focused = QApplication::focusWidget();
  if (key == VK_RETURN) {
    int id = IDOK;
    for (const auto& [controlId, control] : controls_) {
      if (control.widget == focused && control.source->kind == ControlKind::kPushButton)
        id = controlId;
    }
    dialog_.Command(id, BN_CLICKED);
    return true;
  }
  if (key == VK_ESCAPE) {
    dialog_.Command(IDCANCEL, BN_CLICKED);
    return true;
  }
  return false;
}

const QtDialogWindow::Control* QtDialogWindow::Find(int id) const {
  if (id == -1) return nullptr;
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : &found->second;
}

QWidget* QtDialogWindow::Widget(int id) const {
  const Control* c = Find(id);
  return c != nullptr ? c->widget : nullptr;
}

bool QtDialogWindow::IsKind(int id, ControlKind kind) const {
  const Control* c = Find(id);
  return c != nullptr && c->source->kind == kind;
}

const Bitmap* QtDialogWindow::Image(int id) const {
  const Control* c = Find(id);
  return c != nullptr ? c->image.get() : nullptr;
}

std::u16string QtDialogWindow::GetText(int id) const {
  QWidget* w = Widget(id);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return U16Of(edit->text());
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return U16Of(button->text());
  if (auto* label = qobject_cast<QLabel*>(w)) return U16Of(label->text());
  if (auto* list = qobject_cast<QComboBox*>(w)) return U16Of(list->currentText());
  if (auto* group = qobject_cast<QGroupBox*>(w)) return U16Of(group->title());
  return {};
}

void QtDialogWindow::SetText(int id, std::u16string_view text) {
  QWidget* w = Widget(id);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(QStringOf(text));
  if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(QStringOf(text));
  if (auto* label = qobject_cast<QLabel*>(w)) label->setText(LabelText(text));
  if (auto* group = qobject_cast<QGroupBox*>(w)) group->setTitle(LabelText(text));
}

void QtDialogWindow::SetTextLimit(int id, size_t maxChars) {
  if (auto* edit = qobject_cast<QLineEdit*>(Widget(id)))
    edit->setMaxLength(static_cast<int>(std::min<size_t>(maxChars, 32767)));
}

int QtDialogWindow::GetCheck(int id) const {
  const Control* c = Find(id);
  if (c == nullptr) return 0;
  if (c->source->kind != ControlKind::kCheckBox && c->source->kind != ControlKind::kRadioButton)
    return 0;
  return static_cast<QAbstractButton*>(c->widget)->isChecked() ? 1 : 0;
}

void QtDialogWindow::SetCheck(int id, int check) {
  if (!IsKind(id, ControlKind::kCheckBox) && !IsKind(id, ControlKind::kRadioButton)) return;
  auto* button = static_cast<QAbstractButton*>(Widget(id));
  // An exclusive group keeps one button checked; the dialog may clear them all, as Windows lets
  // it.
  QButtonGroup* group = button->group();
  if (group != nullptr) group->setExclusive(false);
  button->setChecked(check != 0);
  if (group != nullptr) group->setExclusive(true);
}

int QtDialogWindow::AddString(int id, std::u16string_view text) {
  if (!IsKind(id, ControlKind::kDropList)) return CB_ERR;
  auto* list = static_cast<QComboBox*>(Widget(id));
  int at = list->count();
  if ((Find(id)->source->style & kSorted) != 0) {
    // Sorted as the Windows list sorts: without regard to ASCII case, after equal entries.
    const auto lower = [](char16_t c) { return AsciiLower(c); };
    at = 0;
    while (at < list->count()) {
      const std::u16string entry = U16Of(list->itemText(at));
      const bool before =
          std::lexicographical_compare(text.begin(), text.end(), entry.begin(), entry.end(),
                                       [&](char16_t x, char16_t y) { return lower(x) < lower(y); });
      if (before) break;
      ++at;
    }
  }
  const int selected = list->currentIndex();
  list->insertItem(at, QStringOf(text));
  if (selected == -1) list->setCurrentIndex(-1);  // inserting selects nothing new
  return at;
}

int QtDialogWindow::SetCurSel(int id, int index) {
  if (!IsKind(id, ControlKind::kDropList)) return CB_ERR;
  auto* list = static_cast<QComboBox*>(Widget(id));
  if (index < 0 || index >= list->count()) {
    list->setCurrentIndex(-1);
    return CB_ERR;
  }
  list->setCurrentIndex(index);
  return index;
}

int QtDialogWindow::GetCurSel(int id) const {
  if (!IsKind(id, ControlKind::kDropList)) return CB_ERR;
  const int index = static_cast<QComboBox*>(Widget(id))->currentIndex();
  return index < 0 ? CB_ERR : index;
}

std::unique_ptr<Bitmap> QtDialogWindow::SetImage(int id, std::unique_ptr<Bitmap> image) {
  if (!IsKind(id, ControlKind::kStaticBitmap)) return image;
  Control& c = controls_[id];
  if (image) {
    // A bitmap control takes the size of its bitmap, keeping its top left corner.
    auto* frame = static_cast<QFrame*>(c.widget);
    const int edge = frame->frameWidth();
    c.widget->resize(image->width + 2 * edge, image->height + 2 * edge);
  }
  c.widget->update();
  return std::exchange(c.image, std::move(image));
}

PixelRect QtDialogWindow::GetWindowRect(int id) const {
  QWidget* w = Widget(id);
  if (w == nullptr) return {};
  const QRect g = w->geometry();
  return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

PixelRect QtDialogWindow::GetClientRect(int id) const {
  QWidget* w = Widget(id);
  if (w == nullptr) return {};
  const QRect inside = w->contentsRect();
  return {0, 0, inside.width(), inside.height()};
}

void QtDialogWindow::Invalidate(bool /*erase*/) {
  if (!frame_) return;
  frame_->update();
  for (const auto& [id, control] : controls_) control.widget->update();
}

}  // namespace twinfind::ui::qt

namespace twinfind::ui {

std::unique_ptr<DialogWindow> CreateDialogWindow(Dialog& dialog, const DialogTemplate& source,
                                                 DialogWindow* parent) {
  QWidget* owner =
      parent != nullptr ? static_cast<qt::QtDialogWindow*>(parent)->frame() : qt::Owner();
  if (owner == nullptr) owner = QApplication::activeWindow();
  return std::make_unique<qt::QtDialogWindow>(dialog, source, owner);
}

namespace {
int& ModuleStateDepth() {
  static int depth = 0;
  return depth;
}
}  // namespace

// A Qt plug-in's dialogs are built from the templates compiled into it: there is no module
// state to switch, only the scopes to count.
ScopedModuleState::ScopedModuleState() { ++ModuleStateDepth(); }
ScopedModuleState::~ScopedModuleState() { --ModuleStateDepth(); }
bool PluginModuleIsCurrent() { return ModuleStateDepth() > 0; }

}  // namespace twinfind::ui
