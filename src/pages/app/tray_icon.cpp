#include "pages/app/tray_icon.h"

#include "core/app/tray_codes.h"
#include "pages/app/qt_text.h"
#include "pages/app/tray_backend.h"

namespace twk {

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

void TrayIcon::setMenu(QMenu* menu) { backend_.setMenu(menu); }

}  // namespace twk
