#include "core/protection/guard_switch.h"

#include <utility>

namespace twk {

std::optional<GuardToggle> guardToggle(const std::string& tag) {
    if (tag == "0") return GuardToggle{"1", CheckPicture::OnHover, true, "1"};
    if (tag == "1") return GuardToggle{"0", CheckPicture::OffHover, false, "0"};
    return std::nullopt;
}

std::optional<CheckPicture> guardHoverPicture(const std::string& tag, bool over) {
    if (tag == "0") return over ? CheckPicture::OffHover : CheckPicture::Off;
    if (tag == "1") return over ? CheckPicture::OnHover : CheckPicture::On;
    return std::nullopt;
}

bool GuardSwitch::click(const Draw& draw) { return flip(draw, WhenNotSaved::Revert); }

bool GuardSwitch::turnOnAsStored(const Draw& draw) { return flip(draw, WhenNotSaved::KeepState); }

bool GuardSwitch::flip(const Draw& draw, WhenNotSaved whenNotSaved) {
    const GuardToggle toggle = *guardToggle(tag_);
    const std::string previousTag = std::exchange(tag_, toggle.tag);
    const std::string previousSetting = std::exchange(settings_.isGuard, toggle.isGuard);
    draw(toggle.picture, false);
    if (settings_.Save()) return true;
    if (whenNotSaved == WhenNotSaved::Revert) {
        tag_ = previousTag;
        settings_.isGuard = previousSetting;
        draw(hoverPicture(true), true);
    }
    return false;
}

}  // namespace twk
