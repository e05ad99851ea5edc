#include "tools/report_writer.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/atomic_file.h"
#include "common/text_fields.h"

namespace twinfind::tool {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A number in the shortest form that reads back as itself, with a point whatever the locale.
std::string Number(double value) {
  if (!std::isfinite(value)) return "null";
  if (value == 0) value = 0;  // no "-0"
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

template <typename T, typename Format>
std::string JsonList(const std::vector<T>& items, Format format) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + format(items[i]);
  return out + "]";
}

std::string JsonBox(const VexBox& box) {
  if (box.minX > box.maxX) return "null";
  return "{\"minX\": " + Number(box.minX) + ", \"minY\": " + Number(box.minY) +
         ", \"maxX\": " + Number(box.maxX) + ", \"maxY\": " + Number(box.maxY) + "}";
}

std::string Ids(const std::vector<int>& ids) {
  return JsonList(ids, [](int id) { return std::to_string(id); });
}

std::vector<std::string> HandlesOf(const ReportInput& input, const std::vector<int>& segments) {
  return input.handles ? input.handles(segments) : std::vector<std::string>{};
}

std::string Texts(const std::vector<std::string>& texts) { return JsonList(texts, JsonText); }

std::string Joined(const std::vector<std::string>& words, const char* separator) {
  std::string out;
  for (size_t i = 0; i < words.size(); ++i) out += (i ? separator : "") + words[i];
  return out;
}

std::vector<std::string> Strings(const std::vector<int>& ids) {
  std::vector<std::string> out;
  for (const int id : ids) out.push_back(std::to_string(id));
  return out;
}

}  // namespace

std::optional<ReportFormat> ReportFormatOf(const std::string& path) {
  const std::string lower = Lower(path);
  const auto ends = [&](const std::string& tail) {
    return lower.size() > tail.size() &&
           lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0;
  };
  if (ends(".json")) return ReportFormat::kJson;
  if (ends(".csv")) return ReportFormat::kCsv;
  return std::nullopt;
}

std::string ReportJson(const ReportInput& input) {
  std::string j = "{\n  \"version\": " + std::to_string(kReportVersion) + ",\n";
  j += "  \"drawing\": " + (input.drawing ? JsonText(*input.drawing) : std::string("null")) + ",\n";
  j += "  \"searches\": [";
  std::vector<std::pair<size_t, const PartsListEntry*>> parts;  // search number, entry
  const auto& searches = *input.searches;
  for (size_t s = 0; s < searches.size(); ++s) {
    const SearchRecord& r = searches[s];
    j += s ? ",\n" : "\n";
    j += "    {\n      \"number\": " + std::to_string(s + 1) + ",\n";
    j += "      \"method\": " + JsonText(r.method) + ",\n";
    j += std::string("      \"undone\": ") + (r.undone ? "true" : "false") + ",\n";
    j += "      \"range\": " + (r.range ? JsonBox(*r.range) : std::string("null")) + ",\n";
    j += "      \"part\": {\"segments\": " + Ids(r.part) +
         ", \"handles\": " + Texts(HandlesOf(input, r.part)) +
         ", \"box\": " + JsonBox(r.partExtent) + "},\n";
    j += "      \"settings\": {";
    const SettingTexts& settings = r.settingTexts();
    for (size_t i = 0; i < settings.size(); ++i) {
      j += (i ? ", " : "") + JsonText(settings[i].first) + ": " + JsonText(settings[i].second);
    }
    j += "},\n      \"twins\": [";
    for (size_t t = 0; t < r.twins.size(); ++t) {
      const TwinRecord& w = r.twins[t];
      j += t ? ",\n" : "\n";
      j += "        {\"number\": " + std::to_string(t + 1) +
           ", \"isPart\": " + (w.isPart ? "true" : "false") + ", \"segments\": " + Ids(w.segments) +
           ", \"handles\": " + Texts(HandlesOf(input, w.segments)) +
           ", \"box\": " + JsonBox(w.box) + ", \"angle\": " + Number(w.angleDegrees) +
           ", \"mirrored\": " + (w.mirrored ? "true" : "false") +
           ", \"action\": " + JsonText(w.action) +
           ", \"copy\": " + (w.copy.empty() ? std::string("null") : Ids(w.copy)) +
           ", \"balloons\": " + JsonList(w.balloons, Texts) + "}";
    }
    j += r.twins.empty() ? "],\n" : "\n      ],\n";
    j += "      \"unmatched\": " + Ids(r.unmatched);
    if (r.found) j += ",\n      \"found\": " + std::to_string(*r.found);
    j += "\n    }";
    if (r.partsList) parts.push_back({s + 1, &*r.partsList});
  }
  j += searches.empty() ? "],\n" : "\n  ],\n";
  j += "  \"partsList\": [";
  for (size_t p = 0; p < parts.size(); ++p) {
    const PartsListEntry& e = *parts[p].second;
    j += p ? ",\n" : "\n";
    j += "    {\"search\": " + std::to_string(parts[p].first) +
         ", \"partNumber\": " + JsonText(e.partNumber) + ", \"material\": " + JsonText(e.material) +
         ", \"depth\": " + JsonText(e.depth) + ", \"count\": " + std::to_string(e.count) +
         ", \"mirroredCount\": " + std::to_string(e.mirroredCount) + "}";
  }
  j += parts.empty() ? "]" : "\n  ]";
  for (const auto& [key, groups] : {std::pair{"near", &input.near}, {"alike", &input.alike}}) {
    if (groups->empty()) continue;
    j += ",\n  \"" + std::string(key) + "\": [";
    for (size_t n = 0; n < groups->size(); ++n) {
      const NearRecord& r = (*groups)[n];
      std::string searches;
      for (const int s : r.searches) searches += (searches.empty() ? "" : ", ") + std::to_string(s);
      j += (n ? ",\n" : "\n") + std::string("    {\"searches\": [") + searches +
           "], \"within\": " + Number(r.within) +
           (groups == &input.near ? ", \"tolerance\": " + Number(r.tolerance) : "") +
           ", \"count\": " + std::to_string(r.count) + "}";
    }
    j += "\n  ]";
  }
  j += "\n}\n";
  return j;
}

