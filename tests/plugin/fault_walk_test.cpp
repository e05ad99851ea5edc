// Every host call the command makes can fail. The walk runs whole commands of both methods
// once to see which calls they make, and then once more for each of those calls, with that one
// call failing. After every run the command must have left things in order: no exception got
// out, no trial copy of the search and no temporary segment is left in the drawing, no id list
// is left open, every hole record handed out was freed, and the settings file is whole. (The
// sanitizer build adds: no memory leaked, nothing read or written out of bounds.)
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "testkit/twin_drawing.h"
#include "host/host.h"
#include "plugin/entry.h"
#include "settings/reg_file.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace {

namespace fs = std::filesystem;
using drawgen::Placement;
using drawgen::TwinDrawing;
using drawgen::Variant;

// Calls made more often than this are failed at this many evenly spread places.
constexpr int kMostPerFunction = 40;

struct Scenario {
  const char* name;
  const char* settings;        // .reg values beyond the defaults
  std::function<void()> play;  // what the user does
};

class FaultWalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "twinfind-faults-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    settingsFile_ = folder_ / "settings.reg";
    setenv("TWINFIND_SETTINGS", settingsFile_.c_str(), 1);
    twinfind::InstallSettingsStore(nullptr);  // the file store, as the tool uses it
  }
  void TearDown() override {
    unsetenv("TWINFIND_SETTINGS");
    vexhost::ResetHost();
    fs::remove_all(folder_);
  }

  // A fresh host with the drawing and the command registered, the settings file as given;
  // the switch watches from the first call on, failing `function`'s `nth` call.
  void Prepare(const Scenario& scenario, const std::string& function, int nth) {
    vexhost::ResetHost();
    // Every value given, so that a start writes nothing back; the scenario's values win.
    std::ofstream file(settingsFile_);
    file << "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n"
         << scenario.settings;
    for (const twinfind::SettingDefinition& d : twinfind::kSettingDefinitions) {
      const std::string name(d.name.begin(), d.name.end());
      if (std::string(scenario.settings).find("\"" + name + "\"") != std::string::npos) continue;
      file << '"' << name << "\"=\"" << std::string(d.defaultText.begin(), d.defaultText.end())
           << "\"\n";
    }
    file.close();
    TwinDrawing drawing(31, 8);
    const double s = drawing.spacing();
    drawing.Place({});
    drawing.Place({s, 0, 90, false});
    drawing.Place({2 * s, 0, 0, true});
    drawing.Place({3 * s, 0, 200, false}, Variant::kReversedTwin);
    drawing.Place({0, s, 0, false}, Variant::kNearTwin);
    drawing.AddClutter(6, -s, -s, 4 * s, -0.5 * s);
    // The part's holes carry hole records, so that the comparison reads and frees them.
    for (const int id : vexhost::TheHost().drawing.SegmentIds()) {
      FigureRecord first{};
      const SegmentRef ref{1, id};
      if (VexFigGetFigure2(&ref, &first, 1) == 1 && first.kind == VEX_FIG_CIRCLE) {
        HoleItem item{};
        item.layer = 1;
        item.diameter = 2 * first.u.circle.r;
        vexhost::TheHost().drawing.AttachHole(id, HoleData{}, {item});
      }
    }
    partBox_ = {-0.5, -0.5, drawing.width() + 0.5, drawing.height() + 0.5};
    original_ = vexhost::TheHost().drawing.SegmentIds();
    extent_ = {-0.1 * s, -0.1 * s, 3.9 * s, 1.9 * s};
    vexhost::TheHost().faults.Watch(function, nth);
    Startup(nullptr);
  }

  vexhost::StepDriver& driver() { return vexhost::TheHost().driver; }

  // What every run must leave behind, whatever failed.
  void ExpectInOrder(const std::string& where) {
    SCOPED_TRACE(where);
    vexhost::Host& host = vexhost::TheHost();
    host.faults.Stop();
    driver().Abandon();  // the user leaves the command, if it still runs
    for (const int id : host.drawing.SegmentIds()) {
      const vexhost::Segment& s = *host.drawing.FindSegment(id);
      EXPECT_NE(s.life, VEX_LIFE_TEMPORARY) << "temporary segment " << id;
      if (std::find(original_.begin(), original_.end(), id) != original_.end()) continue;
      // What the command adds lasts away from the parts (rows, frames); only balloons and
      // texts stand among them. A new figure segment there is a trial copy left behind.
      const auto box = host.drawing.SegmentBounds(id);
      if (s.kind == VEX_SEGMENT_FIGURES && box) {
        const bool among = box->maxX > extent_.minX && box->minX < extent_.maxX &&
                           box->maxY > extent_.minY && box->minY < extent_.maxY;
        EXPECT_FALSE(among) << "segment " << id << " left among the parts";
      }
    }
    EXPECT_FALSE(host.lists.SelectionOpen());
    for (int list = 0; list <= 9; ++list) EXPECT_FALSE(host.lists.IsOpen(list)) << list;
    EXPECT_EQ(host.holes.outstanding(), 0u);
    std::ifstream in(settingsFile_, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const auto file = twinfind::RegFile::Parse(bytes.str());
    ASSERT_TRUE(file.has_value()) << "the settings file is damaged";
  }

  VexBox partBox_{};
  VexBox extent_{};
  std::vector<int> original_;
  fs::path folder_, settingsFile_;
};

