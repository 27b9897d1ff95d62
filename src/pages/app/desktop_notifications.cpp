#include "pages/app/desktop_notifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QStringList>
#include <QVariantMap>

#include "core/design/main_design.h"
#include "core/i18n/lang_op.h"
#include "pages/app/qt_text.h"
#include "pages/app/tray_backend.h"

namespace twk {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");
// Notices whose close the service never told are forgotten beyond this many.
constexpr std::size_t kRememberedNotices = 64;

QDBusMessage serviceCall(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

}  // namespace

DesktopNotifications::DesktopNotifications(TrayBackend& tray, const LangOp& captions)
    : tray_(tray), captions_(captions) {
    connect(&tray_, &TrayBackend::messageClicked, this, [this] {
        if (trayMessage_) open(*trayMessage_);
    });
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                SLOT(onActionInvoked(uint, QString)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                SLOT(onClosed(uint, uint)));
    auto* capabilities = new QDBusPendingCallWatcher(
        bus.asyncCall(serviceCall(QStringLiteral("GetCapabilities"))), this);
    connect(capabilities, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                const QDBusPendingReply<QStringList> reply = *call;
                call->deleteLater();
                serviceMarkup_ =
                    !reply.isError() && reply.value().contains(QStringLiteral("body-markup"));
            });
}

void DesktopNotifications::show(const ReportNotice& notice) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return showInTray(notice);
    const QString body = serviceMarkup_ ? qs(notice.body).toHtmlEscaped() : qs(notice.body);
    QDBusMessage call = serviceCall(QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QGuiApplication::desktopFileName()}};
    call << QString::fromLatin1(design::main_window::kTrayTip) << uint{0}
         << QGuiApplication::desktopFileName() << qs(notice.title) << body
         << QStringList{kDefaultAction, qs(captions_.lfm_reports)} << hints << -1;
    auto* pending = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, notice](QDBusPendingCallWatcher* answered) {
                const QDBusPendingReply<uint> reply = *answered;
                answered->deleteLater();
                if (reply.isError()) return showInTray(notice);
                if (shown_.size() >= kRememberedNotices) shown_.erase(shown_.begin());
                shown_[reply.value()] = {notice.view, notice.date};
            });
}

void DesktopNotifications::showInTray(const ReportNotice& notice) {
    trayMessage_ = Place{notice.view, notice.date};
    tray_.showMessage(qs(notice.title), qs(notice.body));
}

void DesktopNotifications::onActionInvoked(uint id, const QString& action) {
    const auto found = shown_.find(id);
    // Other programs' notices are told of on the same signal.
    if (found == shown_.end() || action != kDefaultAction) return;
    const Place place = found->second;
    open(place);
}

void DesktopNotifications::onClosed(uint id, uint) { shown_.erase(id); }

void DesktopNotifications::open(const Place& place) {
    if (onClick) onClick(place.view, place.date);
}

}  // namespace twk
