#include <windows.h>

#include <atomic>

#include "support/temp_registry.h"

namespace twk::test {
namespace {

// Unique among the test processes running at once and the stores of one process. Each store
// is a key of its own under Software, so no two processes share a parent they might delete.
std::string uniqueKeyName() {
    static std::atomic<int> counter{0};
    return "Software\\TarnwickTest-" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(counter++);
}

}  // namespace

TempRegistry::TempRegistry() : location_(uniqueKeyName()) {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, location_.c_str());  // left by an earlier process
}

TempRegistry::~TempRegistry() {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, location_.c_str());
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, location_.c_str());
}

bool TempRegistry::hasKey(const std::string& keyPath) const {
    HKEY key = nullptr;
    const std::string path = keyPath.empty() ? location_ : location_ + "\\" + keyPath;
    if (::RegOpenKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

}  // namespace twk::test
