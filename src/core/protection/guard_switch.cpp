#include "core/protection/guard_switch.h"

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

}  // namespace twk
