#pragma once

#include <string>
#include <vector>

namespace platform {

// What the administrator check looks at: the effective user and the names of every group
// (primary and supplementary) of the running process.
struct AdminToken {
    bool superUser = false;
    std::vector<std::string> groupNames;
};

AdminToken currentAdminToken();

}  // namespace platform
