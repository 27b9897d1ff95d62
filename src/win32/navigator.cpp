#include "win32/navigator.h"

#include "core/app/app_context.h"
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
    design::take(action, from, *this, context_);
}

// The page comes up before the main window goes, so that the program keeps the foreground.
void Navigator::openPage(design::PageId id, bool hidesMain) {
    open(id);
    if (hidesMain) main_->hide();
}

void Navigator::hideToTray() { main_->hideToTray(); }

void Navigator::exitProgram() { main_->exitProgram(); }

}  // namespace twk::win32
