#pragma once

#include <optional>

#include "core/design/design.h"

namespace twk {
class AppContext;
}

namespace twk::design {

// Whether the running user may take the action. One that only an administrator may take tells
// anybody else why not, in their language, and is refused.
bool mayTake(const Action& action, AppContext& context);

// What a page layer's navigator does for the steps an action names.
class PageSteps {
public:
    virtual ~PageSteps() = default;
    // Pages not installed do nothing when asked for.
    virtual bool hasPage(PageId id) const = 0;
    // Shows the page, made when not loaded yet; the main window hides when hidesMain.
    virtual void openPage(PageId id, bool hidesMain) = 0;
    virtual void unload(PageId id) = 0;
    virtual void showMain() = 0;
    virtual void hideToTray() = 0;
    virtual void exitProgram() = 0;
};

// Does what a control's action says, on the page from (none for the main window), through
// pages; an administrator's page refused shows the message and nothing else happens.
void take(const Action& action, std::optional<PageId> from, PageSteps& pages, AppContext& context);

}  // namespace twk::design
