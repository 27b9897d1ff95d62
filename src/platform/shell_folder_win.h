#pragma once

#include <shlobj.h>
#include <windows.h>

#include <string>

namespace platform {

// The shell's folder of that kind (CSIDL_APPDATA, CSIDL_COMMON_APPDATA...); empty when it has
// none.
inline std::string shellFolder(int kind) {
    char path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, kind, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

}  // namespace platform
