#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/autostart.h"
#include "platform/roots.h"
#include "platform/store.h"

namespace twk {

// One setting of a save: the value the page holds, and how it came there.
struct SavedSetting {
    enum class Kind {
        Changed,   // the page changed it since the settings were loaded
        Kept,      // as loaded from the store
        FilledIn,  // a default the load filled in, the store holding no text for it
    };
    std::string name;  // its registry value name
    std::string value;
    Kind kind = Kind::Kept;
};

// A save: all twelve settings, each once.
using SaveRequest = std::vector<SavedSetting>;

// The longest value a request may carry: the longest path the system takes.
inline constexpr std::size_t kMaxSavedValue = 4095;

// The text form in which the settings helper reads a request as its caller hands it over: twelve
// lines, one per setting in any order, each "set NAME=VALUE" (changed), "keep NAME=VALUE" or
// "default NAME=VALUE" (filled in), ended by a line feed. NAME is one of the twelve registry
// value names, spelt as Save writes them; VALUE is at most kMaxSavedValue bytes, none of them a
// control character (below 0x20, or 0x7F): no value the pages write holds one, and the guard
// service and the pages' one-line boxes could not show one. Bytes from 0x80 up pass, as stored
// paths are bytes in the system's code page.
std::string formatSaveRequest(const SaveRequest& request);
// The request in that form, or nothing for any other text: an unknown, missing or repeated
// name, an over-long value, a control character, another verb, a missing line feed.
std::optional<SaveRequest> parseSaveRequest(const std::string& text);

// What a save writes, given what the store holds at that moment: a changed setting takes the
// page's value; a kept one keeps the text the store holds now; a filled-in one keeps a text the
// store holds now unless it is empty. Where the store holds no text, the page's value is
// written. So a save never reverts another writer's change to a value this page did not touch,
// and stores the defaults the page showed.
platform::RegValues settingsToWrite(const SaveRequest& request, const platform::RegValues& stored);

// Where a save lands: the settings key of a store and the machine's session autostart entry,
// which follows "StartWindows".
struct SaveTarget {
    platform::RegistryRoot store;
    std::optional<platform::SessionAutostart> autostart;  // none: no autostart entry is kept
    std::string programFolder;  // the autostart entry starts the program in this folder
};

// The machine's target: its store and autostart entry.
SaveTarget systemSaveTarget(const platform::Roots& roots, const std::string& programFolder);

// Writes the request into the target's store in one step under the store's lock, with the
// autostart entry made to follow the "StartWindows" that is written. False when anything could
// not be written; the store is then unchanged.
bool applySave(const SaveTarget& target, const SaveRequest& request);

// How a save reaches the store; true when written.
using SettingsWriter = std::function<bool(const SaveRequest&)>;

// Through the store code in this process.
SettingsWriter directSettingsWriter(SaveTarget target);
// Through the settings helper at helperPath, started with raised rights (see
// platform/privileged_save.h); true when the helper answered 0. A cancelled or refused
// authentication is a failure.
SettingsWriter helperSettingsWriter(std::string helperPath);
// How this process saves on this machine: directly where it may write the system store itself,
// otherwise through the settings helper in the program folder.
SettingsWriter machineSettingsWriter(const platform::Roots& roots,
                                     const std::string& programFolder);

}  // namespace twk
