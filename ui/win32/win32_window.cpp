#include "ui/win32/win32_window.h"

#include <vector>

#include "common/language.h"
#include "ui/win32/module_state.h"
#include "ui/win32/win32_paint.h"

namespace twinfind::ui::win32 {
namespace {

// Where a subclassed static control keeps its dialog window and its own window procedure.
constexpr wchar_t kWindowProperty[] = L"Twinfind.DialogWindow";
constexpr wchar_t kProcedureProperty[] = L"Twinfind.StaticProc";

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

PixelRect PixelRectOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// A bitmap handle of a picture that was not loaded from a resource.
HBITMAP BitmapOfPixels(const Bitmap& picture) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  auto* out = static_cast<uint8_t*>(bits);
  for (const Color& c : picture.pixels) {
    *out++ = c.b;
    *out++ = c.g;
    *out++ = c.r;
    *out++ = 0;
  }
  return bitmap;
}

}  // namespace

Win32DialogWindow::Win32DialogWindow(Dialog& dialog, const DialogTemplate& source, HWND owner)
    : dialog_(dialog), source_(source), owner_(owner) {}

Win32DialogWindow::~Win32DialogWindow() {
  if (hwnd_ != nullptr) {
    DeleteImages();
    DestroyWindow(hwnd_);
  }
}

int Win32DialogWindow::RunModal() {
  hwnd_ = CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(source_.id), owner_, DialogProc,
                             reinterpret_cast<LPARAM>(this));
  if (hwnd_ == nullptr) return -1;
  if (!result_) {
    const bool disableOwner = owner_ != nullptr && IsWindowEnabled(owner_);
    if (disableOwner) EnableWindow(owner_, FALSE);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    MSG message;
    while (!result_) {
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got <= 0) {
        // The program is quitting: the dialog ends as cancelled and the quit goes on outward.
        if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
        result_ = IDCANCEL;
        break;
      }
      // The dialog sees every key-down of its window and its controls first.
      const bool ours = message.hwnd == hwnd_ || IsChild(hwnd_, message.hwnd);
      if (message.message == WM_KEYDOWN && ours &&
          dialog_.KeyDown(static_cast<int>(message.wParam))) {
        continue;
      }
      if (!IsDialogMessageW(hwnd_, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    // The owner is enabled again before this window goes, so that it becomes active.
    if (disableOwner) EnableWindow(owner_, TRUE);
    ShowWindow(hwnd_, SW_HIDE);
  }
  DeleteImages();
  DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  return *result_;
}

void Win32DialogWindow::EndModal(int result) {
  if (!result_) result_ = result;
}

INT_PTR CALLBACK Win32DialogWindow::DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Win32DialogWindow*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    self->hwnd_ = hwnd;
    self->TakeTemplateTexts();
    self->SubclassStatics();
    // True: the system gives the focus to the first tab stop.
    return self->dialog_.InitDialog() ? TRUE : FALSE;
  }
  auto* self = reinterpret_cast<Win32DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  return self != nullptr ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR Win32DialogWindow::OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
    case WM_COMMAND:
      // Notifications and the OK and Cancel commands (also Enter, Escape and the close box).
      dialog_.Command(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd_, &paint);
      {
        Win32PaintContext context(dc);
        dialog_.Paint(context);
      }
      EndPaint(hwnd_, &paint);
      return TRUE;
    }
    default:
      return FALSE;  // the system's dialog handling, colour messages included
  }
}

void Win32DialogWindow::TakeTemplateTexts() {
  // The resource is the Korean dialog; in another language the caption and every control
  // (walked in creation order, which is template order) take the template's texts.
  if (CurrentLanguage() == Language::kKorean) return;
  SetWindowTextW(hwnd_, Wide(std::u16string(source_.caption)));
  HWND item = GetWindow(hwnd_, GW_CHILD);
  for (const ControlTemplate& c : source_.controls) {
    if (item == nullptr) break;
    if (!c.text.empty()) SetWindowTextW(item, Wide(std::u16string(c.text)));
    item = GetWindow(item, GW_HWNDNEXT);
  }
}

void Win32DialogWindow::SubclassStatics() {
  for (const ControlTemplate& c : source_.controls) {
    if (c.kind != ControlKind::kStaticRect && c.kind != ControlKind::kStaticBitmap) continue;
    HWND item = Item(c.id);
    if (item == nullptr || GetPropW(item, kProcedureProperty) != nullptr) continue;
    SetPropW(item, kWindowProperty, this);
    const LONG_PTR previous =
        SetWindowLongPtrW(item, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticProc));
    SetPropW(item, kProcedureProperty, reinterpret_cast<HANDLE>(previous));
  }
}

LRESULT CALLBACK Win32DialogWindow::StaticProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  auto* self = static_cast<Win32DialogWindow*>(GetPropW(hwnd, kWindowProperty));
  const auto previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kProcedureProperty));
  if (message == WM_PAINT && self != nullptr && wParam == 0) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    bool painted = false;
    {
      Win32PaintContext context(dc);
      painted = self->dialog_.PaintControl(GetDlgCtrlID(hwnd), context);
    }
    // A control without a painting object of its own paints itself into the same context.
    if (!painted) CallWindowProcW(previous, hwnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    EndPaint(hwnd, &paint);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropW(hwnd, kWindowProperty);
    RemovePropW(hwnd, kProcedureProperty);
  }
  return CallWindowProcW(previous, hwnd, message, wParam, lParam);
}

