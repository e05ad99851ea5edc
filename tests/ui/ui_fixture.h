// A fresh host, settings in memory and a recorder of every shown dialog, for the dialog tests.
#ifndef TESTS_UI_UI_FIXTURE_H
#define TESTS_UI_UI_FIXTURE_H

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "host/host.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "settings/store_memory.h"
#include "ui/headless/dialog_snapshot.h"
#include "ui/headless/text_mode_backend.h"

namespace uitest {

inline const std::u16string kKey = u"SOFTWARE\\Norvane\\VEX\\Twinfind";

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vexhost::ResetHost();
    twinfind::InstallSettingsStore(&store);
    twinfind::Settings() = twinfind::TwinfindSettings{};
    twinfind::ui::SetHeadlessDialogObserver(
        [this](const twinfind::ui::DialogSnapshot& shown) { snapshots.push_back(shown); });
  }
  void TearDown() override {
    twinfind::ui::SetHeadlessDialogObserver(nullptr);
    twinfind::InstallSettingsStore(nullptr);
  }

  // Starts over within one test: a new host, an empty store, no snapshots.
  void Fresh() {
    store = twinfind::MemorySettingsStore{};
    snapshots.clear();
    SetUp();
  }

  // Queues the user's actions on the dialogs that will open.
  void Actions(std::initializer_list<std::u16string> actions) {
    for (const auto& a : actions) vexhost::TheHost().dialogInput.Push(a);
  }
  void Set(std::u16string_view name, std::u16string_view text) { store.Put(kKey, name, text); }
  std::u16string Stored(std::u16string_view name) const {
    return store.Get(kKey, name).value_or(u"(missing)");
  }
  // Every value of the settings stored with its default, as a start of the command leaves them.
  void StoreDefaults() {
    for (const auto& d : twinfind::kSettingDefinitions) Set(d.name, d.defaultText);
  }

  // The dialog lines the host printed, without the "dialog: " kind.
  std::vector<std::u16string> Shown() const {
    std::vector<std::u16string> lines;
    for (const auto& m : vexhost::TheHost().transcript.messages()) {
      if (m.kind == vexhost::MessageKind::kDialog) lines.push_back(m.text);
    }
    return lines;
  }
  void ClearShown() { vexhost::TheHost().transcript.Clear(); }

  // The control of the first (or last) snapshot.
  const twinfind::ui::ControlSnapshot& First(int id) const {
    return Control(snapshots.front(), id);
  }
  const twinfind::ui::ControlSnapshot& Last(int id) const { return Control(snapshots.back(), id); }
  static const twinfind::ui::ControlSnapshot& Control(const twinfind::ui::DialogSnapshot& s,
                                                      int id) {
    const auto* c = s.Find(id);
    if (c == nullptr) throw std::runtime_error("no control " + std::to_string(id));
    return *c;
  }

  twinfind::MemorySettingsStore store;
  std::vector<twinfind::ui::DialogSnapshot> snapshots;
};

}  // namespace uitest

#endif  // TESTS_UI_UI_FIXTURE_H
