#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Saving into the system store for an administrator whose own process may not write it: the
// settings helper beside the program is started with raised rights, takes one request as text
// and writes it; the program itself never runs with raised rights.
// Linux: the helper is started through pkexec, whose polkit action asks the administrator to
// authenticate, and reads the request on its standard input.
// Windows: the helper is started elevated through the system's elevation prompt
// (ShellExecuteExW, verb "runas"). An elevated process inherits no handle from its caller, so
// the request goes through a named pipe instead of standard input: made for this one start with
// a single instance and remote clients refused, open only to the running user and elevated
// administrators, its name the helper's one argument. Unlike a request file it leaves nothing
// behind, and nobody can change the request between its writing and the helper's reading.

// The settings helper's exit status.
enum SettingsHelperStatus {
    kHelperWritten = 0,
    kHelperRefused = 1,     // the request was refused; nothing written
    kHelperNotWritten = 2,  // the store could not be written; nothing written
};

// True when this process writes the system store itself. Linux: the super user. Windows: a
// token whose Administrators group is enabled, not only present for deny checks: an elevated
// administrator, SYSTEM, or an administrator where the system asks no elevation.
bool writesSystemStore();

// The settings helper's file in programFolder.
std::string settingsHelperPath(const std::string& programFolder);

// Starts the helper at helperPath with raised rights, hands it request and waits for it to end.
// Its exit status (Linux: pkexec's, which is the helper's once it ran, 126 or 127 when the
// authentication was dismissed or refused); nothing when it could not be started: Windows also
// when the administrator cancelled the prompt. Why a save did not happen goes to the journal.
std::optional<int> runSettingsHelper(const std::string& helperPath, const std::string& request);

// Notes in the journal what a status other than kHelperWritten from the helper itself means.
void noteSettingsHelperStatus(int status);

// In the settings helper: the request its caller handed over, read to its end. args are the
// helper's arguments after its name: none (the request is standard input) or, on Windows, the
// name of a pipe runSettingsHelper made. Nothing for other arguments, a read that failed, or
// more than maxBytes.
std::optional<std::string> settingsHelperRequest(const std::vector<std::string>& args,
                                                 std::size_t maxBytes);

// In the settings helper: the files it creates are readable by every user and the guard service,
// whatever file mode mask its caller left (Linux: the mask 022). Nothing to do on Windows, where
// the registry keeps its own access lists.
void useSharedFileModes();

}  // namespace platform
