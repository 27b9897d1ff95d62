#pragma once

#include <string>

#include "platform/store.h"
#include "support/temp_dir.h"

namespace twk::test {

// A settings store of the test's own: empty at the start, gone with everything in it at the end.
// Linux: a temporary configuration folder. Windows: a key of its own,
// HKEY_LOCAL_MACHINE\Software\TarnwickTest-<process>-<n>, standing in for the root key in the
// real registry.
class TempRegistry {
public:
    TempRegistry();
    ~TempRegistry();
    TempRegistry(const TempRegistry&) = delete;
    TempRegistry& operator=(const TempRegistry&) = delete;

    platform::RegistryRoot root() const { return platform::RegistryRoot(location_); }
    // True when the key exists, with or without values.
    bool hasKey(const std::string& keyPath) const;
    // Linux: the configuration folder; Windows: the stand-in root's path under
    // HKEY_LOCAL_MACHINE.
    const std::string& location() const { return location_; }

private:
#ifndef _WIN32
    TempDir folder_;
#endif
    std::string location_;
};

}  // namespace twk::test
