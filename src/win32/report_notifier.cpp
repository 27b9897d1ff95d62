#include "win32/report_notifier.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "core/app/app_context.h"
#include "platform/files.h"

namespace twk::win32 {
namespace {

using Clock = std::chrono::steady_clock;

// The reading thread has posted news.
constexpr UINT kNewsMessage = WM_APP + 1;
// A file written, made or renamed in the folder.
constexpr DWORD kFolderChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

// The system's change signal of one folder; none while the folder is not there.
class FolderChanges {
public:
    FolderChanges() = default;
    explicit FolderChanges(std::string folder) : folder_(std::move(folder)) {}
    ~FolderChanges() { close(); }
    FolderChanges(const FolderChanges&) = delete;
    FolderChanges& operator=(FolderChanges&& other) noexcept {
        std::swap(folder_, other.folder_);
        std::swap(handle_, other.handle_);
        return *this;
    }

    HANDLE handle() const { return handle_; }
    bool missing() const { return !folder_.empty() && !handle_; }

    // True when the folder is watched from now on, and was not before.
    bool watch() {
        if (!missing()) return false;
        const HANDLE handle =
            ::FindFirstChangeNotificationA(folder_.c_str(), FALSE, kFolderChanges);
        if (handle == INVALID_HANDLE_VALUE) return false;
        handle_ = handle;
        return true;
    }
    // After a signal: waits for the next one, or lets go of a folder that went.
    void rearm() {
        if (platform::dirExists(folder_) && ::FindNextChangeNotification(handle_)) return;
        close();
    }

private:
    void close() {
        if (handle_) ::FindCloseChangeNotification(handle_);
        handle_ = nullptr;
    }

    std::string folder_;
    HANDLE handle_ = nullptr;
};

// Milliseconds from now to when, never below 0.
DWORD msUntil(Clock::time_point when) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(when - Clock::now());
    return static_cast<DWORD>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

}  // namespace

ReportNotifier::ReportNotifier(AppContext& context)
    : context_(context),
      stopEvent_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      followEvent_(::CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    CreateArgs messageOnly;
    messageOnly.parent = HWND_MESSAGE;
    messageOnly.style = 0;
    create(messageOnly);
    reader_ = std::thread([this] { read(); });
}

ReportNotifier::~ReportNotifier() { stop(); }

void ReportNotifier::stop() {
    if (!reader_.joinable()) return;
    ::SetEvent(stopEvent_.get());
    reader_.join();
}

void ReportNotifier::follow() {
    const MainOp& settings = context_.mainOp;
    Folders folders{settings.DirRep, settings.DirQuar};
    if (followed_ == folders) return;
    followed_ = folders;
    {
        std::lock_guard lock(mutex_);
        toFollow_ = std::move(folders);
    }
    ::SetEvent(followEvent_.get());
}

// The reading thread: it alone touches the watch and the folders' signals.
void ReportNotifier::read() {
    std::unique_ptr<ReportWatch> watch;
    FolderChanges devices, viruses;
    std::optional<Clock::time_point> lookAt;
    const auto lookSoon = [&] {
        if (!lookAt) lookAt = Clock::now() + kNoticeSettle;
    };
    for (;;) {
        std::vector<HANDLE> waits{stopEvent_.get(), followEvent_.get()};
        std::vector<FolderChanges*> signalling;  // behind waits[2] on
        for (FolderChanges* folder : {&devices, &viruses}) {
            if (!folder->handle()) continue;
            waits.push_back(folder->handle());
            signalling.push_back(folder);
        }
        DWORD timeout = lookAt ? msUntil(*lookAt) : INFINITE;
        if (devices.missing() || viruses.missing())
            timeout = std::min<DWORD>(timeout, static_cast<DWORD>(kFolderRetry.count()));
        const DWORD woke = ::WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(),
                                                    FALSE, timeout);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) return;
        if (woke == WAIT_OBJECT_0 + 1) {
            Folders folders;
            {
                std::lock_guard lock(mutex_);
                folders = std::move(*toFollow_);
                toFollow_.reset();
            }
            // Watched before the files are taken as read, so that no line falls between the two.
            devices = FolderChanges(folders.first);
            viruses = FolderChanges(folders.second);
            devices.watch();
            viruses.watch();
            watch = std::make_unique<ReportWatch>(folders.first, folders.second);
            lookAt.reset();
            continue;
        }
        if (woke >= WAIT_OBJECT_0 + 2 && woke < WAIT_OBJECT_0 + waits.size()) {
            signalling[woke - WAIT_OBJECT_0 - 2]->rearm();
            lookSoon();
        }
        // A folder that has come meanwhile may already hold new reports.
        const bool devicesCame = devices.watch();
        if (viruses.watch() || devicesCame) lookSoon();
        // Due whatever woke the thread, so that a steady stream of writes is still looked at.
        if (!watch || !lookAt || Clock::now() < *lookAt) continue;
        lookAt.reset();
        ReportNews news = watch->look();
        if (news.count() == 0 && news.problems.empty()) continue;
        {
            std::lock_guard lock(mutex_);
            news_.push_back(std::move(news));
        }
        ::PostMessageA(hwnd(), kNewsMessage, 0, 0);
    }
}

void ReportNotifier::tell() {
    std::vector<ReportNews> news;
    {
        std::lock_guard lock(mutex_);
        news.swap(news_);
    }
    for (const ReportNews& look : news)
        for (const ReportNotice& notice : NoticesToTell(look, context_.langOp))
            if (onNotice) onNotice(notice);
}

LRESULT ReportNotifier::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kNewsMessage) return Window::onMessage(message, wParam, lParam);
    tell();
    return 0;
}

}  // namespace twk::win32
