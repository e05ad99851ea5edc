// Twinfind.dll as the build made it: its one export, its dialog templates, which must hold
// every control of the dialog layer's template table with the Win32 class and style that the
// table's kind and marks stand for, and its ten line-type bitmaps, byte for byte the files of
// ui/bitmaps/.
#include <gtest/gtest.h>

#include <cstring>
#include <cwctype>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/bitmap.h"
#include "ui/dialog_template.h"
#include "ui/dialog_window.h"
// After the dialog layer's headers: <windows.h> defines macros of the same names (RGB).
#include <windows.h>

namespace {

using twinfind::ui::ControlKind;
using twinfind::ui::ControlTemplate;
using twinfind::ui::DialogTemplate;
namespace ui = twinfind::ui;

// The module mapped as an image for reading only: nothing of it runs.
class Module {
 public:
  Module() {
    handle_ = LoadLibraryExW(L"" TWINFIND_MODULE_PATH_W, nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  ~Module() {
    if (handle_ != nullptr) FreeLibrary(handle_);
  }
  HMODULE handle() const { return handle_; }
  // The mapped image itself (the handle of a resource image carries flags in its low bits).
  const unsigned char* base() const {
    return reinterpret_cast<const unsigned char*>(reinterpret_cast<ULONG_PTR>(handle_) &
                                                  ~ULONG_PTR{3});
  }
  std::vector<unsigned char> Resource(int id, LPCWSTR type) const {
    HRSRC found = FindResourceW(handle_, MAKEINTRESOURCEW(id), type);
    if (found == nullptr) return {};
    const auto* bytes =
        static_cast<const unsigned char*>(LockResource(LoadResource(handle_, found)));
    return std::vector<unsigned char>(bytes, bytes + SizeofResource(handle_, found));
  }

 private:
  HMODULE handle_ = nullptr;
};

// Reads a DLGTEMPLATEEX and its DLGITEMTEMPLATEEX entries.
class TemplateReader {
 public:
  explicit TemplateReader(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}
  uint16_t Word() {
    uint16_t v = 0;
    std::memcpy(&v, &bytes_.at(at_ + 1) - 1, 2);
    at_ += 2;
    return v;
  }
  uint32_t Dword() {
    const uint32_t low = Word();
    return low | (uint32_t{Word()} << 16);
  }
  void Byte() { ++at_; }
  // A text or, after 0xFFFF, a number (returned as "#number").
  std::u16string TextOrNumber() {
    const uint16_t first = Word();
    if (first == 0xFFFF) return u"#" + Number(Word());
    std::u16string text;
    for (uint16_t c = first; c != 0; c = Word()) text.push_back(static_cast<char16_t>(c));
    return text;
  }
  void AlignToDword() { at_ = (at_ + 3) & ~size_t{3}; }
  void Skip(size_t n) { at_ += n; }

 private:
  static std::u16string Number(uint16_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
  }
  const std::vector<unsigned char>& bytes_;
  size_t at_ = 0;
};

struct Expected {
  std::u16string windowClass;
  DWORD style;
};

// The Win32 class and style of a control of the table.
Expected Win32Of(const ControlTemplate& c) {
  DWORD style = WS_CHILD | WS_VISIBLE;
  if (c.style & ui::kGroupStart) style |= WS_GROUP;
  if (c.style & ui::kTabStop) style |= WS_TABSTOP;
  if (c.style & ui::kBorder) style |= WS_BORDER;
  if (c.style & ui::kVScroll) style |= WS_VSCROLL;
  const bool notify = (c.style & ui::kNotify) != 0;
  switch (c.kind) {
    case ControlKind::kGroupBox:
      return {u"#128", style | BS_GROUPBOX};
    case ControlKind::kPushButton:
      return {u"#128", style | BS_PUSHBUTTON};
    case ControlKind::kCheckBox:
      return {u"#128", style | BS_AUTOCHECKBOX};
    case ControlKind::kRadioButton:
      return {u"#128", style | BS_AUTORADIOBUTTON};
    case ControlKind::kEdit:
      return {u"#129", style | ES_LEFT | ((c.style & ui::kAutoHScroll) ? ES_AUTOHSCROLL : 0)};
    case ControlKind::kLabel:
      return {u"#130", style | SS_LEFT};
    case ControlKind::kStaticRect:
      return {u"#130", style | SS_WHITERECT | ((c.style & ui::kSunken) ? SS_SUNKEN : 0) |
                           (notify ? SS_NOTIFY : 0)};
    case ControlKind::kStaticBitmap:
      return {u"#130", style | SS_BITMAP | (notify ? SS_NOTIFY : 0)};
    case ControlKind::kDropList:
      return {u"#133", style | CBS_DROPDOWNLIST | ((c.style & ui::kSorted) ? CBS_SORT : 0)};
  }
  return {};
}

// Class names spelt out in a template are the same classes as their numbers.
std::u16string ClassNumber(std::u16string name) {
  for (auto& ch : name) ch = static_cast<char16_t>(std::towupper(ch));
  if (name == u"BUTTON") return u"#128";
  if (name == u"EDIT") return u"#129";
  if (name == u"STATIC") return u"#130";
  if (name == u"COMBOBOX") return u"#133";
  return name;
}

TEST(ModuleResources, StartupAndTheLastSearchAreTheOnlyExports) {
  const Module module;
  ASSERT_NE(module.handle(), nullptr);
  const unsigned char* base = module.base();
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  ASSERT_NE(entry.VirtualAddress, 0u);
  const auto* exports =
      reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  ASSERT_EQ(exports->NumberOfNames, 2u);
  const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  EXPECT_STREQ(reinterpret_cast<const char*>(base + names[0]), "Startup");
  EXPECT_STREQ(reinterpret_cast<const char*>(base + names[1]), "TwinfindFoundParts");
}

TEST(ModuleResources, TheDialogTemplatesHoldEveryControlOfTheTable) {
  const Module module;
  ASSERT_NE(module.handle(), nullptr);
  for (const int id : {ui::kSettingsDialogId, ui::kColorPickerId, ui::kLineTypePickerId}) {
    SCOPED_TRACE(id);
    const DialogTemplate* table = ui::FindDialogTemplate(id);
    ASSERT_NE(table, nullptr);
    const std::vector<unsigned char> bytes = module.Resource(id, MAKEINTRESOURCEW(5));
    ASSERT_FALSE(bytes.empty());
    TemplateReader r(bytes);
    EXPECT_EQ(r.Word(), 1);       // DLGTEMPLATEEX
    EXPECT_EQ(r.Word(), 0xFFFF);  // its signature
    r.Dword();                    // help id
    EXPECT_EQ(r.Dword(), 0u);     // extended style
    EXPECT_EQ(r.Dword(),
              static_cast<DWORD>(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU));
    const uint16_t count = r.Word();
    ASSERT_EQ(count, table->controls.size());
    r.Word();
    r.Word();
    EXPECT_EQ(r.Word(), table->width);
    EXPECT_EQ(r.Word(), table->height);
    EXPECT_EQ(r.TextOrNumber(), u"");  // no menu
    EXPECT_EQ(r.TextOrNumber(), u"");  // the dialog class
    EXPECT_EQ(r.TextOrNumber(), table->caption);
    EXPECT_EQ(r.Word(), table->fontPoints);
    r.Word();  // weight
    r.Byte();  // italic
    r.Byte();  // character set
    EXPECT_EQ(r.TextOrNumber(), table->fontName);
    for (const ControlTemplate& c : table->controls) {
      SCOPED_TRACE(c.id);
      r.AlignToDword();
      r.Dword();                 // help id
      EXPECT_EQ(r.Dword(), 0u);  // extended style
      const DWORD style = r.Dword();
      const int x = r.Word(), y = r.Word(), w = r.Word(), h = r.Word();
      EXPECT_EQ(std::vector<int>({x, y, w, h}),
                std::vector<int>({c.rect.x, c.rect.y, c.rect.w, c.rect.h}));
      EXPECT_EQ(static_cast<int>(static_cast<int16_t>(r.Dword())), c.id);
      const Expected expected = Win32Of(c);
      EXPECT_EQ(ClassNumber(r.TextOrNumber()), expected.windowClass);
      EXPECT_EQ(style, expected.style);
      EXPECT_EQ(r.TextOrNumber(), c.text);
      r.Skip(r.Word());  // creation data
    }
  }
}

TEST(ModuleResources, TheTenSampleBitmapsAreTheFilesOfTheSourceTree) {
  const Module module;
  ASSERT_NE(module.handle(), nullptr);
  const ui::ScopedModuleState moduleState;
  for (int n = 1; n <= 10; ++n) {
    SCOPED_TRACE(n);
    const std::string name = std::string(TWINFIND_UI_BITMAP_DIR "/linetype") + (n < 10 ? "0" : "") +
                             std::to_string(n) + ".bmp";
    std::ifstream in(name, std::ios::binary);
    const std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    ASSERT_GT(file.size(), 14u);
    const int id = IDB_LINETYPE01 + n - 1;
    // A BITMAP resource is the file without its 14-byte file header.
    EXPECT_EQ(module.Resource(id, MAKEINTRESOURCEW(2)),
              std::vector<unsigned char>(file.begin() + 14, file.end()));
    // And the dialog layer reads it as the picture of the file.
    const auto loaded = ui::LoadBitmapResource(id);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->resourceId, id);
    EXPECT_EQ(loaded->width, ui::kLineTypeBitmapWidth);
    EXPECT_EQ(loaded->height, ui::kLineTypeBitmapHeight);
    EXPECT_EQ(loaded->pixels,
              ui::DecodeBmp(std::vector<uint8_t>(file.begin(), file.end()))->pixels);
  }
  EXPECT_EQ(ui::LoadBitmapResource(IDB_LINETYPE10 + 1), nullptr);
}

}  // namespace
