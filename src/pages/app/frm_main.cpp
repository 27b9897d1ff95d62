#include "pages/app/frm_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

#include "core/app/app_context.h"
#include "core/design/main_design.h"
#include "pages/app/navigator.h"
#include "pages/app/qt_text.h"
#include "pages/app/skin.h"
#include "pages/app/tray_backend.h"
#include "pages/app/tray_icon.h"

namespace twk {

namespace main_window = design::main_window;

frmMain::frmMain(AppContext& context, Navigator& navigator, TrayBackend& tray)
    : SkinnedPage(context, main_window::kPage), navigator_(navigator), tray_(tray) {
    buildDesign();
    for (const design::ButtonAction& entry : main_window::kActions)
        onClick(entry.control, [this, action = entry.action] { navigator_.take(action); });
    buildMenu();
    centerOnScreen();
    connect(&instance_, &SingleInstance::showRequested, this, [this] { navigator_.showMain(); });
}

frmMain::~frmMain() = default;

void frmMain::buildMenu() {
    mnuMenu_ = new QMenu(QString::fromLatin1(main_window::kMenuCaption), this);
    mnuMenu_->setObjectName(QString::fromLatin1(main_window::kMenuName));
    for (const design::MenuItem& entry : main_window::kTrayMenu) {
        if (entry.isSeparator()) {
            mnuMenu_->addSeparator();
            continue;
        }
        QAction* item = mnuMenu_->addAction(qs(context().langOp.*entry.caption));
        item->setObjectName(QString::fromLatin1(entry.name));
        connect(item, &QAction::triggered, this,
                [this, action = entry.action] { navigator_.take(action); });
        if (!entry.isDefault) continue;
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
        mnuMenu_->setDefaultAction(item);
    }
}

bool frmMain::Form_Load() {
    if (!instance_.claim()) return false;
    cTray_ = std::make_unique<TrayIcon>(tray_);
    cTray_->hwnd = this;
    cTray_->Icon = windowIcon();
    cTray_->ToolTipText = QString::fromLatin1(main_window::kTrayTip);
    connect(cTray_.get(), &TrayIcon::OnIcon, this, &frmMain::onTrayCode);
    cTray_->setMenu(mnuMenu_);
    cTray_->Add();
    applyCaptions();
    emit loaded();
    return true;
}

void frmMain::applyCaptions() {
    const LangOp& captions = context().langOp;
    showCaptions(captions);
    for (const design::MenuItem& entry : main_window::kTrayMenu)
        if (!entry.isSeparator())
            if (auto* item = mnuMenu_->findChild<QAction*>(QString::fromLatin1(entry.name)))
                item->setText(qs(captions.*entry.caption));
}

void frmMain::hideToTray() {
    // Without a notification area a hidden window could never come back: end instead.
    if (!tray_.isAvailable()) {
        exitProgram();
        return;
    }
    if (cTray_) cTray_->Add();
    hide();
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->ignore();
    hideToTray();
}

void frmMain::onTrayCode(qint16 code) {
    switch (main_window::trayReply(code)) {
        case main_window::TrayReply::ShowMain:
            navigator_.showMain();
            return;
        // The desktop shows the icon's own menu itself, at the icon.
        case main_window::TrayReply::ShowMenu:
        case main_window::TrayReply::Nothing:
            return;
    }
}

void frmMain::exitProgram() {
    if (cTray_) cTray_->Delete();
    navigator_.endProcess();
}

}  // namespace twk
