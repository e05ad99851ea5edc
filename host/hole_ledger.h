// The hole items the host has handed out and not yet taken back, so that tests can prove a
// caller frees every hole record it read.
#ifndef HOST_HOLE_LEDGER_H
#define HOST_HOLE_LEDGER_H

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

#include "vexlib/vexlib.h"

namespace vexhost {

class HoleLedger {
 public:
  // A copy of the items, owned by the ledger until Free; null for none.
  HoleItem* HandOut(const std::vector<HoleItem>& items);
  // Takes back items handed out; false (and nothing happens) for anything else.
  bool Free(HoleItem* items);

  size_t outstanding() const { return live_.size(); }
  size_t handedOut() const { return handedOut_; }
  size_t freed() const { return freed_; }

 private:
  std::unordered_map<HoleItem*, std::unique_ptr<HoleItem[]>> live_;
  size_t handedOut_ = 0;
  size_t freed_ = 0;
};

}  // namespace vexhost

#endif  // HOST_HOLE_LEDGER_H
