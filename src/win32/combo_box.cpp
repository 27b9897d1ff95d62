#include "win32/combo_box.h"

#include <utility>

#include "win32/page.h"

namespace twk::win32 {
namespace {

constexpr double kEntryPointSize = 9.75;
// Room for the drop-down part below the box, in items.
constexpr int kVisibleItems = 12;

}  // namespace

ComboBox::ComboBox(SkinnedPage& page, const design::Control& design, Entry entry)
    : Control(page, design,
              WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL |
                  (entry == Entry::Editable ? CBS_DROPDOWN : CBS_DROPDOWNLIST),
              0, "COMBOBOX") {
    place();
}

void ComboBox::place() {
    // A combo box's height is that of its drop-down part too; the box itself takes the font's.
    const RECT r = page_.toPixels(design_.rect);
    const int itemHeight = r.bottom - r.top;
    ::MoveWindow(hwnd(), r.left, r.top, r.right - r.left, itemHeight * (kVisibleItems + 1), TRUE);
    ::SendMessageA(hwnd(), WM_SETFONT,
                   reinterpret_cast<WPARAM>(captionFont(
                       design_.pointSize > 0 ? design_.pointSize : kEntryPointSize, page_.dpi())),
                   TRUE);
}

void ComboBox::setItems(const std::vector<std::string>& items) {
    ::SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0);
    appendFrom(items);
}

void ComboBox::appendFrom(const std::vector<std::string>& items) {
    for (std::size_t item = static_cast<std::size_t>(count()); item < items.size(); ++item)
        ::SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[item].c_str()));
}

int ComboBox::count() const { return static_cast<int>(::SendMessageA(hwnd(), CB_GETCOUNT, 0, 0)); }

void ComboBox::select(int index) {
    ::SendMessageA(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (onChange) onChange();
}

// The text follows the pick only after its notification.
void ComboBox::picked() { ::PostMessageA(hwnd(), kReflected + WM_USER, 0, 0); }

std::string ComboBox::itemText(int index) const {
    const LRESULT length = ::SendMessageA(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::string item(static_cast<std::size_t>(length) + 1, '\0');
    ::SendMessageA(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(length));
    return item;
}

// The system's own search ignores letter case; the lists compare exactly.
int ComboBox::selectedIndex() const {
    const std::string shown = text();
    const int current = static_cast<int>(::SendMessageA(hwnd(), CB_GETCURSEL, 0, 0));
    if (current >= 0 && itemText(current) == shown) return current;
    for (int item = 0; item < count(); ++item)
        if (itemText(item) == shown) return item;
    return -1;
}

void ComboBox::setValue(const std::string& text) {
    setText(text);
    if (onChange) onChange();
}

void ComboBox::setEnabled(bool enabled) { ::EnableWindow(hwnd(), enabled ? TRUE : FALSE); }

LRESULT ComboBox::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kReflected + WM_COMMAND:
            switch (HIWORD(wParam)) {
                case CBN_SELCHANGE:
                    // While the list is down the arrow keys only move through it: the pick comes
                    // when it closes on an item.
                    if (::SendMessageA(hwnd(), CB_GETDROPPEDSTATE, 0, 0)) {
                        picking_ = true;
                        return 0;
                    }
                    picked();
                    return 0;
                case CBN_SELENDOK:
                    if (std::exchange(picking_, false)) picked();
                    return 0;
                case CBN_EDITCHANGE:
                    if (onChange) onChange();
                    return 0;
            }
            return 0;
        case kReflected + WM_USER:
            if (onChange) onChange();
            if (onSelect) onSelect();
            return 0;
        case WM_PAINT:
        case WM_ERASEBKGND:
            return defaultHandling(message, wParam, lParam);
    }
    return Window::onMessage(message, wParam, lParam);
}

}  // namespace twk::win32
