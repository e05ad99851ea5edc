// A fresh host with the plug-in registered and settings in memory, for every plug-in test.
#ifndef TESTS_PLUGIN_PLUGIN_FIXTURE_H
#define TESTS_PLUGIN_PLUGIN_FIXTURE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "balloon/part_texts.h"
#include "host/host.h"
#include "plugin/arrangement.h"
#include "plugin/entry.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "settings/store_memory.h"

namespace plugintest {

inline const std::u16string kKey = u"SOFTWARE\\Norvane\\VEX\\Twinfind";

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vexhost::ResetHost();
    twinfind::InstallSettingsStore(&store);
    twinfind::materialText.clear();
    twinfind::depthText.clear();
    ASSERT_EQ(Startup(nullptr), 0);
  }
  void TearDown() override { twinfind::InstallSettingsStore(nullptr); }

  vexhost::Host& host() { return vexhost::TheHost(); }
  vexhost::StepDriver& driver() { return vexhost::TheHost().driver; }
  void Set(std::u16string_view name, std::u16string_view text) { store.Put(kKey, name, text); }

  // Starts the command; the transcript starts empty.
  void Start() {
    host().transcript.Clear();
    ASSERT_TRUE(driver().Start());
  }

  // The transcript since the last Start or Clear, as "kind: text".
  std::vector<std::u16string> Lines() {
    std::vector<std::u16string> lines;
    for (const auto& m : host().transcript.messages()) {
      const auto kind = vexhost::MessageKindName(m.kind);
      lines.push_back(std::u16string(kind.begin(), kind.end()) + u": " + m.text);
    }
    return lines;
  }
  std::u16string LastPrompt() {
    const auto& messages = host().transcript.messages();
    for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
      if (it->kind == vexhost::MessageKind::kPrompt) return it->text;
    }
    return u"";
  }

  twinfind::MemorySettingsStore store;
};

// The segments created after `lastId`, in creation order.
inline std::vector<int> SegmentsAfter(int lastId) {
  std::vector<int> ids;
  for (const int id : vexhost::TheHost().drawing.SegmentIds()) {
    if (id > lastId) ids.push_back(id);
  }
  return ids;
}

// The highest segment id in the drawing (0 when it is empty).
inline int LastSegmentId() {
  const auto ids = vexhost::TheHost().drawing.SegmentIds();
  return ids.empty() ? 0 : ids.back();
}

// The extent of a group of segments.
inline VexBox BoundsOf(const std::vector<int>& ids) {
  VexBox box{1e300, 1e300, -1e300, -1e300};
  for (const int id : ids) {
    const auto b = vexhost::TheHost().drawing.SegmentBounds(id);
    if (!b) continue;
    box.minX = std::min(box.minX, b->minX);
    box.minY = std::min(box.minY, b->minY);
    box.maxX = std::max(box.maxX, b->maxX);
    box.maxY = std::max(box.maxY, b->maxY);
  }
  return box;
}

// How many temporary segments the drawing holds.
inline int TemporaryCount() {
  int count = 0;
  for (const int id : vexhost::TheHost().drawing.SegmentIds()) {
    count += vexhost::TheHost().drawing.FindSegment(id)->life == VEX_LIFE_TEMPORARY;
  }
  return count;
}

// A lasting segment holding one line.
inline int AddLine(double x1, double y1, double x2, double y2) {
  const int id = VexSgmCreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING);
  FigureRecord f{};
  f.kind = VEX_FIG_LINE;
  f.u.line = {x1, y1, x2, y2};
  VexFigCreateFigure(id, &f);
  return id;
}

}  // namespace plugintest

#endif  // TESTS_PLUGIN_PLUGIN_FIXTURE_H
