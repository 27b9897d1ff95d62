#include "win32/page.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "core/app/app_context.h"
#include "core/app/twips.h"
#include "win32/skin.h"

namespace twk::win32 {
namespace {

// Labels come first, so that the buttons they name can find them.
bool isText(design::Kind kind) {
    return kind == design::Kind::CaptionLabel || kind == design::Kind::DesignText;
}

HBRUSH entryBrush() {
    static HBRUSH brush = ::CreateSolidBrush(static_cast<COLORREF>(kEntryBackColor));
    return brush;
}

}  // namespace

SkinnedPage::SkinnedPage(AppContext& context, const design::Page& design)
    : context_(context), design_(design) {
    CreateArgs args;
    args.text = kAppTitle;
    // A tool window stays out of the task list, as the program's windows should.
    args.style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU;
    args.exStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
    args.rect = {0, 0, twipsToPixels(design.client.width), twipsToPixels(design.client.height)};
    create(args);
    // Sized again now that the window knows the DPI of its screen.
    const RECT client = toPixels(design::Rect{0, 0, design.client.width, design.client.height});
    ::SetWindowPos(hwnd(), nullptr, 0, 0, client.right, client.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageA(hwnd(), WM_SETICON, ICON_BIG,
                   reinterpret_cast<LPARAM>(skinIcon("app_icon", ::GetSystemMetrics(SM_CXICON))));
    renderSurface();
    build();
    centerOnScreen();
}

SkinnedPage::~SkinnedPage() {
    // The controls go before the window that holds them.
    controls_.clear();
    if (surface_) {
        ::SelectObject(surface_, surfaceOld_);
        ::DeleteObject(surfaceBitmap_);
        ::DeleteDC(surface_);
    }
}

int SkinnedPage::dpi() const {
    const UINT windowDpi = hwnd() ? ::GetDpiForWindow(hwnd()) : 0;
    return windowDpi ? static_cast<int>(windowDpi) : 96;
}

int SkinnedPage::toPixels(int twips) const { return twipsToPixels(twips, dpi()); }

RECT SkinnedPage::toPixels(const design::Rect& rect) const {
    const int left = toPixels(rect.left);
    const int top = toPixels(rect.top);
    return {left, top, left + toPixels(rect.width), top + toPixels(rect.height)};
}

Control* SkinnedPage::find(std::string_view name) const {
    for (const auto& control : controls_)
        if (control->design().name == name) return control.get();
    return nullptr;
}

void SkinnedPage::build() {
    for (const design::Control& control : design_.controls)
        if (isText(control.kind)) controls_.push_back(make(control));
    for (const design::Control& control : design_.controls)
        if (!isText(control.kind))
            if (auto made = make(control)) controls_.push_back(std::move(made));
    orderFocus();
}

std::unique_ptr<Control> SkinnedPage::make(const design::Control& design) {
    using design::Kind;
    switch (design.kind) {
        case Kind::CaptionLabel:
        case Kind::DesignText:
            return std::make_unique<Label>(*this, design);
        case Kind::TextLink: {
            auto link = std::make_unique<TextLink>(*this, design);
            wireLink(*link);
            return link;
        }
        case Kind::HoverButton:
        case Kind::CloseButton:
        case Kind::PictureButton:
        case Kind::PictureCheckBox:
        case Kind::RadioButton:
        case Kind::Tab: {
            Label* caption = design.label.empty() ? nullptr : &label(design.label);
            auto button = std::make_unique<PictureButton>(*this, design, caption);
            if (caption) caption->takePointerFor(*button);
            // The other picture buttons pick their pictures themselves.
            if (design.kind == Kind::HoverButton || design.kind == Kind::CloseButton)
                wireHover(*button);
            if (design.kind == Kind::CloseButton) button->onClick = [this] { close(); };
            return button;
        }
        case Kind::Picture:
            return std::make_unique<Picture>(*this, design);
        case Kind::OneLineBox:
        case Kind::MultiLineBox:
            return std::make_unique<EntryBox>(*this, design);
        default:
            // Combo boxes, time boxes and lists are made by the page that has them.
            return nullptr;
    }
}

Control& SkinnedPage::adopt(std::unique_ptr<Control> control) {
    Control& adopted = *control;
    controls_.push_back(std::move(control));
    adopted.place();
    orderFocus();
    return adopted;
}

// The hover look: the highlighted picture and HighlightColor on the caption while the pointer is
// over the button, the normal picture and NormalColor after it leaves.
void SkinnedPage::showHover(PictureButton& button, bool lit) {
    button.showPicture(design::hoverPicture(lit));
    if (button.caption())
        button.caption()->setTextColor(lit ? context_.HighlightColor : context_.NormalColor);
}

// A button whose design puts it back on a move over the surface stays lit when the pointer
// leaves it for another control.
void SkinnedPage::wireHover(PictureButton& button) {
    button.onEnter = [this, &button] { showHover(button, true); };
    if (button.design().hoverEnd == design::HoverEnd::Leave)
        button.onLeave = [this, &button] { showHover(button, false); };
}

void SkinnedPage::wireLink(TextLink& link) {
    link.onHover = [this, &link] { link.setTextColor(context_.HighlightColor); };
}

// The text-link pattern: a move over the window's own surface puts every link back, and the
// hover buttons whose design says so.
void SkinnedPage::surfaceMouseMove() {
    for (const auto& control : controls_) {
        const design::Control& design = control->design();
        if (design.kind == design::Kind::TextLink)
            static_cast<TextLink&>(*control).setTextColor(context_.NormalColor);
        else if (design.hoverEnd == design::HoverEnd::SurfaceMove &&
                 (design.kind == design::Kind::HoverButton ||
                  design.kind == design::Kind::CloseButton))
            showHover(static_cast<PictureButton&>(*control), false);
    }
    onSurfaceMouseMove();
}

// Tab goes through the design's focus order: the system's dialog keys follow the z-order. A
// control the order leaves out never takes the focus.
void SkinnedPage::orderFocus() {
    for (const auto& control : controls_) {
        const auto& order = design_.focusOrder;
        if (std::find(order.begin(), order.end(), control->design().name) != order.end()) continue;
        const LONG_PTR style = ::GetWindowLongPtrA(control->hwnd(), GWL_STYLE);
        ::SetWindowLongPtrA(control->hwnd(), GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    }
    for (std::string_view name : design_.focusOrder)
        if (Control* control = find(name))
            ::SetWindowPos(control->hwnd(), HWND_BOTTOM, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SkinnedPage::onClick(std::string_view name, std::function<void()> action) {
    Control* control = find(name);
    if (auto* button = dynamic_cast<PictureButton*>(control)) button->onClick = std::move(action);
    if (auto* textLink = dynamic_cast<TextLink*>(control)) textLink->onClick = std::move(action);
}

void SkinnedPage::applyCaptions() {
    const LangOp& captions = context_.langOp;
    for (const auto& control : controls_) {
        const auto key = control->design().caption;
        if (!key) continue;
        if (auto* label = dynamic_cast<Label*>(control.get())) label->setCaption(captions.*key);
        if (auto* box = dynamic_cast<EntryBox*>(control.get())) box->setValue(captions.*key);
    }
}

void SkinnedPage::placeAll() {
    for (const auto& control : controls_) control->place();
}

void SkinnedPage::renderSurface() {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    HDC screen = ::GetDC(hwnd());
    if (surface_) {
        ::SelectObject(surface_, surfaceOld_);
        ::DeleteObject(surfaceBitmap_);
        ::DeleteDC(surface_);
    }
    surface_ = ::CreateCompatibleDC(screen);
    surfaceBitmap_ = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    surfaceOld_ = ::SelectObject(surface_, surfaceBitmap_);
    ::ReleaseDC(hwnd(), screen);
    ::FillRect(surface_, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    drawSkin(surface_, std::string(design_.background), client);
}

void SkinnedPage::paintSurface(HDC dc, HWND child) const {
    RECT area;
    ::GetClientRect(child, &area);
    POINT origin{0, 0};
    ::MapWindowPoints(child, hwnd(), &origin, 1);
    ::BitBlt(dc, 0, 0, area.right, area.bottom, surface_, origin.x, origin.y, SRCCOPY);
}

void SkinnedPage::paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd(), &ps);
    const RECT& r = ps.rcPaint;
    ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, surface_, r.left, r.top,
             SRCCOPY);
    ::EndPaint(hwnd(), &ps);
}

void SkinnedPage::show() {
    ::ShowWindow(hwnd(), SW_SHOW);
    ::SetForegroundWindow(hwnd());
}

void SkinnedPage::hide() { ::ShowWindow(hwnd(), SW_HIDE); }

bool SkinnedPage::isShown() const { return ::IsWindowVisible(hwnd()) != FALSE; }

void SkinnedPage::centerOnScreen() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT window;
    ::GetWindowRect(hwnd(), &window);
    const RECT& work = monitor.rcWork;
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    ::SetWindowPos(hwnd(), nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SkinnedPage::close() {
    if (onClose) {
        onClose();
    } else {
        hide();
    }
}

// The window drag starts only once the pointer has moved with the button held: handed to the
// system on the press itself, a quick press and release could reach the window manager after
// the release, which would then move the window with the pointer until the next click.
void SkinnedPage::surfaceMouseDown(UINT message, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    // A press on the surface takes the focus off every box: what the user types next must not
    // land in a box they did not click.
    ::SetFocus(hwnd());
    if (message == WM_LBUTTONDOWN) {
        POINT from{x, y};
        ::ClientToScreen(hwnd(), &from);
        dragFrom_ = from;
        ::SetCapture(hwnd());
    }
    const double twipsPerPixel = screenTwipsPerPixel();
    onSurfaceMouseDown(message, static_cast<float>(x * twipsPerPixel),
                       static_cast<float>(y * twipsPerPixel));
}

// Past the system's drag distance the window takes the way the pointer went so far, then the
// system moves it with the pointer, as if its title bar had been grabbed, until the button is
// released.
void SkinnedPage::followDrag(WPARAM keys, LPARAM lParam) {
    if (!dragFrom_) return;
    if (!(keys & MK_LBUTTON)) {
        endDrag();
        return;
    }
    POINT now{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ClientToScreen(hwnd(), &now);
    const int dx = now.x - dragFrom_->x;
    const int dy = now.y - dragFrom_->y;
    if (std::abs(dx) < ::GetSystemMetrics(SM_CXDRAG) &&
        std::abs(dy) < ::GetSystemMetrics(SM_CYDRAG))
        return;
    dragFrom_.reset();
    RECT window;
    ::GetWindowRect(hwnd(), &window);
    ::SetWindowPos(hwnd(), nullptr, window.left + dx, window.top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetCursor(::LoadCursorA(nullptr, IDC_SIZEALL));
    ::ReleaseCapture();
    ::SendMessageA(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(now.x, now.y));
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
}

// The button released, or the capture taken by another window: no drag follows.
void SkinnedPage::endDrag() {
    dragFrom_.reset();
    if (::GetCapture() == hwnd()) ::ReleaseCapture();
}

bool SkinnedPage::handleDialogKey(MSG& message) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && !keyboardFocus_) {
        keyboardFocus_ = true;
        if (Window* focused = Window::of(::GetFocus())) focused->invalidate();
    }
    return ::IsDialogMessageA(hwnd(), &message) != FALSE;
}

LRESULT SkinnedPage::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            surfaceMouseDown(message, lParam);
            return 0;
        case WM_MOUSEMOVE:
            followDrag(wParam, lParam);
            surfaceMouseMove();
            return 0;
        case WM_LBUTTONUP:
            endDrag();
            return 0;
        case WM_CAPTURECHANGED:
            dragFrom_.reset();
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) close();
            return 0;
        case WM_NOTIFY: {
            HWND from = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
            if (Window::of(from)) return ::SendMessageA(from, kReflected + message, wParam, lParam);
            return 0;
        }
        case WM_COMMAND:
            if (lParam && Window::of(reinterpret_cast<HWND>(lParam)))
                return ::SendMessageA(reinterpret_cast<HWND>(lParam), kReflected + message, wParam,
                                      lParam);
            // Escape, as the dialog keys report it.
            if (LOWORD(wParam) == IDCANCEL) close();
            return 0;
        case WM_CLOSE:
            close();
            return 0;
        case WM_CTLCOLOREDIT:
            ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
            ::SetBkColor(reinterpret_cast<HDC>(wParam), static_cast<COLORREF>(kEntryBackColor));
            return reinterpret_cast<LRESULT>(entryBrush());
        case WM_DPICHANGED: {
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top,
                           suggested->right - suggested->left, suggested->bottom - suggested->top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            renderSurface();
            placeAll();
            ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
            return 0;
        }
    }
    return Window::onMessage(message, wParam, lParam);
}

}  // namespace twk::win32
