#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "core/notify/report_notices.h"

namespace twk {

class LangOp;
class TrayBackend;

// Shows notices on the desktop through the session's notification service, named by the
// program's desktop entry so that the desktop's own settings can mute it, or as a message of the
// tray icon where no service answers. A click on one asks for its place in the reports.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    // The action that opens the reports, where the desktop shows it as a button, takes the
    // reports caption of captions.
    DesktopNotifications(TrayBackend& tray, const LangOp& captions);

    void show(const ReportNotice& notice);

    // Runs on a click on a notice: the view and the date it tells of.
    std::function<void(ReportKind view, const std::string& date)> onClick;

private slots:
    void onActionInvoked(uint id, const QString& action);
    void onClosed(uint id, uint reason);

private:
    struct Place {
        ReportKind view;
        std::string date;
    };
    void showInTray(const ReportNotice& notice);
    void open(const Place& place);

    TrayBackend& tray_;
    const LangOp& captions_;
    bool serviceMarkup_ = false;   // the service reads the body as markup
    std::map<uint, Place> shown_;  // by the service's number, while open
    std::optional<Place> trayMessage_;
};

}  // namespace twk
