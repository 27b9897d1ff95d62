#pragma once

// The Win32 page layer, in brief:
// - Window owns one HWND and hands every message to its virtual onMessage; there is no window
//   procedure per page. Standard controls (EDIT) are subclassed onto the same path.
// - Controls (controls.h) are small Window classes made from a design control (core/design): a
//   name, a twips rectangle, pictures, a caption, and std::function callbacks (onClick,
//   onEnter, onLeave, onHover) that the page sets.
// - SkinnedPage (page.h) is a borderless top-level window drawn by its background picture. It
//   builds every control of its design, lays them out for the window's DPI, and owns the shared
//   patterns: hover button, text link, window drag, close button, Escape, focus order.
// - A page (frm_*.h) derives from SkinnedPage, passes its design to the constructor, sets the
//   callbacks of the controls the design names and keeps only what Win32 needs beyond that.
//   To add one: write frm_x.h/.cpp like frm_info (the design's actions through
//   Navigator::run, onClose for close, Escape and the system's Close), and register it in
//   application.cpp. Controls the base does not make (combo boxes, time boxes, list views with
//   LVS_OWNERDATA) the page makes as Control subclasses and hands to adopt().
// - Navigator (navigator.h) opens and unloads pages; Application (application.h) holds the
//   services, the context and the navigator; main.cpp is WinMain with the message loop.

#include <windows.h>

#include <string>

namespace twk::win32 {

// What a window is made with.
struct CreateArgs {
    HWND parent = nullptr;
    const char* className = nullptr;  // null: the layer's own class, which paints nothing
    std::string text;
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    RECT rect{};  // pixels, in the parent's client area (the screen for a top-level window)
};

// One window: created by create, destroyed with the object. Messages reach onMessage.
class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }
    // The object of a window made by this layer; null for any other window.
    static Window* of(HWND hwnd);

    void setText(const std::string& text);
    std::string text() const;
    void invalidate();

protected:
    void create(const CreateArgs& args);
    // The default handling of the window's class (DefWindowProc, or the subclassed control's).
    virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend const char* windowClassName();
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK subclassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR data);
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    bool subclassed_ = false;
};

// A control's notification (WM_NOTIFY, WM_COMMAND) reflected by its page back to the control
// as kReflected + the message, with the same parameters: each control knows what its own mean.
inline constexpr UINT kReflected = WM_APP + 0x1c00;

// Twips per pixel of the screen's horizontal axis (15 at 96 dpi).
double screenTwipsPerPixel();

// The layer's window class: registered once, paints nothing by itself.
const char* windowClassName();

}  // namespace twk::win32
