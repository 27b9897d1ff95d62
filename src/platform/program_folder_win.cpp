#include <windows.h>

#include <vector>

#include "platform/program_folder.h"

namespace platform {

std::string programFolder() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return ".";
        // A full buffer means the name was cut: ask again with more room.
        if (length < path.size()) {
            const std::string exe(path.data(), length);
            return exe.substr(0, exe.rfind('\\'));
        }
        path.resize(path.size() * 2);
    }
}

// No installed layout: the program folder holds everything, as it always has on Windows.
std::string installedProgramFolder() { return {}; }

std::string systemDataFolder() { return {}; }

}  // namespace platform
