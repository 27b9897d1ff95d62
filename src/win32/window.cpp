#include "win32/window.h"

#include <commctrl.h>

#include <stdexcept>

namespace twk::win32 {
namespace {

constexpr const char* kClassName = "TarnwickWindow";
// The property that leads from a window to its object: foreign windows never carry it.
constexpr const char* kObjectProperty = "Tarnwick.Window";

HINSTANCE instance() { return ::GetModuleHandleA(nullptr); }

}  // namespace

const char* windowClassName() {
    static const bool registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = Window::procedure;
        windowClass.hInstance = instance();
        windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        return ::RegisterClassExA(&windowClass) != 0;
    }();
    if (!registered) throw std::runtime_error("cannot register the window class");
    return kClassName;
}

Window::~Window() {
    if (!hwnd_) return;
    // Messages of the destruction go to the class's default handling: this object is half gone.
    ::RemovePropA(hwnd_, kObjectProperty);
    if (subclassed_) ::RemoveWindowSubclass(hwnd_, subclassProcedure, 1);
    ::DestroyWindow(hwnd_);
}

Window* Window::of(HWND hwnd) {
    return hwnd ? static_cast<Window*>(::GetPropA(hwnd, kObjectProperty)) : nullptr;
}

void Window::create(const CreateArgs& args) {
    const bool ownClass = args.className == nullptr;
    const char* className = ownClass ? windowClassName() : args.className;
    const RECT& r = args.rect;
    // The own class routes its messages from the first one on (procedure takes this from the
    // creation parameters); another class is subclassed as soon as it exists.
    HWND hwnd = ::CreateWindowExA(args.exStyle, className, args.text.c_str(), args.style, r.left,
                                  r.top, r.right - r.left, r.bottom - r.top, args.parent, nullptr,
                                  instance(), this);
    if (!hwnd) throw std::runtime_error("cannot create a window");
    hwnd_ = hwnd;
    if (!ownClass) {
        ::SetPropA(hwnd, kObjectProperty, this);
        subclassed_ = ::SetWindowSubclass(hwnd, subclassProcedure, 1, 0) != FALSE;
    }
}

LRESULT Window::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return defaultHandling(message, wParam, lParam);
}

LRESULT Window::defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    if (subclassed_) return ::DefSubclassProc(hwnd_, message, wParam, lParam);
    return ::DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT Window::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        HWND gone = hwnd_;
        const bool subclassed = subclassed_;
        hwnd_ = nullptr;
        subclassed_ = false;
        ::RemovePropA(gone, kObjectProperty);
        if (subclassed) {
            ::RemoveWindowSubclass(gone, subclassProcedure, 1);
            return ::DefSubclassProc(gone, message, wParam, lParam);
        }
        return ::DefWindowProcA(gone, message, wParam, lParam);
    }
    return onMessage(message, wParam, lParam);
}

LRESULT CALLBACK Window::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* window =
            static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        window->hwnd_ = hwnd;
        ::SetPropA(hwnd, kObjectProperty, window);
    }
    if (Window* window = of(hwnd)) return window->dispatch(message, wParam, lParam);
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Window::subclassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR) {
    if (Window* window = of(hwnd)) return window->dispatch(message, wParam, lParam);
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void Window::setText(const std::string& text) { ::SetWindowTextA(hwnd_, text.c_str()); }

std::string Window::text() const {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(hwnd_)) + 1, '\0');
    text.resize(
        static_cast<size_t>(::GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Window::invalidate() {
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

double screenTwipsPerPixel() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

}  // namespace twk::win32
