#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/app/colors.h"
#include "core/design/design.h"
#include "win32/window.h"

namespace twk::win32 {

class SkinnedPage;
class PictureButton;

// The pointer over one window: entering it (its first move), leaving it, and a click (pressed
// and released on it).
class PointerWatch {
public:
    struct Callbacks {
        const std::function<void()>& onEnter;
        const std::function<void()>& onLeave;
        const std::function<void()>& onClick;
    };
    // True when message was one of the pointer's, now handled.
    bool handle(HWND hwnd, UINT message, const Callbacks& callbacks);

private:
    bool tracking_ = false;
    bool pressed_ = false;
};

// A control of a page, made from its design: placed in the design's twips rectangle at the
// page's DPI, painted over the page's own surface.
class Control : public Window {
public:
    Control(SkinnedPage& page, const design::Control& design, DWORD style, DWORD exStyle = 0,
            const char* className = nullptr);

    const design::Control& design() const { return design_; }
    // Moves the control to its design rectangle at the page's DPI.
    virtual void place();
    // Moves the control to rect (twips) at the page's DPI, away from its design rectangle.
    void moveTo(const design::Rect& rect);

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Paints the control's own content over the page surface already in dc.
    virtual void paint(HDC, const RECT&) {}
    // The keyboard focus mark: a rounded frame in the skin's colour, once the keyboard moved it.
    void paintFocusMark(HDC dc, const RECT& around) const;

    SkinnedPage& page_;
    const design::Control& design_;
};

// A text in Arial at the design's size, in a colour the page may change. Pointer events go
// through to the page surface.
class Label : public Control {
public:
    Label(SkinnedPage& page, const design::Control& design, DWORD style = 0);

    void setTextColor(ColorRef color);
    ColorRef textColor() const { return color_; }
    void setCaption(const std::string& text);
    // The width its caption takes on one line, in twips at the page's DPI.
    int textWidth() const;
    // Grows to the width its text takes on one line, never narrower than designed: a
    // translation may run longer than the design's label, and must not be cut.
    void widenToText();
    // The caption of a button takes the pointer for it: hover and click as on the button.
    void takePointerFor(PictureButton& button) { button_ = &button; }

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paint(HDC dc, const RECT& client) override;
    RECT textRect(HDC dc, const RECT& client) const;

private:
    ColorRef color_;
    PictureButton* button_ = nullptr;
    PointerWatch pointer_;
};

// A caption that is itself the action: lit while the pointer moves over it, clicked by the
// pointer, Space and Enter, reached with Tab.
class TextLink : public Label {
public:
    TextLink(SkinnedPage& page, const design::Control& design);

    std::function<void()> onHover;
    std::function<void()> onClick;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paint(HDC dc, const RECT& client) override;
};

// A picture button: shows one of its pictures (skin <skin>_0 …), may have a caption label, and
// reports the pointer entering and leaving it; clicked by the pointer, Space and Enter.
class PictureButton : public Control {
public:
    PictureButton(SkinnedPage& page, const design::Control& design, Label* caption);

    void showPicture(int index);
    int shownPicture() const { return shown_; }
    Label* caption() const { return caption_; }

    std::function<void()> onEnter;
    std::function<void()> onLeave;
    std::function<void()> onClick;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paint(HDC dc, const RECT& client) override;

private:
    std::string pictureName(int index) const;

    Label* caption_;
    int shown_ = 0;
    PointerWatch pointer_;
};

// A picture that is no control.
class Picture : public Control {
public:
    Picture(SkinnedPage& page, const design::Control& design);

    // One of its pictures (skin <skin>_<index>) when it has several.
    void showPicture(int index);
    int shownPicture() const { return shown_; }

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paint(HDC dc, const RECT& client) override;

private:
    int shown_ = 0;
};

// A system entry box (one line or several) in the skin's colours. Tab leaves even a box of
// several lines; Enter makes a new line there.
class EntryBox : public Control {
public:
    EntryBox(SkinnedPage& page, const design::Control& design);

    std::string value() const { return text(); }
    void setValue(const std::string& text);
    void place() override;

    // A left click into the box, before the box handles it.
    std::function<void()> onClick;
    // The box got the keyboard focus, by a click or a key.
    std::function<void()> onFocus;
    // The focus moved from this box to another control of the page.
    std::function<void()> onFocusLost;
    // The text changed, typed or set.
    std::function<void()> onChange;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void centreText(RECT& area) const;
    void paintMargins() const;
};

// The font of every caption at pointSize for dpi: made once, kept for the program's life.
HFONT captionFont(double pointSize, int dpi);

}  // namespace twk::win32
