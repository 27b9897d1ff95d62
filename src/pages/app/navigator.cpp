#include "pages/app/navigator.h"

#include <QCoreApplication>
#include <QWidget>

#include "core/app/app_context.h"
#include "core/design/actions.h"
#include "pages/app/frm_main.h"

namespace twk {

Navigator::Navigator(AppContext& context, TrayBackend& tray)
    : endProcess([] { QCoreApplication::exit(0); }),
      context_(context),
      main_(std::make_unique<frmMain>(context, *this, tray)) {}

Navigator::~Navigator() {
    for (auto& [id, page] : pages_) delete page.data();
}

void Navigator::registerPage(PageId id, PageFactory factory) {
    factories_[id] = std::move(factory);
}

QWidget* Navigator::loaded(PageId id) const {
    auto found = pages_.find(id);
    return found == pages_.end() ? nullptr : found->second.data();
}

QWidget* Navigator::load(PageId id) {
    if (QWidget* page = loaded(id)) return page;
    auto factory = factories_.find(id);
    if (factory == factories_.end()) return nullptr;
    QWidget* page = factory->second(*this);
    pages_[id] = page;
    return page;
}

QWidget* Navigator::open(PageId id) {
    QWidget* page = load(id);
    if (!page) return nullptr;
    page->show();
    page->raise();
    page->activateWindow();
    return page;
}

void Navigator::unload(PageId id) {
    if (QWidget* page = loaded(id)) {
        page->hide();
        page->deleteLater();
    }
    pages_.erase(id);
}

void Navigator::showMain() {
    main_->moveInsideScreen();
    main_->show();
    main_->raise();
    main_->activateWindow();
}

void Navigator::take(const design::Action& action, std::optional<PageId> from) {
    switch (action.step) {
        case design::Action::OpenPage:
            if (!design::mayTake(action, context_)) return;
            if (hasPage(action.page)) {
                if (action.hidesMain) main_->hide();
                open(action.page);
            }
            if (action.closesPage && from) unload(*from);
            return;
        case design::Action::OpenAddress:
            context_.services.urls.openUrl(action.address);
            return;
        case design::Action::ShowMain:
            if (action.closesPage && from) unload(*from);
            showMain();
            return;
        case design::Action::HideToTray:
        case design::Action::Exit:
            return;
    }
}

}  // namespace twk
