#include "host/fault_switch.h"

namespace vexhost {

void FaultSwitch::Watch(std::string_view function, int nth) {
  watching_ = true;
  armed_ = function;
  nth_ = nth;
  fired_ = false;
  calls_.clear();
  sites_.clear();
}

bool FaultSwitch::Count(const char* function, const void* caller) {
  const int n = ++calls_[function];
  sites_.insert({function, caller});
  if (fired_ || armed_.empty() || n != nth_ || armed_ != function) return false;
  fired_ = true;
  return true;
}

}  // namespace vexhost
