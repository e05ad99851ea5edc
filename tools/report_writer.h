// The report of a run: every search with its part, its settings and its twins, and the parts
// list of the balloon method, as JSON or CSV (docs/report.md).
#ifndef TOOLS_REPORT_WRITER_H
#define TOOLS_REPORT_WRITER_H

#include <optional>
#include <string>
#include <vector>

#include "tools/search_recorder.h"
#include "tools/segment_handles.h"

namespace twinfind::tool {

// The version of the report's layout; it grows when a field changes meaning or goes.
inline constexpr int kReportVersion = 1;

enum class ReportFormat { kJson, kCsv };

// The format a file name asks for by its extension (.json, .csv, in any case); nothing for
// another name.
std::optional<ReportFormat> ReportFormatOf(const std::string& path);

// A survey's families that differ only by rounding: their searches (counted from 1), the
// largest difference of their sizes, and the tolerance at which they are one family of `count`.
struct NearRecord {
  std::vector<int> searches;
  double within = 0, tolerance = 0;
  int count = 0;
};

struct ReportInput {
  std::optional<std::string> drawing;  // the file read, if any
  const std::vector<SearchRecord>* searches = nullptr;
  std::vector<NearRecord> near;  // a survey's; none: no "near" in the JSON
  // A survey's families that look the same but are drawn with other strokes (tolerance 0, count
  // their parts in all); none: no "alike" in the JSON.
  std::vector<NearRecord> alike;
  SegmentHandles handles;  // empty: no handles known
};

std::string ReportJson(const ReportInput& input);
std::string ReportCsv(const ReportInput& input);

// Writes the report whole (to a temporary name, then renamed); false and a reason on failure.
bool WriteReport(const std::string& path, const ReportInput& input, std::string& error);

}  // namespace twinfind::tool

#endif  // TOOLS_REPORT_WRITER_H
