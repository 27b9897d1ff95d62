#include "pages/app/tray_backend.h"

#include <QMenu>

namespace twk {
namespace {

// The mouse message the desktop's activation reason stands for.
int mouseMessageOf(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::DoubleClick: return 0x203;
        case QSystemTrayIcon::Context: return 0x205;
        case QSystemTrayIcon::Trigger: return 0x202;
        case QSystemTrayIcon::MiddleClick: return 0x208;
        case QSystemTrayIcon::Unknown: break;
    }
    return 0x200;
}

}  // namespace

QtTrayBackend::QtTrayBackend() {
    connect(&icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                emit notified(mouseMessageOf(reason));
            });
}

bool QtTrayBackend::isAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void QtTrayBackend::add(const QIcon& icon, const QString& tip) {
    if (icon_.isVisible()) return;
    icon_.setIcon(icon);
    icon_.setToolTip(tip);
    icon_.show();
}

void QtTrayBackend::modify(const QIcon& icon, const QString& tip) {
    icon_.setIcon(icon);
    icon_.setToolTip(tip);
}

void QtTrayBackend::remove() { icon_.hide(); }

bool QtTrayBackend::isShown() const { return icon_.isVisible(); }

void QtTrayBackend::popup(QMenu* menu, QPoint at) { menu->exec(at); }

}  // namespace twk
