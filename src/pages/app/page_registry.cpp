#include "pages/app/page_registry.h"

#include "core/app/app_context.h"
#include "pages/app/navigator.h"
#include "pages/info/frm_info.h"
#include "pages/mail/frm_feedback.h"
#include "pages/options/frm_options.h"
#include "pages/protection/frm_guard.h"

namespace twk {

void registerPages(Navigator& navigator) {
    navigator.registerPage(PageId::Protection, [](Navigator& pages) {
        return new frmGuard(pages.context(), pages,
                            std::make_unique<MachineDriveSource>(pages.context().roots));
    });
    navigator.registerPage(PageId::Info, [](Navigator& n) { return new frmInfo(n.context(), n); });
    navigator.registerPage(PageId::Feedback,
                           [](Navigator& n) { return new frmFeedback(n.context(), n); });
    navigator.registerPage(PageId::Options,
                           [](Navigator& n) { return new frmOptions(n.context(), n); });
}

}  // namespace twk
