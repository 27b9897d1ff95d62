#pragma once

#include <string>
#include <vector>

namespace platform {

// What the administrator check looks at. Linux: whether the effective user is the super user,
// and the names of every group (primary and supplementary) of the running process. Windows:
// superUser is set when the security token (the thread's impersonation token, else the
// process's) lists the built-in Administrators group among all its groups; no names are given.
struct AdminToken {
    bool superUser = false;
    std::vector<std::string> groupNames;
};

AdminToken currentAdminToken();

}  // namespace platform
