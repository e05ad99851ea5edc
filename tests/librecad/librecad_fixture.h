// What the adapter's tests share: a fake LibreCAD drawing, the command's lines as LibreCAD's
// command line would get them, a settings file of the test's own, and parts to draw.
#ifndef TESTS_LIBRECAD_LIBRECAD_FIXTURE_H
#define TESTS_LIBRECAD_LIBRECAD_FIXTURE_H

#include <gtest/gtest.h>

#include <QStringList>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "librecad/lc_command_run.h"
#include "tests/librecad/fake_document.h"

namespace twinfind::librecad::testing {

class CapturedLine : public CommandLine {
 public:
  void Say(vexhost::MessageKind, const QString& text) override { lines << text; }
  void Box(const QString& text) override { lines << QStringLiteral("box: ") + text; }
  bool Has(const QString& text) const {
    for (const QString& line : lines) {
      if (line.contains(text)) return true;
    }
    return false;
  }
  QStringList lines;
};

// An L-shaped bracket with a rounded inner corner and two holes, 40 by 30, its corner at
// (x, y), turned by `degrees` about it and mirrored (in x, before the turn) on request: a
// closed polyline and two circles on layer PARTS. Its entity ids.
std::vector<qulonglong> AddBracket(FakeDocument& doc, double x, double y, double degrees,
                                   bool mirrored = false);

class LibreCadTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The settings the command reads: every value at its default but those given (optional ones,
  // such as mLanguage, too).
  void WriteSettings(const std::map<std::string, std::string>& values);
  std::filesystem::path folder_;
};

}  // namespace twinfind::librecad::testing

#endif  // TESTS_LIBRECAD_LIBRECAD_FIXTURE_H
