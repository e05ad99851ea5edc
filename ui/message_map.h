// Message maps: which handler of a dialog runs for which notification of which control, as a
// table in the order the dialog lists them. The first matching entry runs.
#ifndef UI_MESSAGE_MAP_H
#define UI_MESSAGE_MAP_H

#include <array>
#include <cstddef>

#include "ui/dialog_codes.h"

namespace twinfind::ui {

template <typename D>
struct MessageMapEntry {
  int firstId;
  int lastId;
  int code;
  void (D::*handler)();             // for one control
  void (D::*rangeHandler)(int id);  // for a range of controls; gets the control's id
};

template <typename D>
constexpr MessageMapEntry<D> OnBnClicked(int id, void (D::*handler)()) {
  return {id, id, BN_CLICKED, handler, nullptr};
}
template <typename D>
constexpr MessageMapEntry<D> OnCbnSelchange(int id, void (D::*handler)()) {
  return {id, id, CBN_SELCHANGE, handler, nullptr};
}
template <typename D>
constexpr MessageMapEntry<D> OnStnClicked(int id, void (D::*handler)()) {
  return {id, id, STN_CLICKED, handler, nullptr};
}
// One notification of every control with an id in [firstId, lastId].
template <typename D>
constexpr MessageMapEntry<D> OnControlRange(int code, int firstId, int lastId,
                                            void (D::*handler)(int id)) {
  return {firstId, lastId, code, nullptr, handler};
}

// Runs the handler of the first entry for the control and notification; false when none is.
template <typename D, size_t N>
bool DispatchMessageMap(D& dialog, const std::array<MessageMapEntry<D>, N>& map, int id, int code) {
  for (const MessageMapEntry<D>& entry : map) {
    if (entry.code != code || id < entry.firstId || id > entry.lastId) continue;
    if (entry.handler != nullptr) {
      (dialog.*entry.handler)();
    } else {
      (dialog.*entry.rangeHandler)(id);
    }
    return true;
  }
  return false;
}

}  // namespace twinfind::ui

#endif  // UI_MESSAGE_MAP_H
