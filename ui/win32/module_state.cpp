#include "ui/win32/module_state.h"

#include <vector>

namespace twinfind::ui {
namespace {

// The module made current by the innermost ScopedModuleState; none outside of every scope.
std::vector<HMODULE>& Stack() {
  static std::vector<HMODULE> stack;
  return stack;
}

}  // namespace

namespace win32 {

HMODULE PluginModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&PluginModule), &module);
  return module;
}

HMODULE ResourceModule() { return Stack().empty() ? GetModuleHandleW(nullptr) : Stack().back(); }

}  // namespace win32

ScopedModuleState::ScopedModuleState() { Stack().push_back(win32::PluginModule()); }
ScopedModuleState::~ScopedModuleState() { Stack().pop_back(); }
bool PluginModuleIsCurrent() { return !Stack().empty() && Stack().back() == win32::PluginModule(); }

}  // namespace twinfind::ui
