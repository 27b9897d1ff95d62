#pragma once

#include "core/app/waiting.h"

namespace twk {

// Runs a blocking call (a mail sent, a large file written, a download) on a worker thread while
// the GUI thread waits in a local event loop that leaves out user input: windows keep painting
// and answering the window manager, the pointer shows busy, and clicks and keys stay queued
// until the call has returned, so they reach the pages in the order the user gave them.
void runWhileWaiting(const std::function<void()>& work);

template <typename Work>
auto waitFor(Work&& work) {
    return waitWith(runWhileWaiting, std::forward<Work>(work));
}

// The helper library with every mail waited for as above.
class WaitingHelperLibrary : public WaitedHelperLibrary {
public:
    explicit WaitingHelperLibrary(HelperLibrary& library)
        : WaitedHelperLibrary(library, runWhileWaiting) {}
};

}  // namespace twk
