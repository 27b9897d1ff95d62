#pragma once

#include <QObject>
#include <QThread>
#include <QTimer>
#include <memory>
#include <string>

#include "core/notify/report_watch.h"

class QSocketNotifier;

namespace twk {

class AppContext;
class DesktopNotifications;

// Tells the user, while the program runs, what the guard service adds to the report folders:
// the kernel says when a folder's files change, and a moment later (so that a burst of writes
// is one look) the appended lines are read on a thread of their own, so that no window waits
// for them, and shown as desktop notifications.
class ReportNotifier : public QObject {
    Q_OBJECT
public:
    ReportNotifier(AppContext& context, DesktopNotifications& desktop);
    ~ReportNotifier() override;

    // Follows the report folders the settings name now: at start, and after the options were
    // saved. Lines already in them are no news.
    void follow();

private:
    void watchFolders();
    void readEvents();
    void lookSoon();
    void tell(const ReportNews& news);

    AppContext& context_;
    DesktopNotifications& desktop_;
    std::string devicesFolder_, virusesFolder_;  // followed
    bool following_ = false;
    int inotify_ = -1;
    QSocketNotifier* events_ = nullptr;
    int devicesWatch_ = -1, virusesWatch_ = -1;
    QTimer settle_;  // from the first change to the look
    QTimer retry_;   // while a folder is not there to be watched
    QThread reader_;
    QObject* inReader_ = nullptr;  // lives in reader_, which alone touches watch_
    std::unique_ptr<ReportWatch> watch_;
};

}  // namespace twk
