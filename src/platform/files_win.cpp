#include <shlobj.h>
#include <windows.h>

#include <algorithm>

#include "platform/files.h"

namespace platform {
namespace {

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

DWORD attributesOf(const std::string& path) {
    return path.empty() ? kNoAttributes : ::GetFileAttributesA(path.c_str());
}

// OpenFile's record holds at most OFS_MAXPATHNAME bytes of path with its NUL.
bool opensWithOpenFile(const std::string& path) {
    OFSTRUCT scratch{};
    return ::OpenFile(path.c_str(), &scratch, OF_EXIST) != HFILE_ERROR;
}

bool opensWithCreateFile(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
}

bool listed(const WIN32_FIND_DATAA& entry) {
    constexpr DWORD kLeftOut =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (entry.dwFileAttributes & kLeftOut) == 0;
}

}  // namespace

bool dirExists(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool fileExists(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    if (attributes == kNoAttributes || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    // Longer paths do not fit OpenFile's record and would answer false for a file that exists.
    return path.size() < OFS_MAXPATHNAME ? opensWithOpenFile(path) : opensWithCreateFile(path);
}

std::vector<std::string> listFiles(const std::string& dir, bool* ok) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry{};
    HANDLE search = ::FindFirstFileA((dir + "\\*").c_str(), &entry);
    // Even an empty folder lists "." and "..", so nothing found means no readable folder.
    if (ok) *ok = search != INVALID_HANDLE_VALUE;
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (listed(entry)) names.emplace_back(entry.cFileName);
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool makeDir(const std::string& path) {
    return ::CreateDirectoryA(path.c_str(), nullptr) ||
           (::GetLastError() == ERROR_ALREADY_EXISTS && dirExists(path));
}

bool removeFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

std::string documentsFolder() {
    char path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

}  // namespace platform
