#include "ui/dialog.h"

#include <algorithm>

namespace twinfind::ui {

Dialog::Dialog(int templateId, Dialog* parent) : templateId_(templateId), parent_(parent) {}

Dialog::~Dialog() = default;

int Dialog::DoModal() {
  const DialogTemplate* source = FindDialogTemplate(templateId_);
  if (source == nullptr || window_ != nullptr) return -1;
  // Whatever way the run ends, the window goes and the control objects are free again.
  struct CloseWindow {
    Dialog& dialog;
    ~CloseWindow() {
      dialog.window_.reset();
      for (auto& [id, control] : dialog.bound_) control->dialog_ = nullptr;
      dialog.bound_.clear();
    }
  } close{*this};
  window_ = CreateDialogWindow(*this, *source, parent_ != nullptr ? parent_->Window() : nullptr);
  return window_->RunModal();
}

void Dialog::EndDialog(int result) {
  if (window_) window_->EndModal(result);
}

bool Dialog::UpdateData(bool saveAndValidate) {
  DataExchange dx(*this, saveAndValidate);
  DoDataExchange(dx);
  return true;
}

void Dialog::Invalidate(bool erase) {
  if (window_) window_->Invalidate(erase);
}

bool Dialog::HasDlgItem(int id) const { return window_ && window_->HasControl(id); }

void Dialog::CheckRadioButton(int firstId, int lastId, int checkId) {
  for (int id = firstId; id <= lastId; ++id) CheckDlgButton(id, id == checkId ? 1 : 0);
}

void Dialog::CheckDlgButton(int id, int check) {
  if (window_) window_->SetCheck(id, check);
}

int Dialog::IsDlgButtonChecked(int id) const { return window_ ? window_->GetCheck(id) : 0; }

void Dialog::SetDlgItemText(int id, std::u16string_view text) {
  if (window_) window_->SetText(id, text);
}

std::u16string Dialog::GetDlgItemText(int id) const {
  return window_ ? window_->GetText(id) : std::u16string();
}

void Dialog::LimitDlgItemText(int id, size_t maxChars) {
  if (window_) window_->SetTextLimit(id, maxChars);
}

int Dialog::ComboAddString(int id, std::u16string_view text) {
  return window_ ? window_->AddString(id, text) : CB_ERR;
}

int Dialog::ComboSetCurSel(int id, int index) {
  return window_ ? window_->SetCurSel(id, index) : CB_ERR;
}

int Dialog::ComboGetCurSel(int id) const { return window_ ? window_->GetCurSel(id) : CB_ERR; }

std::unique_ptr<Bitmap> Dialog::SetDlgItemImage(int id, std::unique_ptr<Bitmap> image) {
  return window_ ? window_->SetImage(id, std::move(image)) : nullptr;
}

PixelRect Dialog::GetDlgItemRect(int id) const {
  return window_ ? window_->GetWindowRect(id) : PixelRect{};
}

PixelRect Dialog::GetDlgItemClientRect(int id) const {
  return window_ ? window_->GetClientRect(id) : PixelRect{};
}

void Dialog::BindControl(int id, Control& control) {
  if (control.dialog_ != nullptr || !HasDlgItem(id)) return;
  control.dialog_ = this;
  control.id_ = id;
  bound_[id] = &control;
}

bool Dialog::InitDialog() { return OnInitDialog(); }

void Dialog::Command(int id, int code) {
  if (OnCommand(id, code)) return;
  // Without a handler of its own, the OK and Cancel commands run the framework's handlers.
  if (code == BN_CLICKED && id == IDOK) OnOK();
  if (code == BN_CLICKED && id == IDCANCEL) OnCancel();
}

bool Dialog::KeyDown(int key) { return PreTranslateKeyDown(key); }

void Dialog::Paint(PaintContext& dc) { OnPaint(dc); }

bool Dialog::PaintControl(int id, PaintContext& dc) {
  const auto found = bound_.find(id);
  return found != bound_.end() && found->second->OnPaint(dc);
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::DoDataExchange(DataExchange& /*dx*/) {}

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

bool Dialog::OnCommand(int /*id*/, int /*code*/) { return false; }

bool Dialog::PreTranslateKeyDown(int /*key*/) { return false; }

void Dialog::OnPaint(PaintContext& /*dc*/) {}

void DDX_Text(DataExchange& dx, int id, std::u16string& value) {
  if (dx.saveAndValidate) {
    value = dx.dialog.GetDlgItemText(id);
  } else {
    dx.dialog.SetDlgItemText(id, value);
  }
}

void DDX_Check(DataExchange& dx, int id, int& value) {
  if (dx.saveAndValidate) {
    value = dx.dialog.IsDlgButtonChecked(id) != 0 ? 1 : 0;
  } else {
    dx.dialog.CheckDlgButton(id, value != 0 ? 1 : 0);
  }
}

void DDX_Radio(DataExchange& dx, int id, int& value) {
  const DialogTemplate* source = FindDialogTemplate(dx.dialog.TemplateId());
  if (source == nullptr) return;
  const auto controls = source->controls;
  const auto first = std::find_if(controls.begin(), controls.end(),
                                  [id](const ControlTemplate& c) { return c.id == id; });
  if (first == controls.end()) return;
  if (dx.saveAndValidate) value = -1;
  int index = 0;
  for (auto it = first; it != controls.end(); ++it) {
    if (it != first && (it->style & kGroupStart) != 0) break;  // the next group begins
    if (it->kind != ControlKind::kRadioButton) continue;
    if (dx.saveAndValidate) {
      if (dx.dialog.IsDlgButtonChecked(it->id) != 0) value = index;
    } else {
      dx.dialog.CheckDlgButton(it->id, index == value ? 1 : 0);
    }
    ++index;
  }
}

void DDX_Control(DataExchange& dx, int id, Control& control) {
  if (!control.IsBound()) dx.dialog.BindControl(id, control);
}

PixelRect Control::GetClientRect() const {
  return dialog_ != nullptr ? dialog_->GetDlgItemClientRect(id_) : PixelRect{};
}

bool Control::OnPaint(PaintContext& /*dc*/) { return false; }

std::unique_ptr<Bitmap> StaticControl::SetBitmap(std::unique_ptr<Bitmap> bitmap) {
  return BoundDialog() != nullptr
             ? BoundDialog()->SetDlgItemImage(GetDlgCtrlID(), std::move(bitmap))
             : nullptr;
}

int ComboBox::AddString(std::u16string_view text) {
  return BoundDialog() != nullptr ? BoundDialog()->ComboAddString(GetDlgCtrlID(), text) : CB_ERR;
}

int ComboBox::SetCurSel(int index) {
  return BoundDialog() != nullptr ? BoundDialog()->ComboSetCurSel(GetDlgCtrlID(), index) : CB_ERR;
}

int ComboBox::GetCurSel() const {
  return BoundDialog() != nullptr ? BoundDialog()->ComboGetCurSel(GetDlgCtrlID()) : CB_ERR;
}

}  // namespace twinfind::ui
