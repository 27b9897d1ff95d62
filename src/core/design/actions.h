#pragma once

#include "core/design/design.h"

namespace twk {
class AppContext;
}

namespace twk::design {

// Whether the running user may take the action. One that only an administrator may take tells
// anybody else why not, with kAdminMessage, and is refused.
bool mayTake(const Action& action, AppContext& context);

}  // namespace twk::design
