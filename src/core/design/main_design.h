#pragma once

#include "core/app/maker.h"
#include "core/app/tray_codes.h"
#include "core/design/design.h"

// The main window: three captioned page buttons, information, home page and close; the tray menu.
namespace twk::design::main_window {

inline constexpr double kCaptionPointSize = 9.75;

inline constexpr Control kControls[] = {
    {.name = "txtguard",
     .kind = Kind::CaptionLabel,
     .rect = {1725, 3840, 1095, 270},
     .caption = &LangOp::lfm_protection,
     .text = "Protection",
     .pointSize = kCaptionPointSize,
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Top},
    {.name = "txtReport",
     .kind = Kind::CaptionLabel,
     .rect = {4260, 3840, 855, 270},
     .caption = &LangOp::lfm_reports,
     .text = "Reports",
     .pointSize = kCaptionPointSize,
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Top},
    {.name = "txtOptions",
     .kind = Kind::CaptionLabel,
     .rect = {6615, 3840, 825, 270},
     .caption = &LangOp::lfm_options,
     .text = "Options",
     .pointSize = kCaptionPointSize,
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Top},
    {.name = "lblTagline",
     .kind = Kind::DesignText,
     .rect = {0, 6720, 9600, 270},
     .caption = &LangOp::lfm_tagline,
     .pointSize = 9,
     .color = rgb(78, 113, 116),
     .hAlign = HAlign::Center},
    {.name = "cmd_home",
     .kind = Kind::HoverButton,
     .rect = {240, 240, 270, 270},
     .skin = "home",
     .holder = "cmd_home",
     .pictures = 2,
     .spoken = &LangOp::lfm_spk_home},
    {.name = "cmd_info",
     .kind = Kind::HoverButton,
     .rect = {600, 240, 270, 270},
     .skin = "info",
     .holder = "cmd_info",
     .pictures = 2,
     .spoken = &LangOp::lfm_spk_info},
    {.name = "cmd_guard",
     .kind = Kind::HoverButton,
     .rect = {2040, 3240, 480, 480},
     .skin = "guard",
     .holder = "img_guard",
     .pictures = 2,
     .label = "txtguard"},
    {.name = "cmd_report",
     .kind = Kind::HoverButton,
     .rect = {4440, 3210, 510, 510},
     .skin = "report",
     .holder = "img_report",
     .pictures = 2,
     .label = "txtReport"},
    {.name = "cmd_options",
     .kind = Kind::HoverButton,
     .rect = {6840, 3240, 480, 480},
     .skin = "options",
     .holder = "img_options",
     .pictures = 2,
     .label = "txtOptions"},
    // Its pictures are the options page's close button's.
    closeButton(),
};

inline constexpr std::string_view kFocusOrder[] = {"cmd_home",   "cmd_info",    "cmd_guard",
                                                   "cmd_report", "cmd_options", "cmd_close"};

inline constexpr Page kPage = {.window = "frmMain",
                               .background = "main_background",
                               .client = {9600, 7200},
                               .controls = kControls,
                               .focusOrder = kFocusOrder};
static_assert(isComplete(kPage));

inline constexpr ButtonAction kActions[] = {
    {"cmd_guard",
     {.step = Action::OpenPage, .page = PageId::Protection, .adminOnly = true, .hidesMain = true}},
    {"cmd_report", {.step = Action::OpenPage, .page = PageId::Reports, .hidesMain = true}},
    {"cmd_options",
     {.step = Action::OpenPage, .page = PageId::Options, .adminOnly = true, .hidesMain = true}},
    {"cmd_info", {.step = Action::OpenPage, .page = PageId::Info, .hidesMain = true}},
    {"cmd_home", {.step = Action::OpenAddress, .address = maker::kHomePage}},
    {"cmd_close", {.step = Action::HideToTray}},
};

// The tray menu's name and caption; its items' captions are own texts of the caption table.
inline constexpr std::string_view kMenuName = "mnuMenu";
inline constexpr std::string_view kMenuCaption = "Menu";
inline constexpr MenuItem kTrayMenu[] = {
    {"mnuMain", &LangOp::lfm_mnu_main, {.step = Action::ShowMain}, true},
    {},
    {"mnuInfo", &LangOp::lfm_mnu_info, {.step = Action::OpenPage, .page = PageId::Info}},
    {"mnuFeedback",
     &LangOp::lfm_mnu_feedback,
     {.step = Action::OpenPage, .page = PageId::Feedback}},
    {},
    {"mnuExit", &LangOp::lfm_mnu_exit, {.step = Action::Exit}},
};

// What the main window does for an action on its tray icon. Most desktops report a click on the
// icon and never a double-click: either shows the window.
enum class TrayReply { Nothing, ShowMain, ShowMenu };
constexpr TrayReply trayReply(std::int16_t code) {
    if (code == kTrayLeftDoubleClick || code == kTrayLeftUp) return TrayReply::ShowMain;
    if (code == kTrayRightUp) return TrayReply::ShowMenu;
    return TrayReply::Nothing;
}

// The tray's tool tip.
inline constexpr const char* kTrayTip = "Tarnwick";

}  // namespace twk::design::main_window
