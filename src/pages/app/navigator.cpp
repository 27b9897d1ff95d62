#include "pages/app/navigator.h"

#include <QCoreApplication>
#include <QWidget>

#include "core/app/app_context.h"
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
    design::take(action, from, *this, context_);
}

void Navigator::openPage(PageId id, bool hidesMain) {
    if (hidesMain) main_->hide();
    open(id);
}

void Navigator::hideToTray() { main_->hideToTray(); }

void Navigator::exitProgram() { main_->exitProgram(); }

}  // namespace twk
