#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/settings/main_op.h"

namespace twk {

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

// The protection page's switch: its state and the protection setting it stores. The page draws
// the switch (its picture, its caption's colour) and the drive pictures as it leaves them.
class GuardSwitch {
public:
    // Draws the switch after a change: its picture, and its caption highlighted or left as it is.
    using Draw = std::function<void(CheckPicture picture, bool highlightCaption)>;

    explicit GuardSwitch(MainOp& settings) : settings_(settings) {}

    // "1" on, "0" off; off as designed until the stored state is taken.
    const std::string& tag() const { return tag_; }
    bool drivesProtected() const { return tag_ == "1"; }
    CheckPicture hoverPicture(bool over) const { return *guardHoverPicture(tag_, over); }

    // A click: the switch flips, is drawn, and every setting is stored (the save may wait for the
    // user, the page showing the new state). Should the store refuse, the stored state comes back
    // and is drawn: a state that was not stored is never shown. False when refused.
    bool click(const Draw& draw);
    // The page opens on the stored state: on only when stored as "1".
    bool storedOn() const { return settings_.isGuard == "1"; }
    // Stored on: the switch turns on, is drawn, and the settings are saved as they are; should the
    // store refuse that, the switch still shows the stored state. False when refused.
    bool turnOnAsStored(const Draw& draw);

private:
    enum class WhenNotSaved { Revert, KeepState };
    bool flip(const Draw& draw, WhenNotSaved whenNotSaved);

    MainOp& settings_;
    std::string tag_ = "0";
};

}  // namespace twk
