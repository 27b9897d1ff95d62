#include "pages/app/page_registry.h"

#include <QPointer>

#include "core/app/app_context.h"
#include "pages/app/navigator.h"
#include "pages/info/frm_info.h"
#include "pages/mail/frm_feedback.h"
#include "pages/options/frm_options.h"
#include "pages/protection/frm_guard.h"
#include "pages/reports/frm_report.h"

namespace twk {
namespace {

// The caption loader creates the report page (hidden) and hands it its captions, so the page
// reads its first view at start.
void installReportCaptionsHook(Navigator& navigator) {
    QPointer<Navigator> pages(&navigator);
    navigator.context().langOp.reportCaptionsHook = [pages](const LangOp& captions) {
        if (!pages) return;
        if (auto* report = qobject_cast<frmReport*>(pages->load(PageId::Reports)))
            report->applyCaptions(captions);
    };
}

}  // namespace

void registerPages(Navigator& navigator) {
    navigator.registerPage(PageId::Protection, [](Navigator& pages) {
        return new frmGuard(pages.context(), pages,
                            std::make_unique<MachineDriveSource>(pages.context().roots));
    });
    navigator.registerPage(PageId::Reports,
                           [](Navigator& n) { return new frmReport(n.context(), n); });
    navigator.registerPage(PageId::Info, [](Navigator& n) { return new frmInfo(n.context(), n); });
    navigator.registerPage(PageId::Feedback,
                           [](Navigator& n) { return new frmFeedback(n.context(), n); });
    navigator.registerPage(PageId::Options,
                           [](Navigator& n) { return new frmOptions(n.context(), n); });
    installReportCaptionsHook(navigator);
}

}  // namespace twk
