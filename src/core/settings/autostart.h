#pragma once

// The system autostart entry that starts the tray program with every desktop session on Linux,
// where "StartWindows" means that. Windows leaves starting with the system to the guard service.
#ifndef _WIN32

#include <optional>
#include <string>

namespace twk {

// The entry's file name in the autostart folder: the program's desktop id.
inline constexpr const char* kAutostartEntryName = "org.brindle.tarnwick.desktop";

// The entry that starts the program in programFolder; nothing for a folder whose path a desktop
// entry cannot hold (a control character).
std::optional<std::string> autostartEntry(const std::string& programFolder);

// Makes folder hold the entry (on) or not (off). False when that could not be done.
bool keepAutostartEntry(const std::string& folder, bool on, const std::string& programFolder);

}  // namespace twk

#endif
