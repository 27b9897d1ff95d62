#include "pages/app/tray_icon.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QWidget>

#include "core/app/tray_codes.h"
#include "pages/app/qt_text.h"
#include "pages/app/tray_backend.h"

namespace twk {

double screenTwipsPerPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

TrayIcon::TrayIcon(TrayBackend& backend) : backend_(backend) {
    // The desktop names the action on the icon itself: its code needs no decoding.
    connect(&backend_, &TrayBackend::activated, this, &TrayIcon::OnIcon);
}

void TrayIcon::Add() {
    addedOwner_ = hwnd;
    shownTip_ = qs(trayTip(local8(ToolTipText)));
    backend_.add(Icon, shownTip_);
}

void TrayIcon::Modify() {
    shownTip_ = qs(trayTip(local8(ToolTipText)));
    backend_.modify(Icon, shownTip_);
}

void TrayIcon::Delete() { backend_.remove(); }

void TrayIcon::CallEvent(float& X, float& Y) {
    if (auto code = decodeTrayEvent(X, Y, screenTwipsPerPixel())) emit OnIcon(*code);
}

void TrayIcon::CallPopupMenu(QWidget* window, QMenu* popMenu, int, std::optional<QPoint> at,
                             QAction* defaultMenu) {
    if (window) window->activateWindow();
    popMenu->setDefaultAction(defaultMenu);
    backend_.popup(popMenu, at.value_or(QCursor::pos()));
}

}  // namespace twk
