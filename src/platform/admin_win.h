#pragma once

#include <windows.h>

namespace platform {

// True when any group of the list, however many there are, is the built-in Administrators
// group (S-1-5-32-544). Attributes are not looked at: a deny-only or disabled group counts.
bool groupsHoldAdministrators(const TOKEN_GROUPS& groups);

}  // namespace platform
