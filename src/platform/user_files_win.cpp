#include <windows.h>

#include "platform/files.h"
#include "platform/roots.h"
#include "platform/shell_folder_win.h"
#include "platform/user_files.h"

namespace platform {

namespace {

// Tarnwick's folder in the user's shell folder of that kind.
std::string tarnwickFolderIn(int kind) {
    const std::string folder = shellFolder(kind);
    return folder.empty() ? std::string() : joinPath(folder, "Tarnwick");
}

}  // namespace

std::string userFilesFolder() { return tarnwickFolderIn(CSIDL_LOCAL_APPDATA); }

std::string userSettingsFolder() { return tarnwickFolderIn(CSIDL_APPDATA); }

bool makePrivateFolder(const std::string& folder) {
    if (folder.empty()) return false;
    // The user's application data folders are the user's own by their access lists, and so is
    // every folder made inside them. Levels that exist already (the drive among them) fail
    // harmlessly.
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
