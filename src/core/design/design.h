#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "core/app/colors.h"
#include "core/i18n/lang_op.h"

// Window designs as data: what every page layer needs to lay out and wire a page, whatever
// toolkit draws it. Names are the controls' object (window) names.
namespace twk::design {

// A place on a window, in twips from the client area's top left.
struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};
struct Size {
    int width = 0, height = 0;
};

enum class Kind {
    // Pictures <holder>0 and <holder>1 from skins <skin>_0 and <skin>_1, by the hover rule.
    HoverButton,
    // The hover button at a page's top right; Escape and closing the window do what it does.
    CloseButton,
    // A picture button whose pictures the page picks itself (a picture holder per look).
    PictureButton,
    // A text that names a button or a box; takes a button's hover colours.
    CaptionLabel,
    // A text of the window's artwork: part of the surface, no pointer events of its own.
    DesignText,
    // A caption that is itself the action, reached with Tab.
    TextLink,
    // Picture buttons holding "1" (on) or "0" in their tag; four looks (off, off lit, on, on
    // lit).
    PictureCheckBox,
    RadioButton,
    // A picture button over a view, "1" in its tag while selected; two looks.
    Tab,
    // A picture that is no control.
    Picture,
    OneLineBox,
    MultiLineBox,
    ComboBox,
    // An entry box taking a time as hh:mm.
    TimeBox,
    ListView,
};

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Middle };

// When a lit hover button goes back to its normal look; a text link always does on a move over
// the window's own surface.
enum class HoverEnd {
    Leave,        // the pointer leaves the control
    SurfaceMove,  // the pointer moves over the window's own surface
};

// How a screen reader announces a text link.
enum class SpokenRole { Button, Link };

struct Control {
    std::string_view name = {};
    Kind kind = Kind::DesignText;
    Rect rect = {};
    // The caption table's text shown once captions are applied; null for none.
    std::string LangOp::*caption = nullptr;
    // Shown before any caption is applied.
    std::string_view text = {};
    // Skin pictures <skin>_0 … <skin>_<pictures - 1>, kept by the design in the hidden picture
    // holders <holder>0 …; a single picture (pictures 1) is the skin <skin> itself.
    std::string_view skin = {};
    std::string_view holder = {};
    int pictures = 0;
    // Arial at this size; 0 for a control with no text.
    double pointSize = 0;
    ColorRef color = kDesignLabelColor;
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Middle;
    HoverEnd hoverEnd = HoverEnd::Leave;
    SpokenRole spokenRole = SpokenRole::Button;
    // Read out for a control whose text does not name it: the caption table's text, or a fixed
    // name (of a service, say) that no language changes.
    std::string LangOp::*spoken = nullptr;
    std::string_view spokenName = {};
    // The caption label that names this button or box and takes its hover colours.
    std::string_view label = {};
    // The tab whose panel shows this control; empty on every tab.
    std::string_view panel = {};
    // An entry box's text frame picture; empty: named after the box.
    std::string_view frame = {};
};

struct Page {
    std::string_view window = {};
    std::string_view background = {};
    Size client = {};
    std::span<const Control> controls = {};
    // Tab and Shift+Tab go through these controls in this order.
    std::span<const std::string_view> focusOrder = {};
};

// The control of page named name; null when the page has none.
constexpr const Control* find(const Page& page, std::string_view name) {
    for (const Control& control : page.controls)
        if (control.name == name) return &control;
    return nullptr;
}

// By name, not by pointer: the undefined-behaviour sanitizer makes a pointer test in a
// constant expression non-constant.
constexpr bool hasControl(const Page& page, std::string_view name) {
    for (const Control& control : page.controls)
        if (control.name == name) return true;
    return false;
}

constexpr bool takesFocus(const Page& page, std::string_view name) {
    for (std::string_view each : page.focusOrder)
        if (each == name) return true;
    return false;
}

// True when every name the page refers to (focus order, labels) is one of its controls; pages
// check themselves with it at compile time.
constexpr bool isComplete(const Page& page) {
    for (std::string_view name : page.focusOrder)
        if (!hasControl(page, name)) return false;
    for (const Control& control : page.controls)
        if (!control.label.empty() && !hasControl(page, control.label)) return false;
    return true;
}

constexpr bool isButton(Kind kind) {
    return kind == Kind::HoverButton || kind == Kind::CloseButton || kind == Kind::PictureButton ||
           kind == Kind::PictureCheckBox || kind == Kind::RadioButton || kind == Kind::Tab;
}

// True when caption is the label of one of the page's buttons: such a caption takes the pointer
// (hover, click) for its button; any other caption is part of the window surface.
constexpr bool namesAButton(const Page& page, std::string_view caption) {
    for (const Control& control : page.controls)
        if (control.label == caption && isButton(control.kind)) return true;
    return false;
}

// The close button at a page's top right.
constexpr Control closeButton(Rect rect = {9000, 120, 435, 435}) {
    return {.name = "cmd_close",
            .kind = Kind::CloseButton,
            .rect = rect,
            .skin = "close",
            .holder = "cmd_close",
            .pictures = 2,
            .spoken = &LangOp::lfm_spk_close};
}

// The hover rule: the picture a hover button shows, lit or not.
constexpr int hoverPicture(bool lit) { return lit ? 1 : 0; }

// A tab strip's marker bar starts this far left of the selected tab.
inline constexpr int kTabMarkerOffset = 480;

// The pages the main window and the tray menu open.
enum class PageId { Protection, Reports, Options, Info, Feedback };

// What a button or menu item does.
struct Action {
    enum Step { OpenPage, OpenAddress, HideToTray, ShowMain, Exit };
    Step step = ShowMain;
    PageId page = PageId::Info;
    const char* address = nullptr;
    // Only an administrator may open it; anybody else is told so (lfm_noadmin) and stays.
    bool adminOnly = false;
    // The main window hides when the page opens.
    bool hidesMain = false;
    // The page the control is on is unloaded: after the page it opens has come up, or before
    // the main window shows.
    bool closesPage = false;
};

struct ButtonAction {
    std::string_view control = {};
    Action action = {};
};

// The action of control among actions; null when it has none.
constexpr const Action* actionOf(std::span<const ButtonAction> actions, std::string_view control) {
    for (const ButtonAction& entry : actions)
        if (entry.control == control) return &entry.action;
    return nullptr;
}

// A menu item; one with an empty name is a separator.
struct MenuItem {
    std::string_view name = {};
    std::string LangOp::*caption = nullptr;
    Action action = {};
    // Drawn in bold, the item the menu's default action takes.
    bool isDefault = false;

    constexpr bool isSeparator() const { return name.empty(); }
};

}  // namespace twk::design
