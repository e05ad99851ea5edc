#include "ui/headless/headless_window.h"

#include <algorithm>

#include "settings/ascii_case.h"

namespace twinfind::ui::headless {

int HeadlessDialogWindow::AddString(int id, std::u16string_view text) {
  HeadlessControl* c = List(id);
  if (c == nullptr) return CB_ERR;
  auto at = c->entries.end();
  if ((c->source->style & kSorted) != 0) {
    at = std::upper_bound(c->entries.begin(), c->entries.end(), text,
                          [](std::u16string_view a, const std::u16string& b) {
                            return std::lexicographical_compare(
                                a.begin(), a.end(), b.begin(), b.end(), [](char16_t x, char16_t y) {
                                  return AsciiLower(x) < AsciiLower(y);
                                });
                          });
  }
  const int index = static_cast<int>(at - c->entries.begin());
  c->entries.insert(at, std::u16string(text));
  if (c->curSel >= index) ++c->curSel;  // the selected entry stays selected
  return index;
}

std::unique_ptr<Bitmap> HeadlessDialogWindow::SetImage(int id, std::unique_ptr<Bitmap> image) {
  HeadlessControl* c = Find(id);
  if (c == nullptr || c->kind() != ControlKind::kStaticBitmap) return image;
  if (image) {
    // A bitmap control takes the size of its bitmap, keeping its top left corner.
    c->window.right = c->window.left + image->width + 2 * c->edge();
    c->window.bottom = c->window.top + image->height + 2 * c->edge();
  }
  Invalidate(true);
  return std::exchange(c->image, std::move(image));
}

void HeadlessDialogWindow::PaintIfNeeded() {
  if (!dirty_) return;
  dirty_ = false;
  lastPaintErased_ = erase_;
  ++paintCount_;
  paint_.clear();
  RecordingPaintContext dc(paint_);
  dialog_.Paint(dc);  // the dialog first, then its controls over it
  for (HeadlessControl& c : controls_) {
    c.paint.clear();
    if (c.source->id == -1) continue;
    RecordingPaintContext controlDc(c.paint);
    c.ownerPainted = dialog_.PaintControl(c.source->id, controlDc);
  }
}

DialogSnapshot HeadlessDialogWindow::Snapshot() const {
  DialogSnapshot s;
  s.source = &source_;
  s.clientWidth = DialogUnitsToPixelsX(source_.width);
  s.clientHeight = DialogUnitsToPixelsY(source_.height);
  for (const HeadlessControl& c : controls_) {
    ControlSnapshot cs;
    cs.source = c.source;
    cs.id = c.source->id;
    cs.kind = c.kind();
    cs.window = c.window;
    cs.client = {c.window.left + c.edge(), c.window.top + c.edge(), c.window.right - c.edge(),
                 c.window.bottom - c.edge()};
    cs.text = c.text;
    cs.check = c.check;
    cs.entries = c.entries;
    cs.curSel = c.curSel;
    if (c.image) cs.image = *c.image;
    cs.ownerPainted = c.ownerPainted;
    cs.paint = c.paint;
    s.controls.push_back(std::move(cs));
  }
  s.paint = paint_;
  s.paintCount = paintCount_;
  s.lastPaintErased = lastPaintErased_;
  s.focusId = focusId_;
  return s;
}

void HeadlessDialogWindow::Click(HeadlessControl& c) {
  const int id = c.source->id;
  switch (c.kind()) {
    case ControlKind::kPushButton:
      focusId_ = id;
      dialog_.Command(id, BN_CLICKED);
      break;
    case ControlKind::kCheckBox:
      focusId_ = id;
      c.check = c.check != 0 ? 0 : 1;
      dialog_.Command(id, BN_CLICKED);
      break;
    case ControlKind::kRadioButton: {
      focusId_ = id;
      // The group runs from the last control that starts one to the next that does.
      const size_t at = static_cast<size_t>(&c - controls_.data());
      size_t first = at;
      while (first > 0 && (controls_[first].source->style & kGroupStart) == 0) --first;
      for (size_t i = first; i < controls_.size(); ++i) {
        if (i > first && (controls_[i].source->style & kGroupStart) != 0) break;
        if (controls_[i].kind() == ControlKind::kRadioButton) controls_[i].check = i == at;
      }
      dialog_.Command(id, BN_CLICKED);
      break;
    }
    case ControlKind::kEdit:
    case ControlKind::kDropList:
      focusId_ = id;
      break;
    case ControlKind::kStaticRect:
    case ControlKind::kStaticBitmap:
      if ((c.source->style & kNotify) != 0) dialog_.Command(id, STN_CLICKED);
      break;
    case ControlKind::kGroupBox:
    case ControlKind::kLabel:
      break;
  }
}

void HeadlessDialogWindow::DoubleClick(HeadlessControl& c) {
  // The first click of a double-click is a click; what the second one sends depends on the kind.
  Click(c);
  if (result_) return;
  const bool notifies = (c.source->style & kNotify) != 0;
  if (c.kind() == ControlKind::kStaticRect || c.kind() == ControlKind::kStaticBitmap) {
    if (notifies) dialog_.Command(c.source->id, STN_DBLCLK);
  } else if (c.kind() == ControlKind::kRadioButton) {
    dialog_.Command(c.source->id, BN_DOUBLECLICKED);
  } else if (c.kind() == ControlKind::kCheckBox || c.kind() == ControlKind::kPushButton) {
    Click(c);
  }
}

void HeadlessDialogWindow::PressKey(int key) {
  if (dialog_.KeyDown(key)) return;
  // The dialog did not take it: the window system's own keys of a dialog.
  HeadlessControl* focused = Find(focusId_);
  if (key == VK_RETURN) {
    const bool onButton = focused != nullptr && focused->kind() == ControlKind::kPushButton;
    dialog_.Command(onButton ? focusId_ : IDOK, BN_CLICKED);
  } else if (key == VK_ESCAPE) {
    dialog_.Command(IDCANCEL, BN_CLICKED);
  } else if (key == VK_SPACE && focused != nullptr && focused->IsButton()) {
    Click(*focused);
  }
}

}  // namespace twinfind::ui::headless
