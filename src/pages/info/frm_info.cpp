#include "pages/info/frm_info.h"

#include "core/app/app_context.h"
#include "core/app/maker.h"
#include "core/settings/main_op.h"
#include "pages/app/navigator.h"
#include "pages/app/skin.h"

namespace twk {
namespace {

constexpr double kLinkPointSize = 18;

}  // namespace

frmInfo::frmInfo(AppContext& context, Navigator& navigator)
    : SkinnedPage(context, QStringLiteral("frmInfo"), QStringLiteral("info_background"),
                  QSize(9600, 7185)),
      navigator_(navigator) {
    buildLinks();
    buildButtons();
    lblTagline_ =
        addDesignText("lblTagline", twipsRect(3210, 2430, 6000, 330), 13.5, rgb(78, 110, 113));
    lblVersion_ =
        addDesignText("lblVersion", twipsRect(3210, 2910, 4500, 240), 9.75, rgb(122, 146, 148));
    Form_Load();
    centerOnScreen();
}

void frmInfo::buildLinks() {
    txtMail_ = new TextLink(this, QStringLiteral("txtMail"), twipsRect(960, 4560, 1005, 405),
                            QStringLiteral("E-Mail"), kLinkPointSize, QAccessible::Link);
    txtHome_ = new TextLink(this, QStringLiteral("txtHome"), twipsRect(960, 5160, 1755, 405),
                            QStringLiteral("Homepage"), kLinkPointSize, QAccessible::Link);
    txtOk_ = new TextLink(this, QStringLiteral("txtOk"), twipsRect(8880, 6600, 465, 405),
                          QStringLiteral("Ok"), kLinkPointSize);
    for (TextLink* link : {txtMail_, txtHome_, txtOk_}) addTextLink(link);
    connect(txtMail_, &Caption::clicked, this, &frmInfo::openFeedback);
    connect(txtHome_, &Caption::clicked, this, [this] { openAddress(maker::kHomePage); });
    connect(txtOk_, &Caption::clicked, this, &frmInfo::backToMain);
}

void frmInfo::buildButtons() {
    auto* facebook =
        addHoverButton("cmd_facebook", "cmd_f", "facebook", twipsRect(240, 6600, 360, 360));
    auto* twitter =
        addHoverButton("cmd_twitter", "cmd_t", "twitter", twipsRect(720, 6550, 480, 480));
    facebook->setAccessibleName(QStringLiteral("Facebook"));
    twitter->setAccessibleName(QStringLiteral("Twitter"));
    auto* close = addCloseButton(twipsRect(9000, 120, 435, 435));
    // Tab goes down the page in reading order, the close button last.
    setFocusOrder({txtMail_, txtHome_, facebook, twitter, txtOk_, close});
    connect(facebook, &PictureButton::clicked, this, [this] { openAddress(maker::kFacebookPage); });
    connect(twitter, &PictureButton::clicked, this, [this] { openAddress(maker::kTwitterPage); });
    connect(close, &PictureButton::clicked, this, &frmInfo::backToMain);
}

void frmInfo::Form_Load() {
    txtMail_->setCaption(context().langOp.lfi_mail);
    txtHome_->setCaption(context().langOp.lfi_homepage);
    lblTagline_->setCaption(context().langOp.lfi_tagline);
    lblVersion_->setCaption(context().langOp.lfi_version + " " + kProgramVersion);
}

void frmInfo::backToMain() {
    navigator_.unload(PageId::Info);
    navigator_.showMain();
}

void frmInfo::openFeedback() {
    navigator_.open(PageId::Feedback);
    navigator_.unload(PageId::Info);
}

void frmInfo::openAddress(const char* address) { context().services.urls.openUrl(address); }

}  // namespace twk
