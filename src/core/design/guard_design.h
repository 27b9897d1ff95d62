#pragma once

#include "core/design/design.h"

// The protection page: the protection switch and the removable drives, five rows at a time.
namespace twk::design::guard_page {

inline constexpr double kRowPointSize = 11.25;

inline constexpr Control kControls[] = {
    {.name = "AlphaImgCtl2",
     .kind = Kind::Picture,
     .rect = {480, 360, 480, 480},
     .skin = "guard_page_icon",
     .holder = "AlphaImgCtl2",
     .pictures = 1},
    // Never narrower than designed, whatever its caption.
    {.name = "lblGuard",
     .kind = Kind::CaptionLabel,
     .rect = {1200, 480, 2415, 375},
     .caption = &LangOp::lfg_pagename,
     .text = "Protection page",
     .pointSize = 14.25},
    // As wide as its caption needs, at least as designed.
    {.name = "txt_guard",
     .kind = Kind::CaptionLabel,
     .rect = {1200, 1440, 5400, 255},
     .caption = &LangOp::lfg_enableguard,
     .text = "Enable protection for USB storage devices from viruses",
     .pointSize = kRowPointSize},
    // The switch; a click on it or its caption flips it, the pointer over either lights it.
    {.name = "ch_guard",
     .kind = Kind::PictureCheckBox,
     .rect = {500, 1320, 600, 600},
     .skin = "check",
     .holder = "ch_",
     .pictures = 4,
     .label = "txt_guard"},
    // Drive row 0, repeated kRowPitch lower for every further row: usb_mini0 while protection is
    // off, usb_mini1 while it is on; the drive's root and its name.
    {.name = "imgdisk",
     .kind = Kind::Picture,
     .rect = {1440, 2760, 390, 390},
     .skin = "usb_mini",
     .holder = "usb_mini",
     .pictures = 2},
    {.name = "txtdisk",
     .kind = Kind::CaptionLabel,
     .rect = {2160, 2880, 390, 255},
     .text = "disk",
     .pointSize = kRowPointSize},
    {.name = "txtdiskname",
     .kind = Kind::CaptionLabel,
     .rect = {2880, 2880, 1005, 255},
     .text = "name disk",
     .pointSize = kRowPointSize},
    {.name = "btn_up",
     .kind = Kind::HoverButton,
     .rect = {7920, 2640, 360, 360},
     .skin = "up",
     .holder = "btn_up",
     .pictures = 2,
     .hoverEnd = HoverEnd::SurfaceMove,
     .spoken = &LangOp::lfg_spk_up},
    {.name = "btn_down",
     .kind = Kind::HoverButton,
     .rect = {7950, 5520, 360, 360},
     .skin = "down",
     .holder = "btn_down",
     .pictures = 2,
     .hoverEnd = HoverEnd::SurfaceMove,
     .spoken = &LangOp::lfg_spk_down},
    closeButton(),
};

inline constexpr std::string_view kFocusOrder[] = {"ch_guard", "btn_up", "btn_down", "cmd_close"};

inline constexpr Page kPage = {.window = "frmGuard",
                               .background = "guard_background",
                               .client = {9585, 7170},
                               .controls = kControls,
                               .focusOrder = kFocusOrder};
static_assert(isComplete(kPage));

// The drive rows lie this far apart.
inline constexpr int kRowPitch = 600;
// Mount points are longer than drive letters: the root column (from txtdisk's left) takes the
// width its visible roots need, up to kRootMaxWidth, and the name column the rest of the row up
// to kRowRight, before the scroll buttons, kColumnGap after it.
inline constexpr int kRowRight = 7740;
inline constexpr int kRootMaxWidth = 3000;
inline constexpr int kColumnGap = 180;

inline constexpr Action kClose = {.step = Action::ShowMain, .closesPage = true};

}  // namespace twk::design::guard_page
