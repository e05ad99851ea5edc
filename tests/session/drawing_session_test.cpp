// The drawing session as the Python module calls it (the tool's is the same, kept in the host).
// It is built in every preset, so that the sanitizer build runs it too (the module itself is not
// loaded there): drawings opened side by side and searched from two threads give what each gives
// alone, the host keeps none of them between calls, and changes and saves act on their own
// drawing only.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "host/host.h"
#include "session/drawing_session.h"

namespace {

using twinfind::SearchOptions;
using twinfind::session::Area;
using twinfind::session::BadArgument;
using twinfind::session::DrawingSession;
using twinfind::session::Family;
using twinfind::session::PartSpec;
using twinfind::session::Refused;
using twinfind::session::Twin;
namespace fs = std::filesystem;

const fs::path kReal = TWINFIND_REAL_DRAWINGS;
const std::string kPlan = (kReal / "Ceco.NET-Architecture-Tm-53.dxf").string();
const std::string kDetails = (kReal / "api-cw750-details.dxf").string();
constexpr VexBox kSofa{17.2, 12.6, 18.1, 13.5};
constexpr VexBox kFastener{514.986, 334.972, 516.131, 336.117};
constexpr VexBox kDetailsRange{100, 100, 800, 600};

SearchOptions Turns() {
  SearchOptions options;
  options.rotate = true;
  options.mirror = true;
  return options;
}

std::unique_ptr<DrawingSession> Open(const std::string& path) {
  std::vector<std::string> warnings;
  auto session = std::make_unique<DrawingSession>(path);
  session->Open({}, warnings);
  return session;
}

std::vector<Family> Survey(DrawingSession& d, bool goOn = true) {
  std::vector<Family> families;
  const bool cancelled = d.Survey(
                              Area{}, Turns(), false, [goOn](double) { return goOn; }, &families)
                             .cancelled;
  EXPECT_EQ(cancelled, !goOn);
  return families;
}

using TwinKey = std::tuple<std::vector<int>, std::vector<std::string>, double, bool, bool>;

std::vector<TwinKey> Keys(const std::vector<Twin>& twins) {
  std::vector<TwinKey> keys;
  for (const Twin& t : twins)
    keys.emplace_back(t.segments, t.handles, t.angleDegrees, t.mirrored, t.isPart);
  return keys;
}

std::vector<std::vector<TwinKey>> Keys(const std::vector<Family>& families) {
  std::vector<std::vector<TwinKey>> keys;
  for (const Family& f : families) keys.push_back(Keys(f.members));
  return keys;
}

// The fastener symbols of the details lie on layers that are off in the file.
std::vector<Twin> Find(DrawingSession& d, const PartSpec& part, std::optional<VexBox> range) {
  std::vector<std::string> notes;
  return d.Find(part, Area{range, true}, Turns(), notes);
}

// A new empty folder for one test's files, removed when it goes.
class Scratch {
 public:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "twinfind-session-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~Scratch() { fs::remove_all(path_); }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

TEST(DrawingSession, TwoDrawingsSearchedFromTwoThreadsGiveWhatEachGivesAlone) {
  const auto plan = Open(kPlan), details = Open(kDetails);
  const auto planJob = [&] { return Keys(Survey(*plan)); };
  const auto detailsJob = [&] { return Keys(Find(*details, kFastener, kDetailsRange)); };
  const auto planAlone = planJob();
  const auto detailsAlone = detailsJob();
  ASSERT_GE(planAlone.size(), 2u);
  ASSERT_EQ(detailsAlone.size(), 19u);
  // Between calls the host holds no drawing: each is its session's.
  EXPECT_EQ(vexhost::TheHost().drawing.SegmentCount(), 0u);

  std::vector<std::vector<std::vector<TwinKey>>> planRuns;
  std::vector<std::vector<TwinKey>> detailsRuns;
  std::thread a([&] {
    for (int i = 0; i < 2; ++i) planRuns.push_back(planJob());
  });
  std::thread b([&] {
    for (int i = 0; i < 4; ++i) detailsRuns.push_back(detailsJob());
  });
  a.join();
  b.join();
  EXPECT_EQ(planRuns, decltype(planRuns)(2, planAlone));
  EXPECT_EQ(detailsRuns, decltype(detailsRuns)(4, detailsAlone));
  EXPECT_EQ(vexhost::TheHost().drawing.SegmentCount(), 0u);
}

TEST(DrawingSession, ChangesAndSavesActOnTheirOwnDrawingOnly) {
  Scratch scratch;
  const auto details = Open(kDetails), other = Open(kDetails);
  const std::vector<Twin> twins = Find(*details, kFastener, kDetailsRange);
  ASSERT_EQ(twins.size(), 19u);
  const Twin* part = nullptr;
  for (const Twin& t : twins) part = t.isPart ? &t : part;
  ASSERT_NE(part, nullptr);
  // The part named by its entities' handles is the part of its window.
  EXPECT_EQ(Keys(Find(*details, part->handles, kDetailsRange)), Keys(twins));
  EXPECT_THROW(Find(*details, std::vector<std::string>{"NOSUCH"}, kDetailsRange), BadArgument);
  EXPECT_THROW(Find(*details, VexBox{0, 0, 0.001, 0.001}, kDetailsRange), Refused);

  // A twin of another drawing deletes nothing, here or there.
  const std::vector<Twin> elsewhere = Find(*other, kFastener, kDetailsRange);
  EXPECT_THROW(details->Delete({&twins[0], &elsewhere[1]}), BadArgument);
  std::vector<const Twin*> half;
  int segments = 0;
  for (size_t i = 0; i < twins.size() / 2; ++i) {
    half.push_back(&twins[i]);
    segments += static_cast<int>(twins[i].segments.size());
  }
  EXPECT_EQ(details->Delete(half), segments);
  EXPECT_THROW(details->Delete({half[0]}), BadArgument);  // gone already
  EXPECT_EQ(Find(*other, kFastener, kDetailsRange).size(), 19u);

  EXPECT_THROW(details->Save(kDetails, "save", nullptr), Refused);  // never over the input
  const auto saved = details->Save(scratch / "out.dxf", "save", nullptr);
  EXPECT_EQ(saved.counts.deleted, segments);
  EXPECT_EQ(saved.counts.changed, 0);
  const auto again = Open(scratch / "out.dxf");
  EXPECT_EQ(Find(*again, twins.back().handles, kDetailsRange).size(), twins.size() - half.size());
}

TEST(DrawingSession, AStoppedSurveyLeavesTheDrawingAsItWas) {
  const auto plan = Open(kPlan);
  EXPECT_TRUE(Survey(*plan, false).empty());
  EXPECT_EQ(Keys(Survey(*plan)), Keys(Survey(*Open(kPlan))));
}

TEST(DrawingSession, AFolderIsRefusedWithTheToolsMessage) {
  Scratch scratch;
  fs::create_directory(scratch / "plan.dxf");
  try {
    Open(scratch / "plan.dxf");
    FAIL() << "a folder was opened";
  } catch (const Refused& e) {
    EXPECT_EQ(std::string(e.what()), "cannot read the drawing " + (scratch / "plan.dxf") +
                                         ": it is a directory; a drawing is read from a DXF file");
  }
}

}  // namespace
