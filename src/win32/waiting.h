#pragma once

#include "core/app/waiting.h"

namespace twk::win32 {

// Runs a blocking call (a mail sent, a large file written) on a worker thread while the GUI
// thread goes on painting and answering sent messages, the pointer busy; clicks and keys stay
// queued until the call has returned, so they reach the pages in the order the user gave them.
void runWhileWaiting(const std::function<void()>& work);

template <typename Work>
auto waitFor(Work&& work) {
    return waitWith(runWhileWaiting, std::forward<Work>(work));
}

}  // namespace twk::win32
