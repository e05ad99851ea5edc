// What the command found and did, for a report: the part is what the range before the search
// selected, the twins are the search's own (the module's last search, read through
// vexlib/found_parts_export.h: each twin's segments, the part segment each paired with, the
// motion that laid the part on it, its copy in a row), and what the result action did is read
// from the drawing afterwards (twins deleted or recoloured, balloons made).
#ifndef TOOLS_SEARCH_RECORDER_H
#define TOOLS_SEARCH_RECORDER_H

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/plane_map.h"
#include "host/drawing.h"
#include "tools/script_runner.h"
#include "vexlib/found_parts_export.h"

namespace twinfind::tool {

struct TwinRecord {
  std::vector<int> segments;  // in the order of the part's segments they paired with
  VexBox box{};
  PlaneMap motion;          // takes the part onto it, as the search laid it
  double angleDegrees = 0;  // the turn of the motion (common/plane_map.h TurnDegrees)
  bool mirrored = false;
  bool isPart = false;                             // the part itself
  std::string action = "kept";                     // kept, deleted, recoloured
  std::vector<int> copy;                           // the segments of its copy in a row; empty: none
  std::vector<std::vector<std::string>> balloons;  // the rows of the balloons on it
};

// A line of the parts list a balloon-method search adds.
struct PartsListEntry {
  std::string partNumber, material, depth;
  int count = 0, mirroredCount = 0;
};

using SettingTexts = std::vector<std::pair<std::string, std::string>>;

struct SearchRecord {
  std::string method;           // general or balloon
  std::optional<VexBox> range;  // the search range
  std::vector<int> part;
  VexBox partExtent{};
  // Name and stored text; searches in a row that ran with the same settings share one list.
  std::shared_ptr<const SettingTexts> settings;
  std::vector<TwinRecord> twins;
  std::vector<int> unmatched;  // blinking segments that are no twin of the part
  // A survey's family: the twins the command finds from the part, those in parts of other
  // families (which the family does not list) too.
  std::optional<int> found;
  std::optional<PartsListEntry> partsList;
  bool undone = false;  // its result action was taken back (undo) and not redone

  const SettingTexts& settingTexts() const;
};

// Where the recorder reads the command's last search: the module's TwinfindFoundParts, set
// when the module is loaded (or linked in). Unset, every search reads as finding nothing.
void SetFoundPartsSource(TwfFoundPartsFunc source);

class SearchRecorder {
 public:
  ScriptRunner::Observer Observer();
  // Told one line after each result action, saying what it did ("5 copies laid out in 1 row,
  // 3 twins deleted"; "6 balloons, count text 3EA").
  void TellDone(std::function<void(const std::string&)> tell) { tell_ = std::move(tell); }
  // The run ends: what the last search's result action did is read now.
  void Finish();
  const std::vector<SearchRecord>& searches() const { return searches_; }
  // Only the last search is kept from now on (nothing reads the earlier ones: no report, no
  // blocks), so that a long run does not grow by a record a search.
  void KeepLastOnly() { keepLastOnly_ = true; }

 private:
  void Before(const UserAction& action);
  void After(const UserAction& action);
  void OpenSearch(const UserAction& range, const TwfFoundParts& found,
                  const std::set<std::pair<int, int>>& blinking);
  // The copies the last search's result action made, while the module still holds them.
  void TakeCopies(const TwfFoundParts& found);
  void CloseSearch();
  // What each twin of the open search became (deleted, recoloured, kept), read from the drawing.
  void ReadActions(SearchRecord& record) const;
  // The line that says what the open search's result action did.
  std::string WhatItDid() const;
  // The command (re)started: the next range is the search range.
  void CommandStarted();
  // An undo or redo: the search whose result action it takes back or brings again.
  void UndoOrRedo(bool undo);

  std::vector<SearchRecord> searches_;
  bool keepLastOnly_ = false;
  size_t dropped_ = 0;  // records let go before searches_[0]: a search's number less searches_'s
  bool open_ = false;
  int lastIdAtOpen_ = 0;                        // segments made later are the action's
  std::map<int, std::vector<LineAttr>> looks_;  // the twins' line attributes at the search
  uint32_t openSearch_ = 0;                     // the module's number of the open record's search
  uint32_t searchesBefore_ = 0;                 // the module's count of searches before the action
  bool awaitingSearchRange_ = true;
  std::optional<VexBox> searchRange_;
  std::set<std::pair<int, int>> blinkBefore_;
  bool wasActive_ = false;
  bool keyinStep_ = false;
  size_t promptsBefore_ = 0;
  // The answers at the typed-input steps since the last search: a text, or nothing for the
  // end button.
  std::vector<std::optional<std::u16string>> answers_;
  std::string material_, depth_;
  // The searches whose result actions can be undone (the newest last) and redone (the next
  // last), as the host's undo history keeps them; the kept-state counter before an action.
  std::vector<size_t> done_, undone_;
  uint64_t keptBefore_ = 0;
  std::function<void(const std::string&)> tell_;
};

}  // namespace twinfind::tool

#endif  // TOOLS_SEARCH_RECORDER_H
