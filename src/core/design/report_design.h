#pragma once

#include "core/design/design.h"

// The report page: the Devices and Viruses views, the date chooser, the table, "Save to disk" and
// "Send report".
namespace twk::design::report_page {

constexpr Control viewTab(std::string_view name, int left, std::string_view label) {
    return {.name = name,
            .kind = Kind::Tab,
            .rect = {left, 360, 480, 480},
            .skin = name.substr(4),  // cmd_devices: devices_0, devices_1
            .holder = name,
            .pictures = 2,
            .label = label};
}
constexpr Control viewCaption(std::string_view name, int left, int width,
                              std::string LangOp::*caption, std::string_view text) {
    return {.name = name,
            .kind = Kind::CaptionLabel,
            .rect = {left, 960, width, 270},
            .caption = caption,
            .text = text,
            .pointSize = 12,
            .hAlign = HAlign::Center,
            .vAlign = VAlign::Top};
}
// An action's caption, as wide as its text; the caption takes the focus for its picture, which
// lies below the window's bottom edge, out of sight.
constexpr Control actionCaption(std::string_view name, int left, int width,
                                std::string LangOp::*caption, std::string_view text) {
    return {.name = name,
            .kind = Kind::TextLink,
            .rect = {left, 6600, width, 255},
            .caption = caption,
            .text = text,
            .pointSize = 11.25};
}
constexpr Control actionPicture(std::string_view name, int left, std::string_view skin,
                                std::string_view holder, HoverEnd hoverEnd,
                                std::string_view label) {
    return {.name = name,
            .kind = Kind::HoverButton,
            .rect = {left, 7320, 480, 480},
            .skin = skin,
            .holder = holder,
            .pictures = 2,
            .hoverEnd = hoverEnd,
            .label = label};
}

inline constexpr Control kControls[] = {
    // The marker bar under the selected view.
    {.name = "cmd_line1",
     .kind = Kind::Picture,
     .rect = {240, 1320, 1500, 150},
     .skin = "marker_line",
     .holder = "cmd_line1",
     .pictures = 1},
    viewCaption("txtDevices", 555, 855, &LangOp::lfr_menu1, "Devices"),
    viewTab("cmd_devices", 720, "txtDevices"),
    viewCaption("txtViruses", 2100, 795, &LangOp::lfr_menu2, "Viruses"),
    viewTab("cmd_viruses", 2280, "txtViruses"),
    // The design's second marker, under the Viruses view; never shown.
    {.name = "cmd_line",
     .kind = Kind::Picture,
     .rect = {1800, 1320, 1500, 150},
     .skin = "marker_line",
     .holder = "cmd_line",
     .pictures = 1},
    {.name = "lblSort",
     .kind = Kind::CaptionLabel,
     .rect = {240, 1920, 1335, 240},
     .caption = &LangOp::lfr_sort,
     .text = "Sorted by date:",
     .pointSize = 9.75},
    // The report dates, "Choose date" (lfr_choose) while none is chosen.
    {.name = "lstDates",
     .kind = Kind::ComboBox,
     .rect = {1800, 1850, 1575, 330},
     .text = "Choose date",
     .pointSize = 9.75,
     .label = "lblSort"},
    // The search over every column, on the date chooser's line up to the table's right edge;
    // its caption ends just before the box.
    {.name = "lblSearch",
     .kind = Kind::CaptionLabel,
     .rect = {4680, 1920, 1800, 240},
     .caption = &LangOp::lfr_search,
     .text = "Search:",
     .pointSize = 9.75,
     .hAlign = HAlign::Right},
    {.name = "txtSearch",
     .kind = Kind::OneLineBox,
     .rect = {6600, 1830, 2775, 375},
     .label = "lblSearch"},
    {.name = "lstReport", .kind = Kind::ListView, .rect = {240, 2400, 9135, 3975}, .pointSize = 9},
    actionCaption("txtSave", 6600, 1185, &LangOp::lfr_save, "Save to disk"),
    actionPicture("cmdSave", 6000, "save", "cmd_save", HoverEnd::Leave, "txtSave"),
    actionCaption("txtSend", 8160, 1140, &LangOp::lfr_send, "Send report"),
    actionPicture("cmdSend", 7560, "send", "cmd_send", HoverEnd::SurfaceMove, "txtSend"),
    closeButton(),
};

inline constexpr std::string_view kFocusOrder[] = {"cmd_devices", "cmd_viruses", "lstDates",
                                                   "txtSearch",   "lstReport",   "txtSave",
                                                   "txtSend",     "cmd_close"};

inline constexpr Page kPage = {.window = "frmReport",
                               .background = "report_background",
                               .client = {9600, 7200},
                               .controls = kControls,
                               .focusOrder = kFocusOrder};
static_assert(isComplete(kPage));

inline constexpr Action kClose = {.step = Action::ShowMain, .closesPage = true};

}  // namespace twk::design::report_page
