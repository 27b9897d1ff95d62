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

// The message the shell sends the owner for actions on the icon: the number that also means a
// right button down, so that the owner's mouse-down handling receives both.
inline constexpr UINT kTrayCallbackMessage = WM_RBUTTONDOWN;

// The program's one icon in the notification area: keeps its picture and tool tip, raises OnIcon
// for each action on the icon and shows the tray menu.
class TrayIcon {
public:
    HWND hwnd = nullptr;
    HICON Icon = nullptr;
    std::string ToolTipText;

    void Add();
    void Modify();
    void Delete();
    // Decodes a mouse-down of the owner window given in twips; raises OnIcon for a tray
    // notification (Y exactly 0) and does nothing for an ordinary mouse-down.
    void CallEvent(float& X, float& Y);
    // Shows popMenu (at the pointer unless a position is given) with defaultMenu drawn as the
    // default item; returns when the menu has closed.
    void CallPopupMenu(HWND window, HMENU popMenu, UINT flags = 0,
                       std::optional<POINT> at = std::nullopt, UINT defaultMenu = 0);

    std::function<void(std::int16_t code)> OnIcon;

private:
    void setTip();

    NOTIFYICONDATAA data_{};
};

}  // namespace twk::win32
