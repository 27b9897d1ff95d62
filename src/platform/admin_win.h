#pragma once

#include <windows.h>

namespace platform {

// True when any group of the list, however many there are, is the built-in Administrators
// group (S-1-5-32-544). Attributes are not looked at: a deny-only or disabled group counts.
bool groupsHoldAdministrators(const TOKEN_GROUPS& groups);

// True when the Administrators group is enabled in this thread's token, which is what writing
// HKEY_LOCAL_MACHINE takes: an elevated administrator or SYSTEM. An administrator's limited token
// holds the group only for deny checks and answers false.
bool administratorsEnabled();

}  // namespace platform
