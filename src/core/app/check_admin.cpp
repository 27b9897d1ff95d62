#include "core/app/check_admin.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace twk::CheckAdmin {

VbBool isAdmin(const platform::AdminToken& token) {
    static constexpr std::array<std::string_view, 4> kAdminGroups = {"root", "sudo", "wheel",
                                                                     "admin"};
    if (token.superUser) return VbTrue;
    for (const std::string& group : token.groupNames) {
        if (std::find(kAdminGroups.begin(), kAdminGroups.end(), group) != kAdminGroups.end())
            return VbTrue;
    }
    return VbFalse;
}

VbBool isAdmin() { return isAdmin(platform::currentAdminToken()); }

}  // namespace twk::CheckAdmin
