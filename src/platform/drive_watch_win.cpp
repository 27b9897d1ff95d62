#include "platform/drive_watch.h"

namespace platform {

struct DriveWatch::State {};

DriveWatch::DriveWatch(const Roots&) {}

DriveWatch::~DriveWatch() = default;

int DriveWatch::mountTable() const { return -1; }

int DriveWatch::deviceEvents() const { return -1; }

void DriveWatch::takeDeviceEvents() {}

}  // namespace platform
