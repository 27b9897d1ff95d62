#include "pages/app/application.h"

#include "core/notify/report_notices.h"
#include "pages/app/frm_main.h"
#include "pages/app/page_registry.h"
#include "pages/app/waiting.h"
#include "pages/reports/frm_report.h"
#include "platform/program_folder.h"

namespace twk {

Application::Application()
    : helper_(platform::programFolder()),
      context_(machineContext(Services{messages_, saveFile_, folders_, urls_, helper_, clock_},
                              runWhileWaiting)),
      navigator_(std::make_unique<Navigator>(context_, tray_)),
      notifications_(tray_, context_.langOp),
      reportNotifier_(context_, notifications_) {
    registerPages(*navigator_);
    QObject::connect(&navigator_->main(), &frmMain::loaded, &reportNotifier_,
                     &ReportNotifier::follow);
    notifications_.onClick = [this](ReportKind view, const std::string& date) {
        openReports(view, date);
    };
    context_.langOp.loadedHook = [this](const LangOp& captions) { qtTexts_.follow(captions); };
}

void Application::openReports(ReportKind view, const std::string& date) {
    navigator_->take(NoticeOpensReports());
    if (auto* page = qobject_cast<frmReport*>(navigator_->loaded(PageId::Reports)))
        page->showReportsOn(view, date);
}

}  // namespace twk
