#pragma once

#include <string>

namespace platform {

// The machine's entry that starts Tarnwick with every user's session, which the setting
// "StartWindows" asks for.
// Linux: the desktop entry org.brindle.tarnwick.desktop in the system autostart folder
// <configDir>/autostart, which every desktop session reads.
// Windows: the value "Tarnwick" of
// HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run, which starts the program at
// every logon; below the stand-in root key when configDir names one (see RegistryRoot).
class SessionAutostart {
public:
    explicit SessionAutostart(std::string configDir);

    // Makes the entry start the program in programFolder (on), or be absent (off). False when
    // that could not be done, and for a program folder the entry cannot name (Linux: one with a
    // control character).
    bool keep(bool on, const std::string& programFolder) const;

private:
    std::string configDir_;
};

}  // namespace platform
