#include "pages/app/page_registry.h"

#include "pages/app/navigator.h"
#include "pages/info/frm_info.h"
#include "pages/mail/frm_feedback.h"

namespace twk {

void registerPages(Navigator& navigator) {
    navigator.registerPage(PageId::Info, [](Navigator& n) { return new frmInfo(n.context(), n); });
    navigator.registerPage(PageId::Feedback,
                           [](Navigator& n) { return new frmFeedback(n.context(), n); });
}

}  // namespace twk
