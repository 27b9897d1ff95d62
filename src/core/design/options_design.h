#pragma once

#include "core/design/design.h"

// The options page: a General and a Mail tab over the settings, checked and stored by
// "Save changes". Each tab's panel covers the whole page, so its controls stand at page places.
namespace twk::design::options_page {

inline constexpr double kLabelPointSize = 9.75;
inline constexpr std::string_view kGeneral = "cmd_general";
inline constexpr std::string_view kMail = "cmd_mail";

// A picture check box of the options page and its caption, which runs to kCheckCaptionRight.
constexpr Control checkBox(std::string_view name, std::string_view label, int left, int top,
                           std::string_view panel) {
    return {.name = name,
            .kind = Kind::PictureCheckBox,
            .rect = {left, top, 360, 360},
            .skin = "check",
            .holder = "ch_",
            .pictures = 4,
            .label = label,
            .panel = panel};
}
constexpr Control checkCaption(std::string_view name, std::string LangOp::*caption,
                               std::string_view text, int left, int top, std::string_view panel) {
    return {.name = name,
            .kind = Kind::CaptionLabel,
            .rect = {left + 480, top + 45, 8400 - (left + 480), 270},
            .caption = caption,
            .text = text,
            .pointSize = kLabelPointSize,
            .panel = panel};
}
constexpr Control radio(std::string_view name, std::string_view label, int top) {
    return {.name = name,
            .kind = Kind::RadioButton,
            .rect = {1200, top, 300, 300},
            .skin = "radio",
            .holder = "ch_s",
            .pictures = 4,
            .label = label,
            .panel = kMail};
}
constexpr Control label(std::string_view name, Rect rect, std::string LangOp::*caption,
                        std::string_view text, std::string_view panel) {
    return {.name = name,
            .kind = Kind::CaptionLabel,
            .rect = rect,
            .caption = caption,
            .text = text,
            .pointSize = kLabelPointSize,
            .panel = panel};
}
constexpr Control box(std::string_view name, Kind kind, Rect rect, std::string_view label,
                      std::string_view panel, std::string_view frame = {}) {
    return {
        .name = name, .kind = kind, .rect = rect, .label = label, .panel = panel, .frame = frame};
}
// Active only while reports are saved; its spoken name is its folder dialog's title.
constexpr Control folderButton(std::string_view name, Rect rect, std::string LangOp::*title) {
    return {.name = name,
            .kind = Kind::PictureButton,
            .rect = rect,
            .skin = "folder",
            .holder = "chDir_",
            .pictures = 2,
            .spoken = title,
            .panel = kGeneral};
}

inline constexpr Control kControls[] = {
    // The General tab's panel.
    label("lng_txt", {720, 1860, 3000, 270}, &LangOp::lfo_lang, "Language", kGeneral),
    box("lng_cmb", Kind::ComboBox, {720, 2160, 3000, 345}, "lng_txt", kGeneral),
    checkCaption("rep_txt", &LangOp::lfo_save_rep, "Save reports", 720, 2820, kGeneral),
    checkBox("rep_ch", "rep_txt", 720, 2820, kGeneral),
    label("lblRepDir", {1200, 3360, 6600, 270}, &LangOp::lfo_dir_rep,
          "Directory for reports:", kGeneral),
    box("txtRepDir", Kind::OneLineBox, {1200, 3660, 6600, 375}, "lblRepDir", kGeneral, "b_frame0"),
    folderButton("RepDirCh", {7920, 3668, 360, 360}, &LangOp::lfo_dir_rep_title),
    label("lblQrntDir", {1200, 4200, 6600, 270}, &LangOp::lfo_dir_quar,
          "Directory for quarantine:", kGeneral),
    box("txtQrntDir", Kind::OneLineBox, {1200, 4500, 6600, 375}, "lblQrntDir", kGeneral,
        "b_frame1"),
    folderButton("QrntDirCh", {7920, 4508, 360, 360}, &LangOp::lfo_dir_quar_title),
    checkCaption("lbl_autorun", &LangOp::lfo_strt_win, "Start with Windows", 720, 5220, kGeneral),
    checkBox("ch_autorun", "lbl_autorun", 720, 5220, kGeneral),
    // The Mail tab's panel.
    checkCaption("lblSend_rep", &LangOp::lfo_send_rep, "Send reports", 720, 1860, kMail),
    checkBox("rep_send", "lblSend_rep", 720, 1860, kMail),
    label("lblrec", {1200, 2400, 4200, 270}, &LangOp::lfo_recip, "Recipient", kMail),
    // Shows the example recipient while empty.
    box("txtrec", Kind::OneLineBox, {1200, 2700, 4200, 375}, "lblrec", kMail, "b_frame3"),
    label("lblshed", {1200, 3360, 4200, 270}, &LangOp::lfo_shed, "Schedule:", kMail),
    label("lblED", {1620, 3795, 1920, 270}, &LangOp::lfo_ED, "Every day", kMail),
    radio("ch_sh0", "lblED", 3780),
    label("lblEW", {1620, 4335, 1920, 270}, &LangOp::lfo_EW, "Every week", kMail),
    radio("ch_sh1", "lblEW", 4320),
    label("lblEM", {1620, 4875, 1920, 270}, &LangOp::lfo_EM, "Every month", kMail),
    radio("ch_sh2", "lblEM", 4860),
    label("lblTime", {3720, 3795, 1560, 270}, &LangOp::lfo_time, "Time", kMail),
    box("txtTime", Kind::TimeBox, {5400, 3743, 1200, 375}, "lblTime", kMail, "frame5"),
    label("lblDayW", {3720, 4335, 1560, 270}, &LangOp::lfo_week, "Day of week", kMail),
    box("cmbDayW", Kind::ComboBox, {5400, 4283, 2400, 360}, "lblDayW", kMail),
    label("llbDayM", {3720, 4875, 1560, 270}, &LangOp::lfo_month, "Day of month", kMail),
    box("cmbDayM", Kind::ComboBox, {5400, 4823, 1200, 360}, "llbDayM", kMail),
    // Above the panels: the tabs, their marker bar, "Save changes" and close.
    {.name = "cmd_line",
     .kind = Kind::Picture,
     .rect = {240, 1320, 1500, 150},
     .skin = "marker_line",
     .holder = "cmd_line",
     .pictures = 1},
    {.name = "lblGeneral",
     .kind = Kind::CaptionLabel,
     .rect = {360, 960, 1200, 300},
     .caption = &LangOp::lfo_menu1,
     .text = "General",
     .pointSize = 12,
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Top},
    {.name = "lblMail",
     .kind = Kind::CaptionLabel,
     .rect = {1920, 960, 1200, 300},
     .caption = &LangOp::lfo_menu2,
     .text = "Mail",
     .pointSize = 12,
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Top},
    {.name = kGeneral,
     .kind = Kind::Tab,
     .rect = {720, 360, 480, 480},
     .skin = "general",
     .holder = "cmd_general_",
     .pictures = 2,
     .label = "lblGeneral"},
    {.name = kMail,
     .kind = Kind::Tab,
     .rect = {2280, 360, 480, 480},
     .skin = "mail",
     .holder = "cmd_mail_",
     .pictures = 2,
     .label = "lblMail"},
    // Ends at the save picture (kSaveRight) whatever its length.
    {.name = "txtSave",
     .kind = Kind::CaptionLabel,
     .rect = {4800, 6570, 3720, 300},
     .caption = &LangOp::lfo_save_changes,
     .text = "Save changes",
     .pointSize = 11.25,
     .hAlign = HAlign::Right},
    {.name = "img_save",
     .kind = Kind::HoverButton,
     .rect = {8760, 6480, 480, 480},
     .skin = "save_changes",
     .holder = "img_save_",
     .pictures = 2,
     .label = "txtSave"},
    closeButton(),
};

// From the tabs down through the shown panel to "Save changes".
inline constexpr std::string_view kFocusOrder[] = {
    kGeneral,    kMail,        "lng_cmb",  "rep_ch",   "txtRepDir", "RepDirCh", "txtQrntDir",
    "QrntDirCh", "ch_autorun", "rep_send", "txtrec",   "ch_sh0",    "txtTime",  "ch_sh1",
    "cmbDayW",   "ch_sh2",     "cmbDayM",  "img_save", "cmd_close"};

inline constexpr Page kPage = {.window = "frmOptions",
                               .background = "options_background",
                               .client = {9600, 7200},
                               .controls = kControls,
                               .focusOrder = kFocusOrder};
static_assert(isComplete(kPage));

// The right edge of the save caption, left of its picture.
inline constexpr int kSaveRight = 8640;
inline constexpr Action kClose = {.step = Action::ShowMain, .closesPage = true};

}  // namespace twk::design::options_page
