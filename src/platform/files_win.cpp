#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <new>
#include <system_error>

#include "platform/files.h"
#include "platform/handle_win.h"

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

constexpr std::intptr_t kNoHandle = -1;
constexpr DWORD kReadChunk = DWORD{1} << 20;
constexpr int kNameAttempts = 100;

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

FileRead notOpened(DWORD error) {
    return failedRead(isMissing(error) ? FileRead::Outcome::Missing : FileRead::Outcome::OpenFailed,
                      static_cast<int>(error));
}

}  // namespace

ErrorCause causeOf(int error) {
    return static_cast<DWORD>(error) == ERROR_ACCESS_DENIED ? ErrorCause::NoPermission
                                                            : ErrorCause::Other;
}

void prefaultBuffer(char*, std::size_t) {}

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? "." : path.substr(0, separator);
}

// A new temporary file for target, shared with nobody while its writer has it open: a killed
// writer's file can be deleted, a live writer's cannot.
HANDLE createTemporary(const std::string& target, std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = temporaryName(target);
        HANDLE file = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

bool writeAll(HANDLE file, std::string_view data) {
    while (!data.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), kReadChunk));
        if (!::WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0) return false;
        data.remove_prefix(written);
    }
    return true;
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

bool makeDir(const std::string& path, MakeDirFailure* failure) {
    if (::CreateDirectoryA(path.c_str(), nullptr)) return true;
    const DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS && dirExists(path)) return true;
    if (failure)
        *failure = error == ERROR_FILENAME_EXCED_RANGE ? MakeDirFailure::NameTooLong
                                                       : MakeDirFailure::Other;
    return false;
}

bool removeFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

RegularFile::RegularFile(const std::string& path) : handle_(kNoHandle) {
    const DWORD attributes = attributesOf(path);
    if (attributes == kNoAttributes) {
        status_ = notOpened(::GetLastError());
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        status_ = failedRead(FileRead::Outcome::NotRegular);
        return;
    }
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        status_ = notOpened(::GetLastError());
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    LARGE_INTEGER size{};
    BY_HANDLE_FILE_INFORMATION information{};
    // Pipes, consoles and devices are no files on a disk.
    if (::GetFileType(file) != FILE_TYPE_DISK)
        status_ = failedRead(FileRead::Outcome::NotRegular);
    else if (!::GetFileSizeEx(file, &size) || !::GetFileInformationByHandle(file, &information))
        status_ = failedRead(FileRead::Outcome::ReadFailed, static_cast<int>(::GetLastError()));
    else
        status_.outcome = FileRead::Outcome::Read;
    size_ = static_cast<std::uint64_t>(size.QuadPart);
    identity_ = {information.dwVolumeSerialNumber,
                 (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

bool RegularFile::seek(std::uint64_t offset, int& error) {
    LARGE_INTEGER distance{};
    distance.QuadPart = static_cast<LONGLONG>(offset);
    if (::SetFilePointerEx(reinterpret_cast<HANDLE>(handle_), distance, nullptr, FILE_BEGIN))
        return true;
    error = static_cast<int>(::GetLastError());
    return false;
}

RegularFile::~RegularFile() {
    if (handle_ != kNoHandle) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

long long RegularFile::read(char* data, std::size_t size, int& error) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, kReadChunk));
    if (::ReadFile(reinterpret_cast<HANDLE>(handle_), data, want, &got, nullptr))
        return static_cast<long long>(got);
    error = static_cast<int>(::GetLastError());
    return -1LL;
}

std::uint64_t usableMemoryBytes() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return ::GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
}

void removeLeftoverTemporaries(const std::string& target) {
    WIN32_FIND_DATAA entry{};
    const std::string folder = folderOf(target);
    HANDLE search = ::FindFirstFileA((temporaryPrefix(target) + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        // A live writer shares its file with nobody, so only a killed writer's goes.
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            ::DeleteFileA((folder + "\\" + entry.cFileName).c_str());
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
}

FileReplacement::FileReplacement(std::string target, std::optional<unsigned>)
    : target_(std::move(target)), handle_(kNoHandle) {
    const DWORD attributes = attributesOf(target_);
    if (attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        fail("a folder is in its place");
        return;
    }
    removeLeftoverTemporaries(target_);
    HANDLE file = createTemporary(target_, temp_);
    if (file == INVALID_HANDLE_VALUE)
        failWithSystemError();
    else
        handle_ = reinterpret_cast<std::intptr_t>(file);
}

bool FileReplacement::failWithSystemError() {
    return fail(std::system_category().message(static_cast<int>(::GetLastError())));
}

bool FileReplacement::flushBuffer() {
    if (!failed_ && !writeAll(reinterpret_cast<HANDLE>(handle_), buffer_)) failWithSystemError();
    buffer_.clear();
    return !failed_;
}

bool FileReplacement::commit() {
    if (committed_ || !flushBuffer()) return false;
    HANDLE file = reinterpret_cast<HANDLE>(handle_);
    if (!::FlushFileBuffers(file)) return failWithSystemError();
    // The file must be closed before it can be moved.
    ::CloseHandle(file);
    handle_ = kNoHandle;
    if (!::MoveFileExA(temp_.c_str(), target_.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failWithSystemError();
        ::DeleteFileA(temp_.c_str());
        return false;
    }
    committed_ = true;
    return true;
}

void FileReplacement::discard() {
    if (handle_ == kNoHandle) return;
    ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = kNoHandle;
    if (!committed_) ::DeleteFileA(temp_.c_str());
}

std::string documentsFolder() {
    char path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

}  // namespace platform
