#include <fcntl.h>
#include <libudev.h>
#include <unistd.h>

#include "platform/drive_watch.h"

namespace platform {

struct DriveWatch::State {
    int mounts = -1;
    udev* context = nullptr;
    udev_monitor* monitor = nullptr;

    ~State() {
        if (monitor) udev_monitor_unref(monitor);
        if (context) udev_unref(context);
        if (mounts >= 0) ::close(mounts);
    }
};

namespace {

// The kernel's own events rather than udevd's: they come on machines without udevd, and what the
// drive list reads (sysfs and the mount table) is up to date once the kernel has spoken.
udev_monitor* openBlockMonitor(udev* context) {
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, "kernel");
    if (!monitor) return nullptr;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor, "block", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        udev_monitor_unref(monitor);
        return nullptr;
    }
    return monitor;
}

}  // namespace

DriveWatch::DriveWatch(const Roots& roots) : state_(std::make_unique<State>()) {
    state_->mounts =
        ::open(joinPath(joinPath(roots.procDir, "self"), "mounts").c_str(), O_RDONLY | O_CLOEXEC);
    state_->context = udev_new();
    if (state_->context) state_->monitor = openBlockMonitor(state_->context);
}

DriveWatch::~DriveWatch() = default;

int DriveWatch::mountTable() const { return state_->mounts; }

int DriveWatch::deviceEvents() const {
    return state_->monitor ? udev_monitor_get_fd(state_->monitor) : -1;
}

void DriveWatch::takeDeviceEvents() {
    if (!state_->monitor) return;
    // The monitor's socket does not block: it answers nothing once the queue is empty.
    while (udev_device* device = udev_monitor_receive_device(state_->monitor))
        udev_device_unref(device);
}

}  // namespace platform
