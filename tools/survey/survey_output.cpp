#include "tools/survey/survey_output.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <set>
#include <unordered_map>

#include "common/utf.h"
#include "settings/settings.h"
#include "tools/survey/family_pick.h"

namespace twinfind::tool {

using survey::BoxOf;
using survey::Family;
using survey::FoundTwin;
using survey::NearFamilies;
using survey::SurveyResult;
namespace {

// Six significant figures, as the tool's other lines write coordinates.
std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", v == 0 ? 0.0 : v);
  return text;
}

std::string Counted(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "1, 3 and 5" of family numbers counted from 1.
std::string Listed(const std::vector<int>& families) {
  std::string text;
  for (size_t i = 0; i < families.size(); ++i) {
    text += (i == 0                     ? ""
             : i + 1 == families.size() ? " and "
                                        : ", ") +
            std::to_string(families[i] + 1);
  }
  return text;
}

}  // namespace

std::vector<std::string> NearLines(const SurveyResult& result) {
  std::vector<std::string> lines;
  for (const NearFamilies& near : result.near) {
    char within[32];
    std::snprintf(within, sizeof within, "%.2g", near.within);
    lines.push_back("near: families " + Listed(near.families) + " agree within " + within +
                    (near.tolerance > 0
                         ? "; with mTolerance " + Number(near.tolerance) +
                               " they are one family of " + std::to_string(near.count)
                         : "; no tolerance up to 100 times that makes them one family"));
  }
  for (const NearFamilies& alike : result.alike) {
    char within[32];
    std::snprintf(within, sizeof within, "%.2g", alike.within);
    std::set<size_t> sizes;
    for (const int f : alike.families)
      sizes.insert(result.families[static_cast<size_t>(f)].part.size());
    std::vector<int> counts(sizes.begin(), sizes.end());
    for (int& c : counts) --c;  // Listed counts from 1
    lines.push_back("alike: families " + Listed(alike.families) + " look the same within " +
                    within + " but are drawn with " +
                    (sizes.size() > 1 ? Listed(counts) + " segments" : "other figures") +
                    "; the command counts them apart: " +
                    Counted(static_cast<size_t>(alike.count), "part", "parts") + " in all");
  }
  return lines;
}

std::vector<std::pair<std::string, std::string>> SearchSettingTexts() {
  std::vector<std::pair<std::string, std::string>> texts;
  for (const std::u16string_view name :
       {u"mIsRotate", u"mIsSymmetry", u"mIsLayer", u"mIsColor", u"mTolerance"}) {
    texts.emplace_back(ToUtf8(name), ToUtf8(StoredSettingText(name)));
  }
  return texts;
}

std::vector<std::string> SurveyLines(const SurveyResult& result, const vexhost::Drawing* drawing) {
  std::vector<std::string> lines;
  size_t parts = 0, mirrored = 0;
  for (size_t f = 0; f < result.families.size(); ++f) {
    const Family& family = result.families[f];
    parts += family.members.size();
    mirrored += static_cast<size_t>(family.mirrored);
    const VexBox& b = family.box;
    const size_t elsewhere = static_cast<size_t>(family.found) > family.members.size()
                                 ? static_cast<size_t>(family.found) - family.members.size()
                                 : 0;
    lines.push_back(
        "family " + std::to_string(f + 1) + ": " + Counted(family.members.size(), "part", "parts") +
        ", " + std::to_string(family.mirrored) + " mirrored; " +
        Counted(static_cast<size_t>(family.figures), "figure", "figures") + " in " +
        Counted(family.part.size(), "segment", "segments") + "; box " + Number(b.maxX - b.minX) +
        " x " + Number(b.maxY - b.minY) + "; one at " + Number(b.minX) + " " + Number(b.minY) +
        " to " + Number(b.maxX) + " " + Number(b.maxY) +
        (elsewhere == 0 ? std::string()
                        : "; the command finds " + std::to_string(family.found) + ", " +
                              std::to_string(elsewhere) + " of them in parts of other families"));
    if (drawing) {
      const FamilyPick pick = PickOf(*drawing, family);
      if (pick.extra > 0) {
        // A window cannot take the part alone: the command's part would be larger.
        lines.back() += "; a window over it takes " + std::to_string(pick.extra) +
                        " more segments lying in its box";
      }
      lines.push_back("  " + RangeLine(pick.range));
      lines.push_back("  " + RangeLine({pick.part}));
    }
  }
  lines.push_back(
      "total: " + Counted(result.families.size(), "family", "families") + ", " +
      Counted(parts, "part", "parts") + " (" + std::to_string(mirrored) + " mirrored), among " +
      Counted(static_cast<size_t>(result.candidates), "candidate part", "candidate parts") +
      " of " + Counted(static_cast<size_t>(result.segments), "segment", "segments"));
  for (const std::string& line : NearLines(result)) lines.push_back(line);
  if (result.strokeFamilies > 0) {
    lines.push_back(
        "not listed: " + Counted(static_cast<size_t>(result.strokeFamilies), "family", "families") +
        " of single lines, points and loose strokes (--all lists them)");
  }
  lines.push_back(
      "searched: " + Counted(static_cast<size_t>(result.searches), "search", "searches") + ", " +
      std::to_string(result.trials) + " trial placements" +
      (result.refused > 0
           ? ", " + std::to_string(result.refused) +
                 " parts the part step refuses (no line, circle or arc, or over 1000 segments)"
           : std::string()));
  return lines;
}

std::vector<SearchRecord> SurveyRecords(
    const vexhost::Drawing& drawing, const SurveyResult& result, std::optional<VexBox> range,
    const std::vector<std::pair<std::string, std::string>>& settings) {
  std::vector<SearchRecord> records;
  const auto shared = std::make_shared<const SettingTexts>(settings);
  for (const Family& family : result.families) {
    SearchRecord record;
    record.method = "survey";
    record.range = range;
    record.part = family.part;
    record.partExtent = family.box;
    record.settings = shared;
    record.found = family.found;
    for (size_t m = 0; m < family.members.size(); ++m) {
      const FoundTwin& member = family.members[m];
      tool::TwinRecord twin;
      twin.segments = member.segments;
      twin.mirrored = member.mirrored;
      twin.angleDegrees = member.angleDegrees;
      twin.box = BoxOf(drawing, member.segments);
      twin.isPart = m == 0 && family.partFound;
      record.twins.push_back(std::move(twin));
    }
    records.push_back(std::move(record));
  }
  return records;
}

uint32_t FamilyColour(size_t family) {
  // Hues a golden angle apart, bright enough for the dark background.
  const double hue = std::fmod(static_cast<double>(family) * 137.508, 360.0) / 60.0;
  const double x = 1.0 - std::fabs(std::fmod(hue, 2.0) - 1.0);
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(hue)) {
    case 0:
      r = 1, g = x;
      break;
    case 1:
      r = x, g = 1;
      break;
    case 2:
      g = 1, b = x;
      break;
    case 3:
      g = x, b = 1;
      break;
    case 4:
      r = x, b = 1;
      break;
    default:
      r = 1, b = x;
      break;
  }
  auto channel = [](double v) { return static_cast<uint32_t>(std::lround(80 + 175 * v)); };
  return (channel(r) << 16) | (channel(g) << 8) | channel(b);
}

picture::RenderOptions SurveyPicture(const SurveyResult& result, bool grid) {
  auto colours = std::make_shared<std::unordered_map<int, uint32_t>>();
  picture::RenderOptions options;
  options.grid = grid;
  options.highlightBlinking = false;
  for (size_t f = 0; f < result.families.size(); ++f) {
    const Family& family = result.families[f];
    const uint32_t colour = FamilyColour(f);
    for (const FoundTwin& member : family.members) {
      for (const int id : member.segments) colours->emplace(id, colour);
    }
    const VexBox& b = family.box;
    options.labels.push_back({b.maxX, b.maxY, std::to_string(family.members.size()) + "×", colour});
  }
  options.colourOf = [colours](const vexhost::Segment& s, bool& bold) -> std::optional<uint32_t> {
    const auto it = colours->find(s.id);
    bold = it != colours->end();
    return bold ? it->second : 0x4A5262u;
  };
  return options;
}

}  // namespace twinfind::tool
