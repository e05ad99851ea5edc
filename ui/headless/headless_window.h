// The headless backend's window of one dialog: its controls held in memory with the state a
// window system keeps for them, what a click, a double-click or a key does to them, the paints
// it records, and snapshots of it all. text_mode_backend.cpp runs it as a text-mode dialog.
#ifndef UI_HEADLESS_HEADLESS_WINDOW_H
#define UI_HEADLESS_HEADLESS_WINDOW_H

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/dialog.h"
#include "ui/dialog_window.h"
#include "ui/headless/dialog_action.h"
#include "ui/headless/dialog_snapshot.h"

namespace twinfind::ui::headless {

inline constexpr size_t kDefaultTextLimit = 32767;  // an edit box's limit until one is set

// A paint context that writes down what is drawn. A fresh context has a black pen of one
// pixel, the white brush and a white background, as a window system's does.
class RecordingPaintContext final : public PaintContext {
 public:
  explicit RecordingPaintContext(std::vector<PaintOp>& log) : log_(log) {}
  void FillSolidRect(const PixelRect& rect, Color color) override {
    log_.push_back({PaintOp::Kind::kFill, rect, color, 0, false});
  }
  Pen SelectObject(const Pen& pen) override { return std::exchange(pen_, pen); }
  StockBrush SelectStockObject(StockBrush brush) override { return std::exchange(brush_, brush); }
  void Rectangle(const PixelRect& rect) override {
    log_.push_back(
        {PaintOp::Kind::kRectangle, rect, pen_.color, pen_.width, brush_ == StockBrush::kNull});
  }
  Color GetBkColor() const override { return kWhite; }

 private:
  std::vector<PaintOp>& log_;
  Pen pen_;
  StockBrush brush_ = StockBrush::kWhite;
};

struct HeadlessControl {
  const ControlTemplate* source = nullptr;
  PixelRect window;
  std::u16string text;
  size_t textLimit = kDefaultTextLimit;
  int check = 0;
  std::vector<std::u16string> entries;
  int curSel = CB_ERR;
  std::unique_ptr<Bitmap> image;
  bool ownerPainted = false;
  std::vector<PaintOp> paint;

  ControlKind kind() const { return source->kind; }
  // Bordered and sunken controls have a one-pixel edge around their client area.
  int edge() const { return (source->style & (kBorder | kSunken)) != 0 ? 1 : 0; }
  bool IsButton() const {
    return kind() == ControlKind::kPushButton || kind() == ControlKind::kCheckBox ||
           kind() == ControlKind::kRadioButton;
  }
};

class HeadlessDialogWindow final : public DialogWindow {
 public:
  HeadlessDialogWindow(Dialog& dialog, const DialogTemplate& source)
      : dialog_(dialog), source_(source) {
    for (const ControlTemplate& t : source.controls) {
      HeadlessControl c;
      c.source = &t;
      c.text = t.text;
      c.window = {DialogUnitsToPixelsX(t.rect.x), DialogUnitsToPixelsY(t.rect.y),
                  DialogUnitsToPixelsX(t.rect.x + t.rect.w),
                  DialogUnitsToPixelsY(t.rect.y + t.rect.h)};
      controls_.push_back(std::move(c));
    }
  }

  int RunModal() override;
  void EndModal(int result) override {
    if (!result_) result_ = result;
  }

  bool HasControl(int id) const override { return Find(id) != nullptr; }
  std::u16string GetText(int id) const override {
    const HeadlessControl* c = Find(id);
    return c != nullptr ? c->text : std::u16string();
  }
  void SetText(int id, std::u16string_view text) override {
    if (HeadlessControl* c = Find(id)) c->text = text;
  }
  void SetTextLimit(int id, size_t maxChars) override {
    if (HeadlessControl* c = Find(id)) c->textLimit = maxChars;
  }
  int GetCheck(int id) const override {
    const HeadlessControl* c = Find(id);
    return c != nullptr ? c->check : 0;
  }
  void SetCheck(int id, int check) override {
    if (HeadlessControl* c = Find(id); c != nullptr && c->IsButton()) c->check = check != 0;
  }
  int AddString(int id, std::u16string_view text) override;
  int SetCurSel(int id, int index) override {
    HeadlessControl* c = List(id);
    if (c == nullptr) return CB_ERR;
    const bool inside = index >= 0 && static_cast<size_t>(index) < c->entries.size();
    c->curSel = inside ? index : CB_ERR;
    return c->curSel;
  }
  int GetCurSel(int id) const override {
    const HeadlessControl* c = Find(id);
    return c != nullptr && c->kind() == ControlKind::kDropList ? c->curSel : CB_ERR;
  }
  std::unique_ptr<Bitmap> SetImage(int id, std::unique_ptr<Bitmap> image) override;
  PixelRect GetWindowRect(int id) const override {
    const HeadlessControl* c = Find(id);
    return c != nullptr ? c->window : PixelRect{};
  }
  PixelRect GetClientRect(int id) const override {
    const HeadlessControl* c = Find(id);
    if (c == nullptr) return {};
    return {0, 0, c->window.Width() - 2 * c->edge(), c->window.Height() - 2 * c->edge()};
  }
  void Invalidate(bool erase) override {
    erase_ = (dirty_ && erase_) || erase;  // a pending erase is not forgotten
    dirty_ = true;
  }

 private:
  HeadlessControl* Find(int id) {
    return const_cast<HeadlessControl*>(std::as_const(*this).Find(id));
  }
  const HeadlessControl* Find(int id) const {
    if (id == -1) return nullptr;  // labels and group boxes cannot be reached
    for (const HeadlessControl& c : controls_) {
      if (c.source->id == id) return &c;
    }
    return nullptr;
  }
  HeadlessControl* List(int id) {
    HeadlessControl* c = Find(id);
    return c != nullptr && c->kind() == ControlKind::kDropList ? c : nullptr;
  }

  void PaintIfNeeded();
  DialogSnapshot Snapshot() const;
  void Click(HeadlessControl& c);
  void DoubleClick(HeadlessControl& c);
  void PressKey(int key);
  // Carries out one action; the reason when it cannot be carried out.
  std::optional<std::u16string> Apply(const DialogAction& action);

  Dialog& dialog_;
  const DialogTemplate& source_;
  std::vector<HeadlessControl> controls_;
  std::optional<int> result_;
  int focusId_ = -1;
  bool dirty_ = true;  // the first showing paints everything
  bool erase_ = true;
  int paintCount_ = 0;
  bool lastPaintErased_ = false;
  std::vector<PaintOp> paint_;
};

}  // namespace twinfind::ui::headless

#endif  // UI_HEADLESS_HEADLESS_WINDOW_H
