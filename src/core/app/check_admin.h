#pragma once

#include "core/app/vb_bool.h"
#include "platform/admin.h"

namespace twk::CheckAdmin {

// Whether the token belongs to an administrator: the super user (on Windows: a token holding the
// Administrators group), or a member of one of the groups root, sudo, wheel or admin. Every group
// is looked at.
VbBool isAdmin(const platform::AdminToken& token);
// The same for the running process.
VbBool isAdmin();

}  // namespace twk::CheckAdmin
