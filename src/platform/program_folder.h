#pragma once

#include <string>

namespace platform {

// The folder that holds the running executable, without a trailing separator. Through
// /usr/bin/tarnwick it is the folder the link points into, where the languages and the helper
// library are.
std::string programFolder();

// The program folder of an installed Tarnwick; empty while none is installed. Linux: fixed when it
// is built. Windows: the folder the installer recorded in the program's uninstall entry under
// HKEY_LOCAL_MACHINE, which only an administrator writes and the uninstaller removes; the
// installation folder is the administrator's choice, so no fixed folder would do.
std::string installedProgramFolder();
// True when folder, a programFolder(), is the installed program's (Windows: whatever the letter
// case or short names it was started with).
bool isInstalledProgramFolder(const std::string& folder);
// The folder under which an installed Tarnwick finds the guard service's report folders, which
// its installer creates. Linux: fixed when it is built. Windows: <ProgramData>\Brindle\Tarnwick,
// the machine's data folder, beside the helper library's settings.
std::string systemDataFolder();

}  // namespace platform
