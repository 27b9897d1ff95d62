#include "core/design/actions.h"

#include "core/app/app_context.h"
#include "core/app/check_admin.h"

namespace twk::design {

bool mayTake(const Action& action, AppContext& context) {
    if (!action.adminOnly || CheckAdmin::isAdmin(context.adminToken()) == VbTrue) return true;
    showError(context.services.messages, context.langOp.lfm_noadmin);
    return false;
}

void take(const Action& action, std::optional<PageId> from, PageSteps& pages, AppContext& context) {
    const bool closesFrom = action.closesPage && from;
    switch (action.step) {
        case Action::OpenPage:
            if (!mayTake(action, context)) return;
            if (pages.hasPage(action.page)) pages.openPage(action.page, action.hidesMain);
            if (closesFrom) pages.unload(*from);
            return;
        case Action::OpenAddress:
            context.services.urls.openUrl(action.address);
            return;
        case Action::HideToTray:
            pages.hideToTray();
            return;
        case Action::ShowMain:
            if (closesFrom) pages.unload(*from);
            pages.showMain();
            return;
        case Action::Exit:
            pages.exitProgram();
            return;
    }
}

}  // namespace twk::design
