// What the command found and did, told from the host's side for a report: the part is what the
// range before the search selected, the twins are the segments that blink when the search is
// done (grouped by their geometry), and what the result action did is read from the drawing
// afterwards (twins deleted or recoloured, copies and balloons made). The plug-in's own match
// records are not looked at.
#ifndef TOOLS_SEARCH_RECORDER_H
#define TOOLS_SEARCH_RECORDER_H

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/drawing.h"
#include "tools/script_runner.h"

namespace twinfind::tool {

struct TwinRecord {
  std::vector<int> segments;
  VexBox box{};
  double angleDegrees = 0;
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

struct SearchRecord {
  std::string method;           // general or balloon
  std::optional<VexBox> range;  // the search range
  std::vector<int> part;
  VexBox partExtent{};
  std::vector<std::pair<std::string, std::string>> settings;  // name, stored text
  std::vector<TwinRecord> twins;
  std::vector<int> unmatched;  // blinking segments that are no twin of the part
  // A survey's family: the twins the command finds from the part, those in parts of other
  // families (which the family does not list) too.
  std::optional<int> found;
  std::optional<PartsListEntry> partsList;
  bool undone = false;  // its result action was taken back (undo) and not redone
};

class SearchRecorder {
 public:
  ScriptRunner::Observer Observer();
  // The run ends: what the last search's result action did is read now.
  void Finish();
  const std::vector<SearchRecord>& searches() const { return searches_; }

 private:
  void Before(const UserAction& action);
  void After(const UserAction& action);
  void OpenSearch(const UserAction& range, const std::set<std::pair<int, int>>& blinking);
  void CloseSearch();
  // The command (re)started: the next range is the search range.
  void CommandStarted();
  // An undo or redo: the search whose result action it takes back or brings again.
  void UndoOrRedo(bool undo);

  std::vector<SearchRecord> searches_;
  bool open_ = false;
  int lastIdAtOpen_ = 0;                        // segments made later are the action's
  std::map<int, std::vector<LineAttr>> looks_;  // the twins' line attributes at the search
  // The twins' figures as found, kept apart (each twin's segments there, in its order), so
  // that their copies are known after a result action deleted them.
  std::shared_ptr<const vexhost::Drawing> keptTwins_;
  std::vector<std::vector<int>> keptTwinIds_;
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
};

}  // namespace twinfind::tool

#endif  // TOOLS_SEARCH_RECORDER_H
