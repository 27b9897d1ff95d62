#include "core/design/actions.h"

#include "core/app/app_context.h"
#include "core/app/check_admin.h"

namespace twk::design {

bool mayTake(const Action& action, AppContext& context) {
    if (!action.adminOnly || CheckAdmin::isAdmin(context.adminToken()) == VbTrue) return true;
    showError(context.services.messages, kAdminMessage);
    return false;
}

}  // namespace twk::design
