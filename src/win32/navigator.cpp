#include "win32/navigator.h"

#include "core/app/app_context.h"
#include "core/design/actions.h"
#include "win32/frm_main.h"

namespace twk::win32 {

void Navigator::registerPage(design::PageId id, PageFactory factory) {
    factories_[id] = std::move(factory);
}

SkinnedPage* Navigator::load(design::PageId id) {
    if (SkinnedPage* page = loaded(id)) return page;
    const auto factory = factories_.find(id);
    if (factory == factories_.end()) return nullptr;
    auto& slot = pages_[id];
    slot = factory->second(*this);
    return slot.get();
}

SkinnedPage* Navigator::open(design::PageId id) {
    SkinnedPage* page = load(id);
    if (page) page->show();
    return page;
}

void Navigator::unload(design::PageId id) {
    const auto found = pages_.find(id);
    if (found == pages_.end()) return;
    found->second->hide();
    unloaded_.push_back(std::move(found->second));
    pages_.erase(found);
}

SkinnedPage* Navigator::loaded(design::PageId id) const {
    const auto found = pages_.find(id);
    return found == pages_.end() ? nullptr : found->second.get();
}

void Navigator::showMain() { main_->show(); }

void Navigator::run(const design::Action& action, std::optional<design::PageId> from) {
    using design::Action;
    const bool closesFrom = action.closesPage && from;
    switch (action.step) {
        case Action::OpenPage:
            if (!design::mayTake(action, context_)) return;
            if (hasPage(action.page)) {
                open(action.page);
                if (action.hidesMain) main_->hide();
            }
            if (closesFrom) unload(*from);
            return;
        case Action::OpenAddress:
            context_.services.urls.openUrl(action.address);
            return;
        case Action::HideToTray:
            main_->hideToTray();
            return;
        case Action::ShowMain:
            if (closesFrom) unload(*from);
            showMain();
            return;
        case Action::Exit:
            main_->exitProgram();
            return;
    }
}

}  // namespace twk::win32
