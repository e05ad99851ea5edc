// A switch that makes the host's calls fail on purpose, so that tests can see what the plug-in
// does when any host call fails: the Nth call of a named function returns that function's
// failure value (-1, null, or 0 for the yes/no questions) without doing anything. While
// watching, the switch also counts every call and every place in the caller a call came from.
#ifndef HOST_FAULT_SWITCH_H
#define HOST_FAULT_SWITCH_H

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace vexhost {

class FaultSwitch {
 public:
  // Starts counting calls; when `function` is not empty, its `nth` call (from 1) fails.
  void Watch(std::string_view function = {}, int nth = 0);
  // Stops counting; no call fails.
  void Stop() { watching_ = false; }

  // The calls since Watch, by function, and the distinct call sites (function, return
  // address in the caller).
  const std::map<std::string, int>& calls() const { return calls_; }
  const std::set<std::pair<std::string, const void*>>& sites() const { return sites_; }
  // Whether the armed call has been reached (and failed).
  bool fired() const { return fired_; }

  // Called at the start of a host call: true when this call must fail.
  bool Fails(const char* function, const void* caller) {
    return watching_ && Count(function, caller);
  }

 private:
  bool Count(const char* function, const void* caller);

  bool watching_ = false;
  std::string armed_;
  int nth_ = 0;
  bool fired_ = false;
  std::map<std::string, int> calls_;
  std::set<std::pair<std::string, const void*>> sites_;
};

}  // namespace vexhost

#endif  // HOST_FAULT_SWITCH_H
