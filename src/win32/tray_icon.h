#pragma once

#include <windows.h>
// clang-format off
#include <shellapi.h>
// clang-format on

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace twk::win32 {

// The message the shell sends the owner for actions on the icon, its lParam the mouse message
// over the icon. A number of the program's own: were it a mouse message, a press on the owner
// window's top row would read as an action on the icon.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

// The program's one icon in the notification area: keeps its picture and tool tip, raises OnIcon
// for each action on the icon, shows the tray menu and the icon's balloon.
class TrayIcon {
public:
    HWND hwnd = nullptr;
    HICON Icon = nullptr;
    std::string ToolTipText;

    void Add();
    void Modify();
    void Delete();
    // Shows the balloon beside the icon with the information picture; the shell shows one at a
    // time, a new one in place of the last.
    void ShowBalloon(const std::string& title, const std::string& text);
    // Decodes the shell's notification for the icon (the mouse message over it, reported as the
    // point (message, 0) of the owner in pixels) and raises OnIcon with its tray code; a click
    // on the balloon raises OnBalloonClick instead.
    void CallEvent(LPARAM mouseMessage);
    // Shows popMenu (at the pointer unless a position is given) with defaultMenu drawn as the
    // default item; returns when the menu has closed.
    void CallPopupMenu(HWND window, HMENU popMenu, UINT flags = 0,
                       std::optional<POINT> at = std::nullopt, UINT defaultMenu = 0);

    std::function<void(std::int16_t code)> OnIcon;
    std::function<void()> OnBalloonClick;

private:
    void setTip();

    NOTIFYICONDATAA data_{};
};

}  // namespace twk::win32
