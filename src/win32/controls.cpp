#include "win32/controls.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "win32/page.h"
#include "win32/skin.h"

namespace twk::win32 {
namespace {

// The skin's frame colour, which also marks the control that has the keyboard focus.
constexpr COLORREF kFocusMarkColor = RGB(14, 107, 112);
// The size of the text typed into a box whose design gives none.
constexpr double kEntryPointSize = 9.75;

COLORREF colorRef(ColorRef color) { return static_cast<COLORREF>(color); }

UINT textFormat(const design::Control& design) {
    UINT format = DT_NOPREFIX | DT_WORDBREAK;
    if (design.hAlign == design::HAlign::Center) format |= DT_CENTER;
    if (design.hAlign == design::HAlign::Right) format |= DT_RIGHT;
    return format;
}

// Space and Enter reach a focused control instead of moving the focus or the default button.
bool isActivationKey(LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    return message && message->message == WM_KEYDOWN &&
           (message->wParam == VK_SPACE || message->wParam == VK_RETURN);
}

// Paints through a memory bitmap: the page surface first, then the control.
template <typename Paint>
void paintBuffered(HWND hwnd, const SkinnedPage& page, Paint&& paint) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    RECT client;
    ::GetClientRect(hwnd, &client);
    HDC buffer = ::CreateCompatibleDC(dc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = ::SelectObject(buffer, bitmap);
    page.paintSurface(buffer, hwnd);
    paint(buffer, client);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
    ::SelectObject(buffer, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(buffer);
    ::EndPaint(hwnd, &ps);
}

}  // namespace

bool PointerWatch::handle(HWND hwnd, UINT message, const Callbacks& callbacks) {
    auto call = [](const std::function<void()>& callback) {
        if (callback) callback();
    };
    switch (message) {
        case WM_MOUSEMOVE:
            if (!tracking_) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
                tracking_ = ::TrackMouseEvent(&track) != FALSE;
                call(callbacks.onEnter);
            }
            return true;
        case WM_MOUSELEAVE:
            tracking_ = false;
            pressed_ = false;
            call(callbacks.onLeave);
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            pressed_ = true;
            return true;
        case WM_LBUTTONUP:
            if (std::exchange(pressed_, false)) call(callbacks.onClick);
            return true;
    }
    return false;
}

HFONT captionFont(double pointSize, int dpi) {
    static std::map<std::pair<int, int>, HFONT> fonts;
    const int height = -static_cast<int>(std::lround(pointSize * dpi / 72.0));
    HFONT& font = fonts[{height, dpi}];
    if (!font)
        font = ::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, "Arial");
    return font;
}

Control::Control(SkinnedPage& page, const design::Control& design, DWORD style, DWORD exStyle,
                 const char* className)
    : page_(page), design_(design) {
    CreateArgs args;
    args.parent = page.hwnd();
    args.className = className;
    args.text = std::string(design.text);
    args.style = WS_CHILD | WS_VISIBLE | style;
    args.exStyle = exStyle;
    args.rect = page.toPixels(design.rect);
    create(args);
}

void Control::place() { moveTo(design_.rect); }

void Control::moveTo(const design::Rect& rect) {
    const RECT r = page_.toPixels(rect);
    ::MoveWindow(hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

LRESULT Control::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paintBuffered(hwnd(), page_, [this](HDC dc, const RECT& client) { paint(dc, client); });
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            invalidate();
            break;
    }
    return Window::onMessage(message, wParam, lParam);
}

void Control::paintFocusMark(HDC dc, const RECT& around) const {
    if (::GetFocus() != hwnd() || !page_.keyboardFocusShown()) return;
    HPEN pen = ::CreatePen(PS_SOLID, 1, kFocusMarkColor);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, around.left, around.top, around.right, around.bottom, 8, 8);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}

Label::Label(SkinnedPage& page, const design::Control& design, DWORD style)
    : Control(page, design, style), color_(design.color) {}

void Label::setTextColor(ColorRef color) {
    if (color == color_) return;
    color_ = color;
    invalidate();
}

void Label::setCaption(const std::string& text) {
    setText(text);
    invalidate();
}

