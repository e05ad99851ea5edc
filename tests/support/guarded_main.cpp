// The main of every test executable. Before any test runs, the user's own folders are put out
// of reach: HOME points at a fresh empty folder and the variables that name a settings file or
// a configuration folder are cleared, so whatever a test runs (the tool without --settings, a
// library that keeps a cache) writes below temporary folders of its own. After the tests, HOME
// must still be empty: a test that wrote there would have written into the user's home, and
// fails.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace {

std::filesystem::path MakeFolder(const char* name) {
  std::string pattern = (std::filesystem::temp_directory_path() / name).string() + "-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot make a temporary folder " << pattern;
    return {};
  }
  return pattern;
}

class HomeGuard : public ::testing::Environment {
 public:
  void SetUp() override {
    home_ = MakeFolder("twinfind-test-home");
    cache_ = MakeFolder("twinfind-test-cache");
    setenv("HOME", home_.c_str(), 1);
    setenv("XDG_CACHE_HOME", cache_.c_str(), 1);  // fontconfig keeps its cache there
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("TWINFIND_SETTINGS");
    setenv("PYTHONDONTWRITEBYTECODE", "1", 1);  // no __pycache__ beside the checking scripts
  }
  void TearDown() override {
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(home_, ec)) {
      ADD_FAILURE() << "a test wrote into the home folder: " << entry.path();
    }
    std::filesystem::remove_all(home_, ec);
    std::filesystem::remove_all(cache_, ec);
  }

 private:
  std::filesystem::path home_;
  std::filesystem::path cache_;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new HomeGuard);
  return RUN_ALL_TESTS();
}
