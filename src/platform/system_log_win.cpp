#include <windows.h>

#include <cstdio>

#include "platform/reasons.h"

namespace platform {

// The debugger output is where a Windows program that has no console says why; a program
// started with its standard error redirected writes there too.
void writeSystemLog(const std::string& category, const std::string& reason) {
    const std::string line = category + ": " + reason + "\r\n";
    ::OutputDebugStringA(line.c_str());
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace platform