LRESULT Label::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (button_) {
        if (message == WM_NCHITTEST) return HTCLIENT;
        if (pointer_.handle(hwnd(), message,
                            {button_->onEnter, button_->onLeave, button_->onClick}))
            return 0;
    } else if (message == WM_NCHITTEST) {
        // A plain caption is part of the window surface: the drag and the link reset work over it.
        return HTTRANSPARENT;
    }
    return Control::onMessage(message, wParam, lParam);
}

int Label::textWidth() const {
    HDC dc = ::GetDC(hwnd());
    HGDIOBJ old = ::SelectObject(dc, captionFont(design_.pointSize, page_.dpi()));
    const std::string caption = text();
    SIZE size{};
    ::GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(hwnd(), dc);
    return size.cx * 1440 / page_.dpi();
}

void Label::widenToText() {
    design::Rect place = design_.rect;
    const int needed = textWidth() + 1;
    if (needed <= place.width) return;
    place.width = needed;
    moveTo(place);
}

RECT Label::textRect(HDC dc, const RECT& client) const {
    RECT measured = client;
    const std::string caption = text();
    ::DrawTextA(dc, caption.c_str(), -1, &measured, textFormat(design_) | DT_CALCRECT);
    const LONG height = measured.bottom - measured.top;
    RECT placed = client;
    if (design_.vAlign == design::VAlign::Middle)
        placed.top = client.top + (client.bottom - client.top - height) / 2;
    placed.bottom = placed.top + height;
    return placed;
}

void Label::paint(HDC dc, const RECT& client) {
    HGDIOBJ old = ::SelectObject(dc, captionFont(design_.pointSize, page_.dpi()));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colorRef(color_));
    RECT place = textRect(dc, client);
    const std::string caption = text();
    ::DrawTextA(dc, caption.c_str(), -1, &place, textFormat(design_));
    ::SelectObject(dc, old);
}

TextLink::TextLink(SkinnedPage& page, const design::Control& design)
    : Label(page, design, WS_TABSTOP) {}

LRESULT TextLink::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST:
            return HTCLIENT;
        case WM_MOUSEMOVE:
            if (onHover) onHover();
            return 0;
        case WM_LBUTTONUP:
            if (onClick) onClick();
            return 0;
        case WM_GETDLGCODE:
            return isActivationKey(lParam) ? DLGC_WANTMESSAGE : 0;
        case WM_KEYDOWN:
            if ((wParam == VK_SPACE || wParam == VK_RETURN) && onClick) onClick();
            return 0;
        case WM_SETCURSOR:
            ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
            return TRUE;
    }
    return Label::onMessage(message, wParam, lParam);
}

void TextLink::paint(HDC dc, const RECT& client) {
    Label::paint(dc, client);
    HGDIOBJ old = ::SelectObject(dc, captionFont(design_.pointSize, page_.dpi()));
    RECT mark = textRect(dc, client);
    ::SelectObject(dc, old);
    paintFocusMark(dc, mark);
}

PictureButton::PictureButton(SkinnedPage& page, const design::Control& design, Label* caption)
    : Control(page, design, WS_TABSTOP), caption_(caption) {}

std::string PictureButton::pictureName(int index) const {
    if (design_.pictures <= 1) return std::string(design_.skin);
    return std::string(design_.skin) + "_" + std::to_string(index);
}

void PictureButton::showPicture(int index) {
    if (index == shown_) return;
    shown_ = index;
    invalidate();
}

LRESULT PictureButton::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (pointer_.handle(hwnd(), message, {onEnter, onLeave, onClick})) return 0;
    switch (message) {
        case WM_GETDLGCODE:
            return isActivationKey(lParam) ? DLGC_WANTMESSAGE : 0;
        case WM_KEYDOWN:
            if ((wParam == VK_SPACE || wParam == VK_RETURN) && onClick) onClick();
            return 0;
    }
    return Control::onMessage(message, wParam, lParam);
}

void PictureButton::paint(HDC dc, const RECT& client) {
    drawSkin(dc, pictureName(shown_), client);
    RECT mark = client;
    ::InflateRect(&mark, -1, -1);
    paintFocusMark(dc, mark);
}

Picture::Picture(SkinnedPage& page, const design::Control& design) : Control(page, design, 0) {}

LRESULT Picture::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST) return HTTRANSPARENT;
    return Control::onMessage(message, wParam, lParam);
}