TEST_F(FaultWalkTest, EveryHostCallOfBothMethodsCanFail) {
  const Scenario scenarios[] = {
      {"general method: rows, a mirror image, recolouring",
       "\"mIsSymmetry\"=\"1\"\n\"mFigure\"=\"2\"\n",
       [this] {
         driver().Start();
         driver().Range({-1e4, -1e4, 1e4, 1e4});
         driver().Range(partBox_);
         driver().End();
         driver().Motion({0, -500});
         driver().Point({0, -500});
         driver().Range(partBox_);  // the same part again: its row goes below the first
         driver().End();
         driver().End();
       }},
      {"general method: delete without rows, then the settings dialog",
       "\"mIsSymmetry\"=\"1\"\n\"mFigure\"=\"1\"\n\"mIsArrange\"=\"0\"\n",
       [this] {
         driver().Start();
         driver().Range({-1e4, -1e4, 1e4, 1e4});
         driver().Range(partBox_);
         driver().End();
         driver().End();
         driver().Start();
         vexhost::TheHost().dialogInput.Push(u"click 12007");
         vexhost::TheHost().dialogInput.Push(u"ok");
         driver().End();  // the dialog, at the first prompt
       }},
      {"balloon method: material, number, depth, the labelled row",
       "\"mMethod\"=\"1\"\n\"mIsSymmetry\"=\"1\"\n",
       [this] {
         driver().Start();
         driver().Range({-1e4, -1e4, 1e4, 1e4});
         driver().Keyin(u"SS400");
         driver().Keyin(u"A-009");
         driver().Keyin(u"12");
         driver().Range(partBox_);
         driver().End();
         driver().Motion({0, -500});
         driver().Point({0, -500});
         driver().End();
       }},
      {"balloon method: manual placement with snapping, delete",
       "\"mMethod\"=\"1\"\n\"mIsBalloonAutoArrange\"=\"0\"\n\"mIsDepth\"=\"0\"\n"
       "\"mFigure\"=\"1\"\n",
       [this] {
         driver().Start();
         driver().Range({-1e4, -1e4, 1e4, 1e4});
         driver().Keyin(u"SS400");
         driver().End();
         driver().Range(partBox_);
         driver().Motion({partBox_.maxX + 20, partBox_.maxY + 20});
         driver().Point({partBox_.maxX + 20, partBox_.maxY + 20});
         driver().End();
       }},
  };
  size_t sites = 0, failures = 0;
  for (const Scenario& scenario : scenarios) {
    SCOPED_TRACE(scenario.name);
    Prepare(scenario, "", 0);
    scenario.play();
    const auto calls = vexhost::TheHost().faults.calls();
    sites += vexhost::TheHost().faults.sites().size();
    ExpectInOrder("without a failure");
    for (const auto& [function, count] : calls) {
      const int step = count > kMostPerFunction ? count / kMostPerFunction : 1;
      for (int nth = 1; nth <= count; nth += step) {
        Prepare(scenario, function, nth);
        scenario.play();
        ASSERT_TRUE(vexhost::TheHost().faults.fired()) << function << " call " << nth;
        ExpectInOrder(function + " call " + std::to_string(nth));
        ++failures;
        if (HasFatalFailure()) return;
      }
    }
  }
  std::printf("fault walk: %zu call sites, %zu runs each with one call failing\n", sites, failures);
}

}  // namespace
