#include <gtest/gtest.h>

#include "core/app/check_admin.h"
#include "core/app/colors.h"
#include "core/app/services.h"
#include "core/app/tray_codes.h"
#include "core/design/main_design.h"

namespace twk {
namespace {

TEST(CheckAdminTest, SuperUserOrAnAdministratorGroupAnywhereInTheListIsAnAdministrator) {
    EXPECT_EQ(CheckAdmin::isAdmin({true, {}}), VbTrue);
    EXPECT_EQ(CheckAdmin::isAdmin({false, {"users", "sudo"}}), VbTrue);
    EXPECT_EQ(CheckAdmin::isAdmin({false, {"wheel"}}), VbTrue);
    EXPECT_EQ(CheckAdmin::isAdmin({false, {"admin"}}), VbTrue);
    EXPECT_EQ(CheckAdmin::isAdmin({false, {"users", "audio", "sudoers", "Admin"}}), VbFalse);
    EXPECT_EQ(CheckAdmin::isAdmin({false, {}}), VbFalse);
    std::vector<std::string> many(500, "users");
    many.push_back("root");
    EXPECT_EQ(CheckAdmin::isAdmin({false, many}), VbTrue) << "every group is looked at";
}

TEST(TrayCodesTest, AClickOrDoubleClickShowsTheMainWindowAndARightReleaseItsMenu) {
    using design::main_window::TrayReply;
    using design::main_window::trayReply;
    for (std::int16_t code = kTrayMouseMove; code <= kTrayMiddleDoubleClick; ++code) {
        const TrayReply expected = code == kTrayLeftUp || code == kTrayLeftDoubleClick
                                       ? TrayReply::ShowMain
                                   : code == kTrayRightUp ? TrayReply::ShowMenu
                                                          : TrayReply::Nothing;
        EXPECT_EQ(trayReply(code), expected) << "code " << code;
    }
}

TEST(TrayCodesTest, EveryMouseMessageDecodesToItsCodeAt96And120Dpi) {
    for (double twipsPerPixel : {15.0, 12.0}) {
        for (int message = 0x200; message <= 0x209; ++message) {
            const auto x = static_cast<float>(message * twipsPerPixel);
            auto code = decodeTrayEvent(x, 0.0f, twipsPerPixel);
            ASSERT_TRUE(code.has_value());
            EXPECT_EQ(*code, message - 0x200) << "message " << message << " at " << twipsPerPixel;
        }
    }
    EXPECT_EQ(decodeTrayEvent(7725.0f, 0.0f, 15.0), std::optional<std::int16_t>(3));
    EXPECT_EQ(decodeTrayEvent(6204.0f, 0.0f, 12.0), std::optional<std::int16_t>(5));
}

TEST(TrayCodesTest, OrdinaryMouseDownsRaiseNothingAndTheTipKeeps63Characters) {
    EXPECT_FALSE(decodeTrayEvent(7725.0f, 15.0f, 15.0).has_value());
    EXPECT_FALSE(decodeTrayEvent(7725.0f, -0.5f, 15.0).has_value());
    EXPECT_EQ(trayTip("Tarnwick"), "Tarnwick");
    EXPECT_EQ(trayTip(std::string(63, 't')), std::string(63, 't'));
    EXPECT_EQ(trayTip(std::string(64, 't')), std::string(63, 't'));
}

TEST(ShellRulesTest, ColoursUseTheColorRefLayoutAndOnlyWebAddressesOpen) {
    EXPECT_EQ(rgb(150, 150, 150), 0x00969696u);
    EXPECT_EQ(rgb(72, 72, 72), 0x00484848u);
    EXPECT_EQ(rgb(1, 2, 3), 0x00030201u);
    EXPECT_TRUE(isWebAddress("http://example.com/"));
    EXPECT_TRUE(isWebAddress("HTTPS://example.com/x"));
    EXPECT_FALSE(isWebAddress("file:///etc/passwd"));
    EXPECT_FALSE(isWebAddress("/usr/bin/app"));
    EXPECT_FALSE(isWebAddress("httpx://example.com"));
    EXPECT_TRUE(isOpenableAddress("mailto:support@example.com"));
    EXPECT_FALSE(isOpenableAddress("mailto"));
}

}  // namespace
}  // namespace twk
