#include "pages/app/tray_backend.h"

#include <QMenu>
#include <optional>

#include "core/app/tray_codes.h"

namespace twk {
namespace {

// The code of the desktop's activation reason, taken directly: a detour through mouse message
// numbers and twips gives wrong codes at some screen resolutions.
std::optional<qint16> trayCodeOf(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            return kTrayLeftUp;
        case QSystemTrayIcon::DoubleClick:
            return kTrayLeftDoubleClick;
        case QSystemTrayIcon::Context:
            return kTrayRightUp;
        case QSystemTrayIcon::MiddleClick:
            return kTrayMiddleUp;
        case QSystemTrayIcon::Unknown:
            break;
    }
    return std::nullopt;
}

}  // namespace

void TrayBackend::report(QSystemTrayIcon::ActivationReason reason) {
    if (const auto code = trayCodeOf(reason)) emit activated(*code);
}

QtTrayBackend::QtTrayBackend() {
    // Queued: the icon's own widget is still delivering its mouse event when it reports, and a
    // handler may remove the icon (Exit from the menu), which deletes that widget.
    connect(&icon_, &QSystemTrayIcon::activated, this, &QtTrayBackend::report,
            Qt::QueuedConnection);
    connect(&icon_, &QSystemTrayIcon::messageClicked, this, &TrayBackend::messageClicked);
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

void QtTrayBackend::setMenu(QMenu* menu) { icon_.setContextMenu(menu); }

void QtTrayBackend::showMessage(const QString& title, const QString& body) {
    icon_.showMessage(title, body, QSystemTrayIcon::Information);
}

}  // namespace twk
