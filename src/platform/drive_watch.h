#pragma once

#include <memory>

#include "platform/roots.h"

namespace platform {

// Tells that the drives may have changed; the caller waits on the descriptors in its own event
// loop and then lists the drives again. On Linux the drive list comes from the mount table and
// sysfs, so both are watched: the mount table under roots.procDir signals a priority event on
// every mount and unmount, and the kernel's block-device events tell of a disk pulled out
// without being unmounted. Neither needs a daemon. Windows tells a window of volumes through its
// device messages instead, and there both descriptors are -1.
class DriveWatch {
public:
    explicit DriveWatch(const Roots& roots);
    ~DriveWatch();
    DriveWatch(const DriveWatch&) = delete;
    DriveWatch& operator=(const DriveWatch&) = delete;

    // Wait for a priority (exceptional) condition on it; nothing needs reading. -1 when the table
    // could not be opened.
    int mountTable() const;
    // Wait for it to be readable, then call takeDeviceEvents. -1 when the kernel's events cannot be
    // heard.
    int deviceEvents() const;
    // Reads every pending device event, so that the descriptor waits again.
    void takeDeviceEvents();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace platform