void Win32DialogWindow::DeleteImages() {
  // The last bitmap of each bitmap control stays with it while the dialog lives and is deleted
  // with the dialog.
  for (const auto& [id, image] : images_) {
    HWND item = Item(id);
    if (item == nullptr) continue;
    auto shown = reinterpret_cast<HBITMAP>(
        SendMessageW(item, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(nullptr)));
    if (shown != nullptr) DeleteObject(shown);
  }
  images_.clear();
}

HWND Win32DialogWindow::Item(int id) const {
  if (hwnd_ == nullptr || id == -1) return nullptr;  // labels and group boxes cannot be reached
  return GetDlgItem(hwnd_, id);
}

const ControlTemplate* Win32DialogWindow::TemplateOf(int id) const {
  for (const ControlTemplate& c : source_.controls) {
    if (c.id == id && id != -1) return &c;
  }
  return nullptr;
}

bool Win32DialogWindow::IsKind(int id, ControlKind kind) const {
  const ControlTemplate* c = TemplateOf(id);
  return c != nullptr && c->kind == kind && Item(id) != nullptr;
}

bool Win32DialogWindow::HasControl(int id) const { return Item(id) != nullptr; }

std::u16string Win32DialogWindow::GetText(int id) const {
  HWND item = Item(id);
  if (item == nullptr) return {};
  const int length = GetWindowTextLengthW(item);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int copied = GetWindowTextW(item, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

void Win32DialogWindow::SetText(int id, std::u16string_view text) {
  if (HWND item = Item(id)) SetWindowTextW(item, Wide(std::u16string(text)));
}

void Win32DialogWindow::SetTextLimit(int id, size_t maxChars) {
  if (IsKind(id, ControlKind::kEdit)) SendMessageW(Item(id), EM_LIMITTEXT, maxChars, 0);
}

int Win32DialogWindow::GetCheck(int id) const {
  const ControlTemplate* c = TemplateOf(id);
  if (c == nullptr || Item(id) == nullptr) return 0;
  if (c->kind != ControlKind::kCheckBox && c->kind != ControlKind::kRadioButton &&
      c->kind != ControlKind::kPushButton) {
    return 0;
  }
  return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED ? 1 : 0;
}

void Win32DialogWindow::SetCheck(int id, int check) {
  if (IsKind(id, ControlKind::kCheckBox) || IsKind(id, ControlKind::kRadioButton)) {
    CheckDlgButton(hwnd_, id, check != 0 ? BST_CHECKED : BST_UNCHECKED);
  }
}

int Win32DialogWindow::AddString(int id, std::u16string_view text) {
  if (!IsKind(id, ControlKind::kDropList)) return CB_ERR;
  const std::u16string entry(text);
  return static_cast<int>(
      SendMessageW(Item(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry))));
}

int Win32DialogWindow::SetCurSel(int id, int index) {
  if (!IsKind(id, ControlKind::kDropList)) return CB_ERR;
  return static_cast<int>(SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

int Win32DialogWindow::GetCurSel(int id) const {
  if (!IsKind(id, ControlKind::kDropList)) return CB_ERR;
  return static_cast<int>(SendMessageW(Item(id), CB_GETCURSEL, 0, 0));
}

std::unique_ptr<Bitmap> Win32DialogWindow::SetImage(int id, std::unique_ptr<Bitmap> image) {
  if (!IsKind(id, ControlKind::kStaticBitmap)) return image;
  HBITMAP bitmap = nullptr;
  if (image && image->resourceId != 0) {
    bitmap = LoadBitmapW(ResourceModule(), MAKEINTRESOURCEW(image->resourceId));
  } else if (image) {
    bitmap = BitmapOfPixels(*image);
  }
  auto previous = reinterpret_cast<HBITMAP>(
      SendMessageW(Item(id), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
  // The bitmap the control showed before is deleted; the new one stays with the control.
  if (previous != nullptr && previous != bitmap) DeleteObject(previous);
  std::unique_ptr<Bitmap>& shown = images_[id];
  std::unique_ptr<Bitmap> replaced = std::move(shown);
  shown = std::move(image);
  return replaced;
}

PixelRect Win32DialogWindow::GetWindowRect(int id) const {
  HWND item = Item(id);
  if (item == nullptr) return {};
  RECT r;
  ::GetWindowRect(item, &r);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
  return PixelRectOf(r);
}

PixelRect Win32DialogWindow::GetClientRect(int id) const {
  HWND item = Item(id);
  if (item == nullptr) return {};
  RECT r;
  ::GetClientRect(item, &r);
  return PixelRectOf(r);
}

void Win32DialogWindow::Invalidate(bool erase) {
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, erase ? TRUE : FALSE);
}

}  // namespace twinfind::ui::win32

namespace twinfind::ui {

std::unique_ptr<DialogWindow> CreateDialogWindow(Dialog& dialog, const DialogTemplate& source,
                                                 DialogWindow* parent) {
  HWND owner = parent != nullptr ? static_cast<win32::Win32DialogWindow*>(parent)->hwnd() : nullptr;
  return std::make_unique<win32::Win32DialogWindow>(dialog, source, owner);
}

}  // namespace twinfind::ui
