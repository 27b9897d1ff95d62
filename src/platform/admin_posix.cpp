#include <grp.h>
#include <unistd.h>

#include <vector>

#include "platform/admin.h"

namespace platform {

AdminToken currentAdminToken() {
    AdminToken token;
    token.superUser = ::geteuid() == 0;
    int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<size_t>(count) : 0);
    if (count > 0) count = ::getgroups(count, groups.data());
    groups.resize(count > 0 ? static_cast<size_t>(count) : 0);
    groups.push_back(::getegid());
    for (gid_t gid : groups) {
        if (const group* entry = ::getgrgid(gid)) token.groupNames.emplace_back(entry->gr_name);
    }
    return token;
}

}  // namespace platform
