#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/profile_string.h"

namespace platform {
namespace {

constexpr size_t kFirstRoom = 1024;
constexpr size_t kMostRoom = size_t{1} << 24;

}  // namespace

std::string readProfileString(const std::string& section, const std::string& key,
                              const std::string& file, size_t maxChars) {
    // maxChars characters and the NUL: 254 characters take the 255-byte buffer of one call.
    size_t room = std::min(maxChars, kFirstRoom);
    for (;;) {
        std::vector<char> buffer(room + 1, '\0');
        const DWORD count =
            ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(),
                                       static_cast<DWORD>(buffer.size()), file.c_str());
        // A full buffer may hold a cut value: ask again with more room, up to maxChars.
        if (count < room || room >= maxChars || room >= kMostRoom)
            return std::string(buffer.data(), count);
        room = std::min(maxChars, room * 2);
    }
}

}  // namespace platform
