// Loading the plug-in module on Windows: Twinfind.dll with LoadLibraryW, Startup with
// GetProcAddress.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "common/utf.h"
#include "tools/plugin_loader.h"
#include "vexlib/vexlib.h"

namespace twinfind::tool {
namespace {

std::wstring Wide(const std::string& utf8) {
  const std::u16string text = ToUtf16(utf8);
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

std::string Utf8(const wchar_t* wide) {
  return ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide)));
}

std::string WindowsError(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = text != nullptr ? Utf8(text) : "error " + std::to_string(code);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return message;
}

}  // namespace

std::string DefaultPluginPath() {
  if (const char* path = std::getenv("TWINFIND_PLUGIN"); path != nullptr && *path != '\0') {
    return path;
  }
  std::wstring exe(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    if (length == 0) return "Twinfind.dll";
    if (length < exe.size()) {
      exe.resize(length);
      break;
    }
    exe.resize(exe.size() * 2);
  }
  const size_t slash = exe.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"." : exe.substr(0, slash);
  return Utf8((folder + L"\\Twinfind.dll").c_str());
}

LoadedPlugin LoadPlugin(const std::string& path) {
  LoadedPlugin result;
  // The module stays loaded for the life of the process.
  HMODULE module = LoadLibraryW(Wide(path).c_str());
  if (module == nullptr) {
    result.error = "cannot load the plug-in " + path + ": " + WindowsError(GetLastError());
    return result;
  }
  auto startup =
      reinterpret_cast<VexStartupFunc>(reinterpret_cast<void*>(GetProcAddress(module, "Startup")));
  if (startup == nullptr) {
    result.error = "the plug-in " + path + " has no entry point Startup";
    return result;
  }
  result.startupResult = startup(nullptr);
  if (result.startupResult != 0) {
    result.error = "the plug-in " + path + " could not register its command";
    return result;
  }
  result.foundParts = reinterpret_cast<TwfFoundPartsFunc>(
      reinterpret_cast<void*>(GetProcAddress(module, TWINFIND_FOUND_PARTS_SYMBOL)));
  result.ok = true;
  return result;
}

}  // namespace twinfind::tool
