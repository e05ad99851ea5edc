// The headless backend: dialogs without a window system. The controls live in memory
// (headless_window.h); the dialog shows itself as text lines through the host (VexDlgShowText)
// and takes the user's actions as lines (VexDlgReadAction) until it ends.
#include <algorithm>
#include <optional>
#include <string>

#include "ui/headless/dialog_picture.h"
#include "ui/headless/dialog_text.h"
#include "ui/headless/headless_window.h"
#include "ui/headless/text_mode_backend.h"
#include "vexlib/vexlib.h"

namespace twinfind::ui {
namespace {

DialogObserver& Observer() {
  static DialogObserver observer;
  return observer;
}

int& ModuleStateDepth() {
  static int depth = 0;
  return depth;
}

constexpr int kActionCapacity = 4096;  // the longest action line, with its terminator

std::u16string Say(std::u16string_view caption, std::u16string_view what) {
  return u"== " + std::u16string(caption) + u" " + std::u16string(what) + u" ==";
}

void Show(std::u16string_view line) { VexDlgShowText(std::u16string(line).c_str()); }

}  // namespace

namespace headless {

std::optional<std::u16string> HeadlessDialogWindow::Apply(const DialogAction& action) {
  using Verb = DialogAction::Verb;
  const bool needsControl = action.verb == Verb::kClick || action.verb == Verb::kDoubleClick ||
                            action.verb == Verb::kText || action.verb == Verb::kSelect;
  HeadlessControl* c = needsControl ? Find(action.id) : nullptr;
  if (needsControl && c == nullptr) {
    const std::string id = std::to_string(action.id);
    return u"this dialog has no control " + std::u16string(id.begin(), id.end());
  }
  switch (action.verb) {
    case Verb::kClick:
      Click(*c);
      break;
    case Verb::kDoubleClick:
      DoubleClick(*c);
      break;
    case Verb::kText:
      if (c->kind() != ControlKind::kEdit) return u"only an edit box takes a text";
      if (action.text.size() > c->textLimit) {
        const std::string limit = std::to_string(c->textLimit);
        return u"the edit box takes at most " + std::u16string(limit.begin(), limit.end()) +
               u" characters";
      }
      if (std::any_of(action.text.begin(), action.text.end(),
                      [](char16_t ch) { return ch < 0x20; })) {
        return u"a text cannot hold control characters";
      }
      c->text = action.text;
      focusId_ = action.id;
      break;
    case Verb::kSelect:
      if (c->kind() != ControlKind::kDropList) return u"only a list has entries to select";
      if (action.number < 0 || static_cast<size_t>(action.number) >= c->entries.size()) {
        return u"the list has no entry with that index (the first is 0)";
      }
      focusId_ = action.id;
      c->curSel = action.number;
      dialog_.Command(action.id, CBN_SELCHANGE);
      break;
    case Verb::kKey:
      PressKey(action.number);
      break;
    case Verb::kOk:
      dialog_.Command(IDOK, BN_CLICKED);
      break;
    case Verb::kCancel:
      dialog_.Command(IDCANCEL, BN_CLICKED);
      break;
    case Verb::kPicture: {
      PaintIfNeeded();
      const PictureResult written = WriteDialogPicture(Snapshot(), action.text);
      if (!written.ok) return written.message;
      Show(written.message);
      break;
    }
  }
  return std::nullopt;
}

int HeadlessDialogWindow::RunModal() {
  if (dialog_.InitDialog()) {
    const auto tabStop =
        std::find_if(controls_.begin(), controls_.end(),
                     [](const HeadlessControl& c) { return (c.source->style & kTabStop) != 0; });
    if (tabStop != controls_.end()) focusId_ = tabStop->source->id;
  }
  DialogText shown;
  if (!result_) {
    PaintIfNeeded();
    shown = DescribeDialog(Snapshot());
    for (const std::u16string& line : AllLines(shown)) Show(line);
    Show(u"actions: " + std::u16string(kDialogActionsHelp));
    if (Observer()) Observer()(Snapshot());
  }
  std::u16string buffer(kActionCapacity, u'\0');
  while (!result_) {
    const int length = VexDlgReadAction(buffer.data(), kActionCapacity);
    if (length < 0) {
      // No action will come: the dialog is closed as with its close box.
      Show(Say(source_.caption, u"has no more actions and closes as cancelled"));
      dialog_.Command(IDCANCEL, BN_CLICKED);
      EndModal(IDCANCEL);
      break;
    }
    const std::u16string_view line(buffer.data(), static_cast<size_t>(length));
    std::optional<std::u16string> refusal;
    const ParsedAction parsed = ParseDialogAction(line);
    if (length >= kActionCapacity - 1) {
      refusal = u"the action is too long";
    } else if (!parsed.action) {
      refusal = parsed.error;
    } else {
      refusal = Apply(*parsed.action);
    }
    if (refusal) {
      Show(u"refused \"" + std::u16string(line.substr(0, 80)) + u"\": " + *refusal);
      continue;
    }
    if (result_) break;
    PaintIfNeeded();
    const DialogText now = DescribeDialog(Snapshot());
    for (const std::u16string& changed : ChangedLines(shown, now)) Show(changed);
    shown = now;
    if (Observer()) Observer()(Snapshot());
  }
  Show(Say(source_.caption, *result_ == IDOK       ? u"closed with OK"
                            : *result_ == IDCANCEL ? u"closed, cancelled"
                                                   : u"closed"));
  return *result_;
}

}  // namespace headless

std::unique_ptr<DialogWindow> CreateDialogWindow(Dialog& dialog, const DialogTemplate& source,
                                                 DialogWindow* /*parent*/) {
  return std::make_unique<headless::HeadlessDialogWindow>(dialog, source);
}

void SetHeadlessDialogObserver(DialogObserver observer) { Observer() = std::move(observer); }

ScopedModuleState::ScopedModuleState() { ++ModuleStateDepth(); }
ScopedModuleState::~ScopedModuleState() { --ModuleStateDepth(); }
bool PluginModuleIsCurrent() { return ModuleStateDepth() > 0; }

}  // namespace twinfind::ui
