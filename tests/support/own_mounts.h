#pragma once

#include <string>

namespace twk::test {

// Moves the process into a mount namespace of its own (inside a user namespace of its own when
// it is not root), so that it can mount and unmount as a user's drives come and go while nothing
// it mounts is seen outside it. Must run before any thread starts. Empty when done, otherwise
// why not.
std::string enterOwnMountNamespace();

// A small memory file system at mountPoint that the mount table lists with source as its device,
// e.g. "/dev/sdx1"; false when the kernel refused.
bool mountAs(const std::string& source, const std::string& mountPoint);
bool unmount(const std::string& mountPoint);

// Has the kernel announce a change of one of the machine's real block devices, as it does when a
// disk comes or goes; false where the process may not (only root may).
bool announceBlockDeviceChange();

}  // namespace twk::test
