#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/design/design.h"
#include "win32/controls.h"
#include "win32/window.h"

namespace twk {
class AppContext;
}

namespace twk::win32 {

// A borderless window drawn by its background picture, with every control of its design. It
// owns the patterns every page shares: the hover button, the text link, the window drag, the
// close button (Escape and the system's Close do what it does) and the focus order.
class SkinnedPage : public Window {
public:
    SkinnedPage(AppContext& context, const design::Page& design);
    ~SkinnedPage() override;

    AppContext& context() const { return context_; }
    const design::Page& design() const { return design_; }

    void show();
    void hide();
    bool isShown() const;
    void centerOnScreen();

    // The page's control of that name and class; the design guarantees it exists.
    template <typename Kind>
    Kind& control(std::string_view name) const {
        return dynamic_cast<Kind&>(*find(name));
    }
    PictureButton& button(std::string_view name) const { return control<PictureButton>(name); }
    TextLink& link(std::string_view name) const { return control<TextLink>(name); }
    Label& label(std::string_view name) const { return control<Label>(name); }
    EntryBox& box(std::string_view name) const { return control<EntryBox>(name); }

    // What a click on the named picture button or text link does.
    void onClick(std::string_view name, std::function<void()> action);
    // Every control with a caption key shows the caption table's text.
    void applyCaptions();

    // What the close button, Escape and the system's Close do; hides the page when unset.
    std::function<void()> onClose;

    int dpi() const;
    int toPixels(int twips) const;
    RECT toPixels(const design::Rect& rect) const;
    // Copies the page surface under child into dc, at the child's client origin.
    void paintSurface(HDC dc, HWND child) const;
    // True once the keyboard moved the focus in this page: only then is the focus marked.
    bool keyboardFocusShown() const { return keyboardFocus_; }
    // The message loop hands over every message for this page first: Tab, Shift+Tab, Space,
    // Enter and Escape. True when it was handled.
    bool handleDialogKey(MSG& message);

protected:
    // Takes a control the page makes itself (a combo box, a list) into the page: placed, found
    // by name, in the focus order.
    Control& adopt(std::unique_ptr<Control> control);

    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A mouse-down on the window surface, after the drag, in twips as the designs measure.
    virtual void onSurfaceMouseDown(UINT, float, float) {}
    // The pointer moved over the window surface: where each page puts its lit controls back.
    virtual void onSurfaceMouseMove() {}

private:
    Control* find(std::string_view name) const;
    void build();
    std::unique_ptr<Control> make(const design::Control& design);
    void showHover(PictureButton& button, bool lit);
    void wireHover(PictureButton& button);
    void wireLink(TextLink& link);
    void placeAll();
    void orderFocus();
    void renderSurface();
    void paint();
    void surfaceMouseDown(UINT message, LPARAM lParam);
    void followDrag(WPARAM keys, LPARAM lParam);
    void endDrag();
    void surfaceMouseMove();
    void close();

    AppContext& context_;
    const design::Page& design_;
    std::vector<std::unique_ptr<Control>> controls_;
    // The background picture at the window's size and DPI, drawn once.
    HDC surface_ = nullptr;
    HBITMAP surfaceBitmap_ = nullptr;
    HGDIOBJ surfaceOld_ = nullptr;
    bool keyboardFocus_ = false;
    // Where the left button went down on the surface, in screen pixels, while it is held and
    // the pointer has not yet moved far enough to drag.
    std::optional<POINT> dragFrom_;
};

}  // namespace twk::win32