std::string ReportCsv(const ReportInput& input) {
  std::string csv =
      "search,method,rotate,mirror,same_layer,same_colour,tolerance,twin,is_part,segments,"
      "handles,min_x,min_y,max_x,max_y,angle,mirrored,action,copy,balloons,part_number,"
      "material,depth,count,mirrored_count,undone\n";
  const auto& searches = *input.searches;
  for (size_t s = 0; s < searches.size(); ++s) {
    const SearchRecord& r = searches[s];
    const auto setting = [&](const std::string& name) {
      for (const auto& [key, value] : r.settingTexts()) {
        if (key == name) return value;
      }
      return std::string();
    };
    const std::string head =
        std::to_string(s + 1) + "," + r.method + "," + CsvField(setting("mIsRotate")) + "," +
        CsvField(setting("mIsSymmetry")) + "," + CsvField(setting("mIsLayer")) + "," +
        CsvField(setting("mIsColor")) + "," + CsvField(setting("mTolerance")) + ",";
    std::string tail = ",,,,";
    if (r.partsList) {
      const PartsListEntry& e = *r.partsList;
      tail = CsvField(e.partNumber) + "," + CsvField(e.material) + "," + CsvField(e.depth) + "," +
             std::to_string(e.count) + "," + std::to_string(e.mirroredCount);
    }
    for (size_t t = 0; t < r.twins.size(); ++t) {
      const TwinRecord& w = r.twins[t];
      std::vector<std::string> balloons;
      for (const auto& rows : w.balloons) balloons.push_back(Joined(rows, "/"));
      csv += head + std::to_string(t + 1) + "," + (w.isPart ? "1" : "0") + "," +
             Joined(Strings(w.segments), " ") + "," +
             CsvField(Joined(HandlesOf(input, w.segments), " ")) + "," + Number(w.box.minX) + "," +
             Number(w.box.minY) + "," + Number(w.box.maxX) + "," + Number(w.box.maxY) + "," +
             Number(w.angleDegrees) + "," + (w.mirrored ? "1" : "0") + "," + w.action + "," +
             Joined(Strings(w.copy), " ") + "," + CsvField(Joined(balloons, "; ")) + "," + tail +
             "," + (r.undone ? "1" : "0") + "\n";
    }
  }
  return csv;
}

bool WriteReport(const std::string& path, const ReportInput& input, std::string& error) {
  const auto format = ReportFormatOf(path);
  if (!format) {
    error = "the report " + path + " needs a name ending in .json or .csv";
    return false;
  }
  const std::string text = *format == ReportFormat::kJson ? ReportJson(input) : ReportCsv(input);
  return WriteFileAtomically(path, text, error);
}

}  // namespace twinfind::tool
