#include "pages/app/frm_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

#include "core/app/app_context.h"
#include "core/app/check_admin.h"
#include "core/app/maker.h"
#include "core/app/tray_codes.h"
#include "pages/app/navigator.h"
#include "pages/app/skin.h"
#include "pages/app/tray_backend.h"
#include "pages/app/tray_icon.h"

namespace twk {
namespace {

constexpr const char* kAdminMessage = "You don't have administrator rights!";

struct ButtonDesign {
    const char* name;
    const char* holderPrefix;  // its pictures are <prefix>0 and <prefix>1
    const char* skin;
    QRect geometry;
    // Read out for a button without a caption.
    const char* spokenName;
};

}  // namespace

frmMain::frmMain(AppContext& context, Navigator& navigator, TrayBackend& tray)
    : SkinnedPage(context, QStringLiteral("frmMain"), QStringLiteral("main_background"),
                  QSize(9600, 7200)),
      navigator_(navigator),
      tray_(tray) {
    buildButtons();
    buildMenu();
    centerOnScreen();
    connect(&instance_, &SingleInstance::showRequested, this, [this] { navigator_.showMain(); });
}

frmMain::~frmMain() = default;

void frmMain::buildButtons() {
    const QSize closeSize = twipsSize(435, 435);
    const ButtonDesign designs[] = {
        {"cmd_home", "cmd_home", "home", twipsRect(240, 240, 270, 270), "Home page"},
        {"cmd_info", "cmd_info", "info", twipsRect(600, 240, 270, 270), "Information"},
        {"cmd_guard", "img_guard", "guard", twipsRect(2040, 3240, 480, 480), nullptr},
        {"cmd_report", "img_report", "report", twipsRect(4440, 3210, 510, 510), nullptr},
        {"cmd_options", "img_options", "options", twipsRect(6840, 3240, 480, 480), nullptr},
    };
    txtguard_ = new Caption(this, QStringLiteral("txtguard"), twipsRect(1725, 3840, 1095, 270),
                            QStringLiteral("Protection"), 9.75);
    txtReport_ = new Caption(this, QStringLiteral("txtReport"), twipsRect(4260, 3840, 855, 270),
                             QStringLiteral("Reports"), 9.75);
    txtOptions_ = new Caption(this, QStringLiteral("txtOptions"), twipsRect(6615, 3840, 825, 270),
                              QStringLiteral("Options"), 9.75);
    for (Caption* caption : {txtguard_, txtReport_, txtOptions_})
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblTagline_ = addDesignText("lblTagline", twipsRect(0, 6720, 9600, 270), 9, rgb(78, 113, 116));
    lblTagline_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    Caption* captions[] = {nullptr, nullptr, txtguard_, txtReport_, txtOptions_};

    int index = 0;
    for (const ButtonDesign& design : designs) {
        PictureButton* button = addHoverButton(design.name, design.holderPrefix, design.skin,
                                               design.geometry, captions[index++]);
        if (design.spokenName) button->setAccessibleName(QString::fromLatin1(design.spokenName));
    }
    // Made last, so that Tab reaches it after the page buttons.
    addCloseButton(QRect(twipsPoint(9000, 120), closeSize));
    auto button = [this](const char* name) { return findChild<PictureButton*>(name); };
    connect(button("cmd_guard"), &PictureButton::clicked, this,
            [this] { openGuarded(static_cast<int>(PageId::Protection)); });
    connect(button("cmd_options"), &PictureButton::clicked, this,
            [this] { openGuarded(static_cast<int>(PageId::Options)); });
    connect(button("cmd_report"), &PictureButton::clicked, this, [this] {
        if (!navigator_.hasPage(PageId::Reports)) return;
        hide();
        navigator_.open(PageId::Reports);
    });
    connect(button("cmd_info"), &PictureButton::clicked, this, [this] {
        if (!navigator_.hasPage(PageId::Info)) return;
        hide();
        navigator_.open(PageId::Info);
    });
    connect(button("cmd_home"), &PictureButton::clicked, this,
            [this] { context().services.urls.openUrl(maker::kHomePage); });
    connect(button("cmd_close"), &PictureButton::clicked, this, [this] { hideToTray(); });
}

void frmMain::buildMenu() {
    mnuMenu_ = new QMenu(QStringLiteral("Menu"), this);
    mnuMenu_->setObjectName(QStringLiteral("mnuMenu"));
    auto addItem = [this](const char* name, const QString& caption, auto handler) {
        QAction* item = mnuMenu_->addAction(caption);
        item->setObjectName(name);
        connect(item, &QAction::triggered, this, handler);
        return item;
    };
    mnuMain_ = addItem("mnuMain", QStringLiteral("Main page"), [this] { navigator_.showMain(); });
    QFont bold = mnuMain_->font();
    bold.setBold(true);
    mnuMain_->setFont(bold);
    mnuMenu_->setDefaultAction(mnuMain_);
    mnuMenu_->addSeparator();
    addItem("mnuInfo", QStringLiteral("Info"), [this] { navigator_.open(PageId::Info); });
    addItem("mnuFeedback", QStringLiteral("Feedback"),
            [this] { navigator_.open(PageId::Feedback); });
    mnuMenu_->addSeparator();
    addItem("mnuExit", QStringLiteral("Exit"), [this] { exitProgram(); });
}

bool frmMain::Form_Load() {
    if (!instance_.claim()) return false;
    cTray_ = std::make_unique<TrayIcon>(tray_);
    cTray_->hwnd = this;
    cTray_->Icon = windowIcon();
    cTray_->ToolTipText = QStringLiteral("Tarnwick");
    connect(cTray_.get(), &TrayIcon::OnIcon, this, &frmMain::onTrayCode);
    cTray_->Add();
    applyCaptions();
    return true;
}

void frmMain::applyCaptions() {
    const LangOp& captions = context().langOp;
    txtguard_->setCaption(captions.lfm_protection);
    txtReport_->setCaption(captions.lfm_reports);
    txtOptions_->setCaption(captions.lfm_options);
    lblTagline_->setCaption(captions.lfm_tagline);
}

void frmMain::openGuarded(int pageId) {
    if (CheckAdmin::isAdmin(context().adminToken()) != VbTrue) {
        showError(context().services.messages, kAdminMessage);
        return;
    }
    const auto id = static_cast<PageId>(pageId);
    if (!navigator_.hasPage(id)) return;
    hide();
    navigator_.open(id);
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

void frmMain::onBackgroundMouseDown(Qt::MouseButton, float x, float y) {
    if (cTray_) cTray_->CallEvent(x, y);
}

void frmMain::onTrayCode(qint16 code) {
    // Most desktops report a click on the icon and never a double-click: either shows the window.
    if (code == kTrayLeftDoubleClick || code == kTrayLeftUp) {
        navigator_.showMain();
    } else if (code == kTrayRightUp) {
        cTray_->CallPopupMenu(this, mnuMenu_, 0, std::nullopt, mnuMain_);
    }
}

void frmMain::exitProgram() {
    if (cTray_) cTray_->Delete();
    navigator_.endProcess();
}

}  // namespace twk
