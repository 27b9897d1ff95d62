#include "win32/tray_icon.h"

#include <algorithm>
#include <cstring>

#include "core/app/tray_codes.h"
#include "win32/window.h"

namespace twk::win32 {
namespace {

// The record as the first shells knew it: the shell reads no further.
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V1_SIZE;
// The first record that holds the balloon's fields.
constexpr DWORD kBalloonRecordSize = NOTIFYICONDATAA_V2_SIZE;
constexpr size_t kTipField = 64;
// How long the balloon stays, where the shell lets the program say.
constexpr UINT kBalloonMs = 10000;

// text in field, cut after its last whole character that fits before the closing NUL.
template <size_t Size>
void setField(char (&field)[Size], const std::string& text) {
    const char* start = text.c_str();
    const char* end = start;
    while (*end) {
        const char* next = ::CharNextExA(CP_ACP, end, 0);
        if (next == end || static_cast<size_t>(next - start) >= Size) break;
        end = next;
    }
    std::memcpy(field, start, static_cast<size_t>(end - start));
    field[end - start] = '\0';
}

// The one path of the balloon's texts into the record.
void setBalloonTexts(NOTIFYICONDATAA& data, const std::string& title, const std::string& text) {
    setField(data.szInfoTitle, title);
    setField(data.szInfo, text);
}

// The shell's messages about the balloon, told on the icon's path like its mouse messages.
bool isBalloonMessage(LPARAM message) {
    return message >= NIN_BALLOONSHOW && message <= NIN_BALLOONUSERCLICK;
}

}  // namespace

// The tip, a NUL, then spaces to the end of the field.
void TrayIcon::setTip() {
    const std::string tip = trayTip(ToolTipText);
    std::memset(data_.szTip, ' ', kTipField);
    std::memcpy(data_.szTip, tip.data(), std::min(tip.size(), kTipField - 1));
    data_.szTip[std::min(tip.size(), kTipField - 1)] = '\0';
}

void TrayIcon::Add() {
    data_.hWnd = hwnd;
    data_.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(hwnd));
    data_.hIcon = Icon;
    setTip();
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kTrayCallbackMessage;
    data_.cbSize = kRecordSize;
    ::Shell_NotifyIconA(NIM_ADD, &data_);
}

void TrayIcon::Modify() {
    data_.hIcon = Icon;
    setTip();
    data_.uFlags = NIF_ICON | NIF_TIP;
    data_.cbSize = kRecordSize;
    ::Shell_NotifyIconA(NIM_MODIFY, &data_);
}

void TrayIcon::Delete() {
    data_.cbSize = kRecordSize;
    ::Shell_NotifyIconA(NIM_DELETE, &data_);
}

void TrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
    setBalloonTexts(data_, title, text);
    data_.dwInfoFlags = NIIF_INFO;
    data_.uTimeout = kBalloonMs;
    data_.uFlags = NIF_INFO;
    data_.cbSize = kBalloonRecordSize;
    ::Shell_NotifyIconA(NIM_MODIFY, &data_);
}

void TrayIcon::CallEvent(LPARAM mouseMessage) {
    // Decoded as mouse messages they would read as a click on the icon.
    if (isBalloonMessage(mouseMessage)) {
        if (mouseMessage == NIN_BALLOONUSERCLICK && OnBalloonClick) OnBalloonClick();
        return;
    }
    const double twipsPerPixel = screenTwipsPerPixel();
    const auto x = static_cast<float>(static_cast<double>(mouseMessage) * twipsPerPixel);
    if (auto code = decodeTrayEvent(x, 0, twipsPerPixel); code && OnIcon) OnIcon(*code);
}

void TrayIcon::CallPopupMenu(HWND window, HMENU popMenu, UINT flags, std::optional<POINT> at,
                             UINT defaultMenu) {
    // The menu closes when the user clicks elsewhere only while its owner is in front.
    ::SetForegroundWindow(hwnd);
    if (defaultMenu) ::SetMenuDefaultItem(popMenu, defaultMenu, FALSE);
    POINT place{};
    if (at) {
        place = *at;
    } else {
        ::GetCursorPos(&place);
    }
    ::TrackPopupMenu(popMenu, flags, place.x, place.y, 0, window, nullptr);
    // The shell's own advice: a message to the owner so the next click on the icon works.
    ::PostMessageA(hwnd, WM_NULL, 0, 0);
}

}  // namespace twk::win32
