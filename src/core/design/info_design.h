#pragma once

#include <string>

#include "core/app/maker.h"
#include "core/design/design.h"
#include "core/settings/main_op.h"

// The about page: the product artwork, links to the support page and the home page, the
// Facebook and Twitter buttons, Ok and close.
namespace twk::design::info_page {

inline constexpr double kLinkPointSize = 18;

inline constexpr Control kControls[] = {
    {.name = "txtMail",
     .kind = Kind::TextLink,
     .rect = {960, 4560, 1005, 405},
     .caption = &LangOp::lfi_mail,
     .text = "E-Mail",
     .pointSize = kLinkPointSize,
     .spokenRole = SpokenRole::Link},
    {.name = "txtHome",
     .kind = Kind::TextLink,
     .rect = {960, 5160, 1755, 405},
     .caption = &LangOp::lfi_homepage,
     .text = "Homepage",
     .pointSize = kLinkPointSize,
     .spokenRole = SpokenRole::Link},
    {.name = "txtOk",
     .kind = Kind::TextLink,
     .rect = {8880, 6600, 465, 405},
     .caption = &LangOp::lfi_ok,
     .text = "Ok",
     .pointSize = kLinkPointSize},
    {.name = "cmd_facebook",
     .kind = Kind::HoverButton,
     .rect = {240, 6600, 360, 360},
     .skin = "facebook",
     .holder = "cmd_f",
     .pictures = 2,
     .spokenName = "Facebook"},
    {.name = "cmd_twitter",
     .kind = Kind::HoverButton,
     .rect = {720, 6550, 480, 480},
     .skin = "twitter",
     .holder = "cmd_t",
     .pictures = 2,
     .spokenName = "Twitter"},
    closeButton(),
    {.name = "lblTagline",
     .kind = Kind::DesignText,
     .rect = {3210, 2430, 6000, 330},
     .caption = &LangOp::lfi_tagline,
     .pointSize = 13.5,
     .color = rgb(78, 110, 113)},
    // Its text is versionText's.
    {.name = "lblVersion",
     .kind = Kind::DesignText,
     .rect = {3210, 2910, 4500, 240},
     .pointSize = 9.75,
     .color = rgb(122, 146, 148)},
};

// Down the page in reading order, the close button last.
inline constexpr std::string_view kFocusOrder[] = {"txtMail",     "txtHome", "cmd_facebook",
                                                   "cmd_twitter", "txtOk",   "cmd_close"};

inline constexpr Page kPage = {.window = "frmInfo",
                               .background = "info_background",
                               .client = {9600, 7185},
                               .controls = kControls,
                               .focusOrder = kFocusOrder};
static_assert(isComplete(kPage));

inline constexpr Action kBackToMain = {.step = Action::ShowMain, .closesPage = true};
inline constexpr ButtonAction kActions[] = {
    {"txtMail", {.step = Action::OpenPage, .page = PageId::Feedback, .closesPage = true}},
    {"txtHome", {.step = Action::OpenAddress, .address = maker::kHomePage}},
    {"cmd_facebook", {.step = Action::OpenAddress, .address = maker::kFacebookPage}},
    {"cmd_twitter", {.step = Action::OpenAddress, .address = maker::kTwitterPage}},
    {"txtOk", kBackToMain},
    {"cmd_close", kBackToMain},
};

// The version line: the language's word for it and the program's version.
inline std::string versionText(const LangOp& captions) {
    return captions.lfi_version + " " + kProgramVersion;
}

}  // namespace twk::design::info_page
