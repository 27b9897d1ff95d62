#include <aclapi.h>
#include <windows.h>

#include "helper/mail_settings.h"
#include "platform/shell_folder_win.h"

namespace twkd {
namespace {

// Those whom an administrator trusts with a password anyway: the administrators, the system
// itself and the file's owner (who may always change the file's permissions).
bool isTrusted(PSID reader, PSID owner) {
    return (owner && ::EqualSid(reader, owner)) ||
           ::IsWellKnownSid(reader, WinBuiltinAdministratorsSid) ||
           ::IsWellKnownSid(reader, WinLocalSystemSid) ||
           ::IsWellKnownSid(reader, WinCreatorOwnerRightsSid);
}

bool grantsRead(ACCESS_MASK mask) {
    return (mask & (FILE_READ_DATA | GENERIC_READ | GENERIC_ALL | MAXIMUM_ALLOWED)) != 0;
}

// A DACL that lets anyone else read: no DACL at all, or an entry allowing someone untrusted
// to read the data.
bool dataReadableByOthers(const ACL* dacl, PSID owner) {
    if (!dacl) return true;
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        void* entry = nullptr;
        if (!::GetAce(const_cast<ACL*>(dacl), index, &entry)) return true;
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        if (grantsRead(allowed->Mask) && !isTrusted(&allowed->SidStart, owner)) return true;
    }
    return false;
}

}  // namespace

std::string mailSettingsFile(const platform::Roots& roots) {
    const std::string folder =
        roots.configDir.empty() ? platform::shellFolder(CSIDL_COMMON_APPDATA) : roots.configDir;
    // No program data folder: no file, so every key keeps its default.
    if (folder.empty()) return {};
    return platform::joinPath(platform::joinPath(folder, "Brindle"), "twkd.ini");
}

bool isReadableByOthers(const std::string& file) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD result = ::GetNamedSecurityInfoA(
        file.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
        &owner, nullptr, &dacl, nullptr, &descriptor);
    if (result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND) return false;
    // Permissions that cannot be read cannot be trusted.
    const bool readable = result != ERROR_SUCCESS || dataReadableByOthers(dacl, owner);
    if (descriptor) ::LocalFree(descriptor);
    return readable;
}

}  // namespace twkd
