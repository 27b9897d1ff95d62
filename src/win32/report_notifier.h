#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/notify/report_notices.h"
#include "platform/handle_win.h"
#include "win32/window.h"

namespace twk {
class AppContext;
}

namespace twk::win32 {

// Tells the user, while the program runs, what the guard service adds to the report folders:
// the system signals a change in a folder, and a moment later (so that a burst of writes is one
// look) a thread of its own reads the appended lines and posts them to this message-only window
// on the pages' thread, so that no window waits for the files.
class ReportNotifier : private Window {
public:
    explicit ReportNotifier(AppContext& context);
    ~ReportNotifier() override;

    // Follows the report folders the settings name now: at start, and after the options were
    // saved. Lines already in them are no news.
    void follow();
    // Ends the reading thread; the program calls it before it ends. Safe to call again.
    void stop();

    // Runs on the pages' thread for each notice to show.
    std::function<void(const ReportNotice& notice)> onNotice;

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    using Folders = std::pair<std::string, std::string>;  // devices, viruses
    void read();
    void tell();

    AppContext& context_;
    std::optional<Folders> followed_;  // pages' thread
    platform::Handle stopEvent_;
    platform::Handle followEvent_;
    std::mutex mutex_;  // guards the two below
    std::optional<Folders> toFollow_;
    std::vector<ReportNews> news_;
    std::thread reader_;
};

}  // namespace twk::win32
