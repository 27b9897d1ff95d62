#include <windows.h>

#include <atomic>

#include "support/temp_registry.h"

namespace twk::test {
namespace {

constexpr const char* kTestsKey = "Software\\TarnwickTests";

// Unique among the test processes running at once and the stores of one process.
std::string uniqueKeyName() {
    static std::atomic<int> counter{0};
    return std::string(kTestsKey) + "\\" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(counter++);
}

}  // namespace

TempRegistry::TempRegistry() : location_(uniqueKeyName()) {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, location_.c_str());  // left by an earlier process
}

TempRegistry::~TempRegistry() {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, location_.c_str());
    // Succeeds only once no other store is left below it.
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestsKey);
}

bool TempRegistry::hasKey(const std::string& keyPath) const {
    HKEY key = nullptr;
    const std::string path = keyPath.empty() ? location_ : location_ + "\\" + keyPath;
    if (::RegOpenKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

}  // namespace twk::test
