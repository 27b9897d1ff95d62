#pragma once

#include <string>

namespace platform {

// The folder for the files Tarnwick writes for the running user (the update check's copy of
// the version file, the report that "Send report" mails). Never the program folder, which an
// installed program cannot write and other users share. Linux: <cache home>/tarnwick, the cache
// home being XDG_CACHE_HOME when it is an absolute path and ~/.cache otherwise. Windows:
// <local application data>\Tarnwick. Empty when the user has no home folder.
std::string userFilesFolder();

// The folder for the running user's own settings of the program (how the report page's views were
// left), which, unlike the user files folder, nothing may clear. Linux: <config home>/tarnwick,
// the config home being XDG_CONFIG_HOME when it is an absolute path and ~/.config otherwise.
// Windows: <roaming application data>\Tarnwick, so that the settings follow a roaming user.
// Empty when the user has no home folder. makePrivateFolder makes it.
std::string userSettingsFolder();

// Makes sure folder exists, missing parents included, and that only the running user can enter
// it, since it holds report data. false when that cannot be made sure (a parent that is a file,
// a folder of another user): nothing may be written there then.
bool makePrivateFolder(const std::string& folder);

// The folder for the single-instance lock and the socket by which a second start reaches the
// running one: a folder only the running user can enter, so that nothing another user leaves in a
// shared place can keep Tarnwick from starting. Linux: XDG_RUNTIME_DIR when it names a folder of
// the user's own, not a link, that no one else may enter; else <user files>/run-<host name>
// (several machines may share a home folder). Windows: the user files folder. Empty when there
// is none.
std::string instanceFolder();

}  // namespace platform
