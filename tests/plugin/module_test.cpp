// The plug-in as the host really meets it: a module loaded by path, with one entry point, and
// the last search for a host of our own.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/host.h"
#include "vexlib/found_parts_export.h"
#include "vexlib/vexlib.h"

namespace {

TEST(PluginModule, LoadsByPathRegistersAndShowsTheFirstPrompt) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("twinfind-module-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const auto settings = folder / "settings.reg";
  setenv("TWINFIND_SETTINGS", settings.c_str(), 1);

  vexhost::ResetHost();
  void* module = dlopen(TWINFIND_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  auto startup = reinterpret_cast<VexStartupFunc>(dlsym(module, "Startup"));
  ASSERT_NE(startup, nullptr);
  // Nothing but the entry point and the last search is exported; before any search the last
  // search holds nothing.
  EXPECT_EQ(dlsym(module, "_ZN8twinfind12StartCommandEv"), nullptr);
  auto found = reinterpret_cast<TwfFoundPartsFunc>(dlsym(module, TWINFIND_FOUND_PARTS_SYMBOL));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found()->searches, 0u);
  EXPECT_EQ(found()->twinCount, 0);

  ASSERT_EQ(startup(nullptr), 0);
  auto& host = vexhost::TheHost();
  ASSERT_TRUE(host.driver.Start());
  const auto& messages = host.transcript.messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, u"대상");
  EXPECT_EQ(messages[1].text, u"검색대상 범위지시(종료버튼:Dialog) :");
  EXPECT_EQ(host.driver.mask(), 0x20u);
  host.driver.End();
  EXPECT_FALSE(host.driver.active());

  // The module's settings went to the file the environment named.
  std::ifstream in(settings);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]"),
            std::string::npos);
  EXPECT_NE(text.str().find("\"mBalloonStr\"=\"101\""), std::string::npos);

  unsetenv("TWINFIND_SETTINGS");
  std::filesystem::remove_all(folder);
}

}  // namespace
