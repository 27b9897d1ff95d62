// Files written with their permissions given at creation: Wine keeps no permissions set later,
// only those a file is created with (as its Linux mode), and Windows honours both.
#include <windows.h>
// After windows.h.
#include <sddl.h>

#include <filesystem>
#include <stdexcept>

#include "support/file_access.h"
#include "support/temp_dir.h"

namespace twk::test {
namespace {

// Protected DACLs, so nothing is inherited from the folder.
constexpr const char* kTrusted = "D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FA;;;OW)";
constexpr const char* kEveryoneReads = "D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FA;;;OW)(A;;FR;;;WD)";

void writeWithPermissions(const std::string& path, const std::string& bytes, const char* dacl) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(dacl, SDDL_REVISION_1, &descriptor,
                                                                nullptr))
        throw std::runtime_error("bad security descriptor");
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    ::DeleteFileA(path.c_str());
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, &attributes, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ::LocalFree(descriptor);
    DWORD written = 0;
    const bool ok =
        file != INVALID_HANDLE_VALUE &&
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    if (!ok) throw std::runtime_error("cannot write " + path);
}

}  // namespace

std::string writeTrustedFile(const std::string& path, const std::string& bytes) {
    writeWithPermissions(path, bytes, kTrusted);
    return path;
}

void letEveryoneRead(const std::string& path) {
    writeWithPermissions(path, readFile(path), kEveryoneReads);
}

}  // namespace twk::test
