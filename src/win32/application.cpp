#include "win32/application.h"

#include "platform/program_folder.h"
#include "win32/frm_feedback.h"
#include "win32/frm_guard.h"
#include "win32/frm_info.h"
#include "win32/frm_options.h"
#include "win32/frm_report.h"
#include "win32/waiting.h"

namespace twk::win32 {
namespace {

// The caption loader makes the report page (hidden) and hands it its captions, so that the page
// reads its first view at start.
void installReportCaptionsHook(Navigator& navigator) {
    navigator.context().langOp.reportCaptionsHook = [&navigator](const LangOp&) {
        if (auto* report = dynamic_cast<frmReport*>(navigator.load(design::PageId::Reports)))
            report->applyReportCaptions();
    };
}

void registerPages(Navigator& navigator) {
    using design::PageId;
    navigator.registerPage(PageId::Info, [](Navigator& pages) {
        return std::make_unique<frmInfo>(pages.context(), pages);
    });
    navigator.registerPage(PageId::Feedback, [](Navigator& pages) {
        return std::make_unique<frmFeedback>(pages.context(), pages);
    });
    navigator.registerPage(PageId::Protection, [](Navigator& pages) {
        return std::make_unique<frmGuard>(
            pages.context(), pages, std::make_unique<MachineDriveSource>(pages.context().roots));
    });
    navigator.registerPage(PageId::Reports, [](Navigator& pages) {
        return std::make_unique<frmReport>(pages.context(), pages);
    });
    navigator.registerPage(PageId::Options, [](Navigator& pages) {
        return std::make_unique<frmOptions>(pages.context(), pages);
    });
    installReportCaptionsHook(navigator);
}

}  // namespace

Application::Application()
    : helper_(platform::programFolder()),
      context_(machineContext(Services{messages_, saveFile_, folders_, urls_, helper_, clock_},
                              runWhileWaiting)),
      navigator_(context_),
      notifier_(context_) {
    main_ = std::make_unique<frmMain>(context_, navigator_);
    navigator_.setMain(*main_);
    // Exit ends the process at once: no window runs any closing handling. The reading thread
    // ends first, so that it is never cut off in the middle of a file.
    navigator_.endProcess = [this] {
        notifier_.stop();
        ::ExitProcess(0);
    };
    registerPages(navigator_);
    main_->onLoaded = [this] { notifier_.follow(); };
    notifier_.onNotice = [this](const ReportNotice& notice) { main_->showNotice(notice); };
    main_->onNoticeClick = [this](ReportKind view, const std::string& date) {
        openReports(view, date);
    };
}

void Application::openReports(ReportKind view, const std::string& date) {
    navigator_.run(NoticeOpensReports());
    if (auto* page = dynamic_cast<frmReport*>(navigator_.loaded(design::PageId::Reports)))
        page->showReportsOn(view, date);
}

int Application::run() {
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        auto* page = dynamic_cast<SkinnedPage*>(Window::of(::GetAncestor(message.hwnd, GA_ROOT)));
        if (!page || !page->handleDialogKey(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        navigator_.collectUnloaded();
    }
    return static_cast<int>(message.wParam);
}

}  // namespace twk::win32
