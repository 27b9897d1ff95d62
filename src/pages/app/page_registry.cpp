#include "pages/app/page_registry.h"

#include "core/app/app_context.h"
#include "pages/app/navigator.h"
#include "pages/protection/frm_guard.h"

namespace twk {

void registerPages(Navigator& navigator) {
    navigator.registerPage(PageId::Protection, [](Navigator& pages) {
        return new frmGuard(pages.context(), pages,
                            std::make_unique<MachineDriveSource>(pages.context().roots));
    });
}

}  // namespace twk