void Picture::showPicture(int index) {
    if (index == shown_) return;
    shown_ = index;
    invalidate();
}

void Picture::paint(HDC dc, const RECT& client) {
    const std::string name = design_.pictures <= 1
                                 ? std::string(design_.skin)
                                 : std::string(design_.skin) + "_" + std::to_string(shown_);
    drawSkin(dc, name, client);
}

EntryBox::EntryBox(SkinnedPage& page, const design::Control& design)
    : Control(page, design,
              WS_TABSTOP | (design.kind == design::Kind::MultiLineBox
                                ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL
                                : ES_AUTOHSCROLL),
              0, "EDIT") {
    place();
}

void EntryBox::setValue(const std::string& text) {
    if (text != value()) setText(text);
}

void EntryBox::place() {
    Control::place();
    const double pointSize = design_.pointSize > 0 ? design_.pointSize : kEntryPointSize;
    ::SendMessageA(hwnd(), WM_SETFONT,
                   reinterpret_cast<WPARAM>(captionFont(pointSize, page_.dpi())), TRUE);
    // The text's margins follow the new font.
    ::SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A box of one line shows its text in the middle of its height: the system's box draws it at the
// top, so the room above and below becomes a margin outside its text area.
void EntryBox::centreText(RECT& area) const {
    if (design_.kind == design::Kind::MultiLineBox) return;
    HDC dc = ::GetDC(hwnd());
    HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(hwnd(), WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(hwnd(), dc);
    const LONG margin = std::max<LONG>(0, (area.bottom - area.top - metrics.tmHeight) / 2);
    area.top += margin;
    area.bottom -= margin;
}

// The margins in the box's own colour, as the system's box asks its page for it.
void EntryBox::paintMargins() const {
    HDC dc = ::GetWindowDC(hwnd());
    RECT window;
    ::GetWindowRect(hwnd(), &window);
    RECT text;
    ::GetClientRect(hwnd(), &text);
    ::MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&text), 2);
    ::OffsetRect(&text, -window.left, -window.top);
    ::OffsetRect(&window, -window.left, -window.top);
    ::ExcludeClipRect(dc, text.left, text.top, text.right, text.bottom);
    const bool editable =
        ::IsWindowEnabled(hwnd()) && !(::GetWindowLongPtrA(hwnd(), GWL_STYLE) & ES_READONLY);
    const auto brush = reinterpret_cast<HBRUSH>(
        ::SendMessageA(::GetParent(hwnd()), editable ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                       reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd())));
    ::FillRect(dc, &window, brush);
    ::ReleaseDC(hwnd(), dc);
}

LRESULT EntryBox::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            if (onClick) onClick();
            break;
        case WM_SETFOCUS:
            if (onFocus) onFocus();
            break;
        case WM_KILLFOCUS: {
            // Only a move to another control of this page restores a placeholder: a menu or
            // another window taking the focus leaves the box as the user left it.
            HWND next = reinterpret_cast<HWND>(wParam);
            if (onFocusLost && next && ::GetAncestor(next, GA_ROOT) == page_.hwnd()) onFocusLost();
            break;
        }
        case WM_GETDLGCODE: {
            // Tab leaves a box of several lines too; Enter stays in it.
            LRESULT code = defaultHandling(message, wParam, lParam);
            code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            if (design_.kind == design::Kind::MultiLineBox && key && key->message == WM_KEYDOWN &&
                key->wParam == VK_RETURN)
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        case kReflected + WM_COMMAND:
            if (HIWORD(wParam) == EN_CHANGE && onChange) onChange();
            return 0;
        case WM_NCCALCSIZE: {
            const LRESULT result = defaultHandling(message, wParam, lParam);
            // With wParam FALSE lParam is the rectangle itself, else its first one.
            centreText(*reinterpret_cast<RECT*>(lParam));
            return result;
        }
        case WM_NCPAINT:
            if (design_.kind == design::Kind::MultiLineBox) break;
            paintMargins();
            return 0;
        case WM_ENABLE:
            ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
            break;
        case WM_PAINT:
        case WM_ERASEBKGND:
            return defaultHandling(message, wParam, lParam);
    }
    return Window::onMessage(message, wParam, lParam);
}

}  // namespace twk::win32
