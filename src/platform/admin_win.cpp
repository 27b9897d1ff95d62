#include "platform/admin_win.h"

#include <cstdint>
#include <vector>

#include "platform/admin.h"
#include "platform/handle_win.h"

namespace platform {
namespace {

// The Administrators SID, freed on every path.
class AdministratorsSid {
public:
    AdministratorsSid() {
        SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
        if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                        DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &sid_))
            sid_ = nullptr;
    }
    ~AdministratorsSid() {
        if (sid_) ::FreeSid(sid_);
    }
    AdministratorsSid(const AdministratorsSid&) = delete;
    AdministratorsSid& operator=(const AdministratorsSid&) = delete;

    PSID get() const { return sid_; }

private:
    PSID sid_ = nullptr;
};

// The thread's impersonation token, checked in the process's own security context, or else
// the process token.
bool openToken(Handle& token) {
    return ::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, token.out()) ||
           ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.out());
}

using GroupsBuffer = std::vector<std::uintptr_t>;  // whole words keep the SID pointers aligned

// The token's group list, in a buffer of the size the token asks for; empty on failure.
GroupsBuffer tokenGroups(HANDLE token) {
    DWORD length = 0;
    ::GetTokenInformation(token, TokenGroups, nullptr, 0, &length);
    if (length == 0) return {};
    GroupsBuffer buffer((length + sizeof(std::uintptr_t) - 1) / sizeof(std::uintptr_t));
    const DWORD size = static_cast<DWORD>(buffer.size() * sizeof(std::uintptr_t));
    if (!::GetTokenInformation(token, TokenGroups, buffer.data(), size, &length)) return {};
    return buffer;
}

}  // namespace

bool groupsHoldAdministrators(const TOKEN_GROUPS& groups) {
    const AdministratorsSid administrators;
    if (!administrators.get() || !::IsValidSid(administrators.get())) return false;
    for (DWORD i = 0; i < groups.GroupCount; ++i) {
        PSID sid = groups.Groups[i].Sid;
        if (sid && ::IsValidSid(sid) && ::EqualSid(sid, administrators.get())) return true;
    }
    return false;
}

bool administratorsEnabled() {
    const AdministratorsSid administrators;
    BOOL member = FALSE;
    return administrators.get() && ::CheckTokenMembership(nullptr, administrators.get(), &member) &&
           member;
}

AdminToken currentAdminToken() {
    AdminToken result;
    Handle token;
    if (!openToken(token)) return result;
    const GroupsBuffer groups = tokenGroups(token.get());
    if (groups.empty()) return result;
    result.superUser =
        groupsHoldAdministrators(*reinterpret_cast<const TOKEN_GROUPS*>(groups.data()));
    return result;
}

}  // namespace platform
