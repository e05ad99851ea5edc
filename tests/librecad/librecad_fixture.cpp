#include "tests/librecad/librecad_fixture.h"

#include <stdlib.h>

#include <QApplication>
#include <cmath>
#include <fstream>

#include "host/host.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace twinfind::librecad::testing {
namespace {

// One application for every test: Qt's widgets need it, on the offscreen platform.
class QtApplication : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "librecad_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

const auto* const kApplication = ::testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace

std::vector<qulonglong> AddBracket(FakeDocument& doc, double x, double y, double degrees,
                                   bool mirrored) {
  const double a = degrees * 3.14159265358979323846 / 180;
  const auto at = [&](double px, double py) {
    if (mirrored) px = -px;
    return QPointF(x + px * std::cos(a) - py * std::sin(a),
                   y + px * std::sin(a) + py * std::cos(a));
  };
  // The inner corner's fillet, a quarter circle of radius 6, runs clockwise: bulge -tan(22.5°)
  // (counter-clockwise when mirrored).
  const double fillet = (mirrored ? 1 : -1) * std::tan(3.14159265358979323846 / 8);
  QList<Plug_VertexData> outline{{at(0, 0), 0},        {at(40, 0), 0},  {at(40, 10), 0},
                                 {at(16, 10), fillet}, {at(10, 16), 0}, {at(10, 30), 0},
                                 {at(0, 30), 0}};
  std::vector<qulonglong> ids;
  ids.push_back(
      doc.AddEntity(DPI::POLYLINE, {{DPI::CLOSEPOLY, 1}, {DPI::LAYER, "PARTS"}}, outline));
  for (const QPointF hole : {at(28, 5), at(5, 22)})
    ids.push_back(doc.AddCircleAt(hole.x(), hole.y(), 2.5, QStringLiteral("PARTS")));
  return ids;
}

void LibreCadTest::SetUp() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "twinfind-librecad-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  folder_ = pattern;
  setenv("TWINFIND_SETTINGS", (folder_ / "settings.reg").c_str(), 1);
  InstallSettingsStore(nullptr);
  WriteSettings({});
}

void LibreCadTest::TearDown() {
  unsetenv("TWINFIND_SETTINGS");
  vexhost::ResetHost();
  std::filesystem::remove_all(folder_);
}

void LibreCadTest::WriteSettings(const std::map<std::string, std::string>& values) {
  std::ofstream file(folder_ / "settings.reg");
  file << "Windows Registry Editor Version 5.00\n\n"
          "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n";
  std::map<std::string, std::string> all = values;  // the optional ones given too
  for (const SettingDefinition& d : kSettingDefinitions)
    all.emplace(std::string(d.name.begin(), d.name.end()),
                std::string(d.defaultText.begin(), d.defaultText.end()));
  for (const auto& [name, value] : all) file << '"' << name << "\"=\"" << value << "\"\n";
}

}  // namespace twinfind::librecad::testing
