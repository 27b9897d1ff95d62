#include <shlobj.h>
#include <windows.h>

#include "platform/files.h"
#include "platform/user_files.h"

namespace platform {

std::string userFilesFolder() {
    char path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return std::string(path) + "\\Tarnwick";
}

bool makePrivateFolder(const std::string& folder) {
    if (folder.empty()) return false;
    // The local application data folder is the user's own by its access list, and so is every
    // folder made inside it. Levels that exist already (the drive among them) fail harmlessly.
    for (size_t slash = folder.find('\\'); slash != std::string::npos;
         slash = folder.find('\\', slash + 1))
        ::CreateDirectoryA(folder.substr(0, slash).c_str(), nullptr);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return dirExists(folder);
}

std::string instanceFolder() {
    const std::string folder = userFilesFolder();
    return makePrivateFolder(folder) ? folder : std::string();
}

}  // namespace platform
