#pragma once

#include "core/design/design.h"

// The support page: the user's address, a theme and a message, mailed to the support mailbox.
namespace twk::design::feedback_page {

inline constexpr double kLabelPointSize = 9.75;

inline constexpr Control kControls[] = {
    {.name = "feedback_page_icon",
     .kind = Kind::Picture,
     .rect = {360, 285, 480, 480},
     .skin = "feedback_page_icon",
     .holder = "feedback_page_icon",
     .pictures = 1},
    {.name = "lbl_pagename",
     .kind = Kind::CaptionLabel,
     .rect = {1020, 300, 6000, 480},
     .caption = &LangOp::lff_pagename,
     .text = "Support page",
     .pointSize = 15.75},
    {.name = "lbl_sender",
     .kind = Kind::CaptionLabel,
     .rect = {480, 1470, 4200, 270},
     .caption = &LangOp::lff_sender,
     .text = "Sender",
     .pointSize = kLabelPointSize},
    {.name = "lbl_theme",
     .kind = Kind::CaptionLabel,
     .rect = {480, 2340, 4200, 270},
     .caption = &LangOp::lff_theme,
     .text = "Theme",
     .pointSize = kLabelPointSize},
    {.name = "lbl_send",
     .kind = Kind::TextLink,
     .rect = {5790, 6540, 3300, 405},
     .caption = &LangOp::lff_send,
     .text = "Send message",
     .pointSize = 12,
     .hAlign = HAlign::Right},
    // Starts with the example sender address.
    {.name = "txtSender",
     .kind = Kind::OneLineBox,
     .rect = {480, 1755, 4200, 375},
     .label = "lbl_sender"},
    // Starts with lff_theme_text.
    {.name = "txtTheme",
     .kind = Kind::OneLineBox,
     .rect = {480, 2625, 8610, 375},
     .label = "lbl_theme"},
    // Starts with lff_msg, which also names it for screen readers.
    {.name = "txt_msg", .kind = Kind::MultiLineBox, .rect = {480, 3180, 8610, 2940}},
    closeButton(),
};

inline constexpr std::string_view kFocusOrder[] = {"txtSender", "txtTheme", "txt_msg", "lbl_send",
                                                   "cmd_close"};

inline constexpr Page kPage = {.window = "frmFeedback",
                               .background = "feedback_background",
                               .client = {9600, 7200},
                               .controls = kControls,
                               .focusOrder = kFocusOrder};
static_assert(isComplete(kPage));

// Closing goes back to the information page, where the support page is opened from.
inline constexpr Action kClose = {
    .step = Action::OpenPage, .page = PageId::Info, .closesPage = true};

}  // namespace twk::design::feedback_page
