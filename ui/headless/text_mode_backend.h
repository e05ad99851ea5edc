// What the headless backend offers beyond the dialog layer: a way for tests to watch every
// open dialog as the user sees it.
#ifndef UI_HEADLESS_TEXT_MODE_BACKEND_H
#define UI_HEADLESS_TEXT_MODE_BACKEND_H

#include <functional>

#include "ui/headless/dialog_snapshot.h"

namespace twinfind::ui {

// Called with the open dialog each time it is shown: once it has opened, and after each
// action on it that did not end it. An empty function stops the calls.
using DialogObserver = std::function<void(const DialogSnapshot&)>;
void SetHeadlessDialogObserver(DialogObserver observer);

}  // namespace twinfind::ui

#endif  // UI_HEADLESS_TEXT_MODE_BACKEND_H
