#include "win32/list_view.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "win32/page.h"
#include "win32/skin.h"

namespace twk::win32 {
namespace {

constexpr double kCellPointSize = 9;
constexpr int kIconPixels = 16;
// Wide cells (paths, hardware IDs) are cut rather than pushing every other column away.
constexpr int kMaxColumnWidth = 220;
// Room around a cell's text, and for the sort arrow beside a heading.
constexpr int kCellPadding = 16;
constexpr int kSortMarkRoom = 20;

int scaled(int pixels, int dpi) { return ::MulDiv(pixels, dpi, 96); }

// Copies at most room - 1 bytes of cell and ends them with a NUL.
void copyCell(std::string_view cell, char* text, int room) {
    if (!text || room <= 0) return;
    const std::size_t length = std::min(cell.size(), static_cast<std::size_t>(room - 1));
    std::memcpy(text, cell.data(), length);
    text[length] = '\0';
}

int textWidth(HDC dc, std::string_view text) {
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.data(),
                            static_cast<int>(std::min<std::size_t>(text.size(), 512)), &size);
    return size.cx;
}

}  // namespace

ListView::ListView(SkinnedPage& page, const design::Control& design, const std::string& rowIcon)
    : Control(
          page, design,
          WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
          0, WC_LISTVIEWA) {
    ListView_SetExtendedListViewStyle(hwnd(), LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const int size = scaled(kIconPixels, page.dpi());
    // The view owns the list and destroys it with itself.
    icons_ = ::ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 1);
    if (HICON icon = skinIcon(rowIcon, size)) {
        ::ImageList_AddIcon(icons_, icon);
        ::DestroyIcon(icon);
    }
    ListView_SetImageList(hwnd(), icons_, LVSIL_SMALL);
    place();
}

ListView::~ListView() = default;

void ListView::place() {
    Control::place();
    ::SendMessageA(hwnd(), WM_SETFONT,
                   reinterpret_cast<WPARAM>(captionFont(kCellPointSize, page_.dpi())), TRUE);
}

void ListView::setColumns() {
    while (columns_ > 0) ListView_DeleteColumn(hwnd(), --columns_);
    if (!model_) return;
    for (std::size_t column = 0; column < model_->columnCount(); ++column) {
        std::string heading(model_->heading(column));
        LVCOLUMNA entry{};
        entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        entry.pszText = heading.data();
        entry.cx = scaled(100, page_.dpi());
        entry.iSubItem = static_cast<int>(column);
        ::SendMessageA(hwnd(), LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&entry));
        ++columns_;
    }
}

void ListView::reset() {
    const bool sameColumns = model_ && columns_ == static_cast<int>(model_->columnCount());
    ::SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
    if (!sameColumns) setColumns();
    showSortMark(-1, false);
    // No LVSICF flags: the view forgets its selection and scroll position with the old rows.
    ListView_SetItemCountEx(hwnd(), model_ ? static_cast<int>(model_->rowCount()) : 0, 0);
    ListView_EnsureVisible(hwnd(), 0, FALSE);
    ListView_Scroll(hwnd(), -0x7fff, 0);
    ::SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
    refreshRows();
}

// InvalidateRect rather than ListView_RedrawItems: the latter walks every row, which takes
// minutes for a million rows under some systems.
void ListView::refreshRows() {
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    ::UpdateWindow(hwnd());
}

void ListView::showSortMark(int column, bool descending) {
    HWND headings = ListView_GetHeader(hwnd());
    for (int each = 0; each < columns_; ++each) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        ::SendMessageA(headings, HDM_GETITEMA, each, reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (each == column) item.fmt |= descending ? HDF_SORTDOWN : HDF_SORTUP;
        ::SendMessageA(headings, HDM_SETITEMA, each, reinterpret_cast<LPARAM>(&item));
    }
}

// Measures the headings and the rows in sight only: the view's own measure reads every row.
void ListView::fitColumns() {
    if (!model_) return;
    HDC dc = ::GetDC(hwnd());
    HGDIOBJ old = ::SelectObject(dc, captionFont(kCellPointSize, page_.dpi()));
    const std::size_t top = static_cast<std::size_t>(std::max(0, ListView_GetTopIndex(hwnd())));
    const std::size_t shown = static_cast<std::size_t>(ListView_GetCountPerPage(hwnd())) + 1;
    const std::size_t end = std::min(model_->rowCount(), top + shown);
    const int padding = scaled(kCellPadding, page_.dpi());
    const int limit = scaled(kMaxColumnWidth, page_.dpi());
    for (int column = 0; column < columns_; ++column) {
        const std::size_t field = static_cast<std::size_t>(column);
        int width =
            textWidth(dc, model_->heading(field)) + padding + scaled(kSortMarkRoom, page_.dpi());
        for (std::size_t row = top; row < end; ++row)
            width = std::max(width, textWidth(dc, model_->cell(row, field)) + padding);
        if (column == 0) width += scaled(kIconPixels + 4, page_.dpi());
        ListView_SetColumnWidth(hwnd(), column, std::min(width, limit));
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(hwnd(), dc);
    refreshRows();
}

void ListView::freeze() { frozen_ = true; }

void ListView::thaw() {
    frozen_ = false;
    refreshRows();
}

void ListView::fillCell(UINT mask, int row, int column, char* text, int room, int& image) const {
    const bool known = !frozen_ && model_ && row >= 0 &&
                       static_cast<std::size_t>(row) < model_->rowCount() && column >= 0;
    if (mask & LVIF_TEXT)
        copyCell(known
                     ? model_->cell(static_cast<std::size_t>(row), static_cast<std::size_t>(column))
                     : std::string_view(),
                 text, room);
    if ((mask & LVIF_IMAGE) && column == 0) image = 0;
}

LRESULT ListView::onNotify(const NMHDR& header) {
    switch (header.code) {
        case LVN_GETDISPINFOA: {
            auto& info = const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header));
            LVITEMA& item = info.item;
            fillCell(item.mask, item.iItem, item.iSubItem, item.pszText, item.cchTextMax,
                     item.iImage);
            return 0;
        }
        case LVN_GETDISPINFOW: {
            // A view that talks Unicode to its parent: the cell's bytes are in the ANSI code page.
            auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
            LVITEMW& item = info.item;
            char bytes[512];
            fillCell(item.mask, item.iItem, item.iSubItem, bytes, sizeof bytes, item.iImage);
            if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
                const int written =
                    ::MultiByteToWideChar(CP_ACP, 0, bytes, -1, item.pszText, item.cchTextMax);
                if (written == 0) item.pszText[0] = L'\0';
                item.pszText[item.cchTextMax - 1] = L'\0';
            }
            return 0;
        }
        case LVN_COLUMNCLICK:
            if (onHeadingClick)
                onHeadingClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
            return 0;
    }
    return 0;
}

LRESULT ListView::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kReflected + WM_NOTIFY:
            return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_PAINT:
        case WM_ERASEBKGND:
            return defaultHandling(message, wParam, lParam);
    }
    return Window::onMessage(message, wParam, lParam);
}

}  // namespace twk::win32
