#pragma once

#include "core/design/design.h"

// The send-report dialog: mails the table that its report page shows to a typed address.
namespace twk::design::send_report_page {

inline constexpr Control kControls[] = {
    {.name = "lblPageName",
     .kind = Kind::CaptionLabel,
     .rect = {1080, 480, 1875, 330},
     .caption = &LangOp::lfsr_pagename,
     .text = "Sending report",
     .pointSize = 14.25},
    {.name = "lblRecip",
     .kind = Kind::CaptionLabel,
     .rect = {1320, 1440, 990, 270},
     .caption = &LangOp::lfsr_recip,
     .text = "Recipient",
     .pointSize = 12},
    // Shows the example recipient while empty. Its frame is a little taller than the box's
    // design (3120, 1440, 4575 x 255) and shares its centre line, so the box inside keeps the
    // design's left edge and width.
    {.name = "txtRepDir",
     .kind = Kind::OneLineBox,
     .rect = {3060, 1380, 4695, 375},
     .label = "lblRecip"},
    // As wide as its caption. It takes the focus for the send picture, of which only the top
    // shows above the bottom edge.
    {.name = "txtSend",
     .kind = Kind::TextLink,
     .rect = {6915, 2520, 1140, 255},
     .caption = &LangOp::lfsr_send,
     .text = "Send report",
     .pointSize = 11.25},
    // Lit by the pointer over it or its caption; never takes the focus.
    {.name = "cmdSend",
     .kind = Kind::HoverButton,
     .rect = {6000, 2880, 480, 480},
     .skin = "send",
     .holder = "cmd_send",
     .pictures = 2,
     .hoverEnd = HoverEnd::SurfaceMove,
     .label = "txtSend"},
    closeButton({7800, 120, 435, 435}),
};

inline constexpr std::string_view kFocusOrder[] = {"txtRepDir", "txtSend", "cmd_close"};

inline constexpr Page kPage = {.window = "frmSendReport",
                               .background = "sendreport_background",
                               .client = {8385, 3000},
                               .controls = kControls,
                               .focusOrder = kFocusOrder};
static_assert(isComplete(kPage));

}  // namespace twk::design::send_report_page
