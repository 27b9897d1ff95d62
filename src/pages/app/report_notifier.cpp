#include "pages/app/report_notifier.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

#include "core/app/app_context.h"
#include "core/notify/report_notices.h"
#include "pages/app/desktop_notifications.h"
#include "platform/reasons.h"

namespace twk {
namespace {

// A file written, created or moved in, or the folder itself gone.
constexpr std::uint32_t kFolderEvents = IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO |
                                        IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

}  // namespace

ReportNotifier::ReportNotifier(AppContext& context, DesktopNotifications& desktop)
    : context_(context), desktop_(desktop) {
    settle_.setSingleShot(true);
    settle_.setInterval(kNoticeSettle);
    connect(&settle_, &QTimer::timeout, this, [this] {
        QMetaObject::invokeMethod(
            inReader_,
            [this] {
                if (!watch_) return;
                auto news = std::make_shared<ReportNews>(watch_->look());
                QMetaObject::invokeMethod(
                    this, [this, news] { tell(*news); }, Qt::QueuedConnection);
            },
            Qt::QueuedConnection);
    });
    retry_.setInterval(kFolderRetry);
    connect(&retry_, &QTimer::timeout, this, &ReportNotifier::watchFolders);
    inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify_ < 0) {
        platform::logReason(
            platform::ReasonTopic::Reports,
            std::string("report folders cannot be watched: ") + std::strerror(errno));
    } else {
        events_ = new QSocketNotifier(inotify_, QSocketNotifier::Read, this);
        connect(events_, &QSocketNotifier::activated, this, &ReportNotifier::readEvents);
    }
    inReader_ = new QObject();
    inReader_->moveToThread(&reader_);
    connect(&reader_, &QThread::finished, inReader_, &QObject::deleteLater);
    reader_.start();
}

ReportNotifier::~ReportNotifier() {
    reader_.quit();
    reader_.wait();
    if (inotify_ >= 0) ::close(inotify_);
}

void ReportNotifier::follow() {
    const MainOp& settings = context_.mainOp;
    if (following_ && settings.DirRep == devicesFolder_ && settings.DirQuar == virusesFolder_)
        return;
    following_ = true;
    devicesFolder_ = settings.DirRep;
    virusesFolder_ = settings.DirQuar;
    for (int* watch : {&devicesWatch_, &virusesWatch_}) {
        if (*watch >= 0) ::inotify_rm_watch(inotify_, *watch);
        *watch = -1;
    }
    // Watched before the files are taken as read, so that no line falls between the two.
    watchFolders();
    QMetaObject::invokeMethod(
        inReader_,
        [this, devices = devicesFolder_, viruses = virusesFolder_] {
            watch_ = std::make_unique<ReportWatch>(devices, viruses);
        },
        Qt::QueuedConnection);
}

void ReportNotifier::watchFolders() {
    if (inotify_ < 0) return;
    bool added = false;
    for (auto [folder, watch] :
         {std::pair{&devicesFolder_, &devicesWatch_}, std::pair{&virusesFolder_, &virusesWatch_}}) {
        if (*watch >= 0) continue;
        *watch = ::inotify_add_watch(inotify_, folder->c_str(), kFolderEvents);
        added = added || *watch >= 0;
    }
    const bool missing = devicesWatch_ < 0 || virusesWatch_ < 0;
    if (missing && !retry_.isActive()) retry_.start();
    if (!missing) retry_.stop();
    // A folder that has come meanwhile may already hold new reports.
    if (added && following_) lookSoon();
}

void ReportNotifier::readEvents() {
    alignas(inotify_event) char buffer[4096];
    bool changed = false, gone = false;
    for (;;) {
        const ssize_t got = ::read(inotify_, buffer, sizeof buffer);
        if (got <= 0) break;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_IGNORED) {
                // The folder went: it is watched again once it is back.
                for (int* watch : {&devicesWatch_, &virusesWatch_})
                    if (*watch == event->wd) *watch = -1;
                gone = true;
            }
            changed = true;
        }
    }
    if (gone) watchFolders();
    if (changed) lookSoon();
}

void ReportNotifier::lookSoon() {
    if (!settle_.isActive()) settle_.start();
}

void ReportNotifier::tell(const ReportNews& news) {
    for (const ReportNotice& notice : NoticesToTell(news, context_.langOp)) desktop_.show(notice);
}

}  // namespace twk
