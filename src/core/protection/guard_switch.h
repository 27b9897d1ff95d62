#pragma once

#include <optional>
#include <string>

namespace twk {

// Told when the store refused the protection setting.
inline constexpr const char* kGuardNotSavedMessage =
    "The protection setting could not be saved. Check that you may change the settings.";

// The four pictures of a picture check box: off, off under the pointer, on, on under the
// pointer (ch_0 to ch_3).
enum class CheckPicture { Off = 0, OffHover = 1, On = 2, OnHover = 3 };

// What a click on the protection switch changes.
struct GuardToggle {
    std::string tag;       // the switch's new state, "1" on or "0" off
    CheckPicture picture;  // the pointer is over the switch after a click
    bool drivesProtected;  // which drive picture every row shows
    std::string isGuard;   // the setting's new value
};

// The toggle for a switch in state tag; nothing for a state that is neither "0" nor "1".
std::optional<GuardToggle> guardToggle(const std::string& tag);

// The switch picture for the pointer being over it or not; nothing for an unknown state.
std::optional<CheckPicture> guardHoverPicture(const std::string& tag, bool over);

}  // namespace twk
