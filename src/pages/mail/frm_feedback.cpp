#include "pages/mail/frm_feedback.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include "core/app/app_context.h"
#include "core/app/maker.h"
#include "pages/app/entry_box.h"
#include "pages/app/navigator.h"
#include "pages/app/qt_text.h"
#include "pages/app/skin.h"
#include "pages/app/waiting.h"

namespace twk {
namespace {

constexpr double kTitlePointSize = 15.75;
constexpr double kLabelPointSize = 9.75;
constexpr double kSendPointSize = 12;

bool isLeftButtonPress(const QEvent* event) {
    return event->type() == QEvent::MouseButtonPress &&
           static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton;
}

// Leaving a box for another control restores its placeholder; a context menu or another window
// taking the focus does not, so pasting into an emptied box still works.
bool isFocusLeavingBox(const QEvent* event) {
    if (event->type() != QEvent::FocusOut) return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

}  // namespace

frmFeedback::frmFeedback(AppContext& context, Navigator& navigator)
    : SkinnedPage(context, QStringLiteral("frmFeedback"), QStringLiteral("feedback_background"),
                  QSize(9600, 7200)),
      navigator_(navigator) {
    buildCaptions();
    buildBoxes();
    buildButtons();
    Form_Load();
    centerOnScreen();
    // The page opens with the focus on no box: typing straight away would land behind a
    // placeholder, which only a click clears.
    setFocus();
}

void frmFeedback::buildCaptions() {
    auto* icon = new SkinImage(
        this, QStringLiteral("feedback_page_icon"), twipsRect(360, 285, 480, 480),
        {{QStringLiteral("feedback_page_icon"), QStringLiteral("feedback_page_icon")}});
    icon->setAttribute(Qt::WA_TransparentForMouseEvents);

    lbl_pagename_ =
        new Caption(this, QStringLiteral("lbl_pagename"), twipsRect(1020, 300, 6000, 480),
                    QStringLiteral("Support page"), kTitlePointSize);
    lbl_sender_ = new Caption(this, QStringLiteral("lbl_sender"), twipsRect(480, 1470, 4200, 270),
                              QStringLiteral("Sender"), kLabelPointSize);
    lbl_theme_ = new Caption(this, QStringLiteral("lbl_theme"), twipsRect(480, 2340, 4200, 270),
                             QStringLiteral("Theme"), kLabelPointSize);
    // Plain captions are part of the window surface: the drag and the link reset work over them.
    for (Caption* caption : {lbl_pagename_, lbl_sender_, lbl_theme_})
        caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    lbl_send_ = new TextLink(this, QStringLiteral("lbl_send"), twipsRect(5790, 6540, 3300, 405),
                             QStringLiteral("Send message"), kSendPointSize);
    lbl_send_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addTextLink(lbl_send_);
    connect(lbl_send_, &Caption::clicked, this, [this] {
        WaitingHelperLibrary helper(context().services.helper);
        SendFeedback(form(), context().langOp.lff_msg, helper, context().services.messages);
    });
}

void frmFeedback::buildBoxes() {
    txtSender_ = makeOneLineBox(this, QStringLiteral("txtSender"), twipsRect(480, 1755, 4200, 375));
    txtTheme_ = makeOneLineBox(this, QStringLiteral("txtTheme"), twipsRect(480, 2625, 8610, 375));
    lbl_sender_->labelFor(txtSender_);
    lbl_theme_->labelFor(txtTheme_);
    txt_msg_ = new QPlainTextEdit(this);
    txt_msg_->setObjectName(QStringLiteral("txt_msg"));
    txt_msg_->setFrameShape(QFrame::NoFrame);
    styleEntryBox(txt_msg_);
    placeInTextFrame(txt_msg_, twipsRect(480, 3180, 8610, 2940));
    txt_msg_->setTabChangesFocus(true);
    txtSender_->installEventFilter(this);
    txt_msg_->installEventFilter(this);
    // Clicks land on the viewport of a multi-line box, the focus on the box itself.
    txt_msg_->viewport()->installEventFilter(this);
}

void frmFeedback::buildButtons() {
    PictureButton* close = addCloseButton(twipsRect(9000, 120, 435, 435));
    connect(close, &PictureButton::clicked, this, &frmFeedback::closePage);
    setFocusOrder({txtSender_, txtTheme_, txt_msg_, lbl_send_, close});
}

void frmFeedback::Form_Load() {
    const LangOp& captions = context().langOp;
    lbl_pagename_->setCaption(captions.lff_pagename);
    txt_msg_->setAccessibleName(qs(captions.lff_msg));
    lbl_sender_->setCaption(captions.lff_sender);
    lbl_theme_->setCaption(captions.lff_theme);
    lbl_send_->setCaption(captions.lff_send);
    txtSender_->setText(qs(maker::kPlaceholderSender));
    txtTheme_->setText(qs(captions.lff_theme_text));
    txt_msg_->setPlainText(qs(captions.lff_msg));
}

bool frmFeedback::eventFilter(QObject* watched, QEvent* event) {
    if (isLeftButtonPress(event)) {
        if (watched == txtSender_) applyToSender(textAfterClick);
        if (watched == txt_msg_->viewport()) applyToMessage(textAfterClick);
    } else if (isFocusLeavingBox(event)) {
        if (watched == txtSender_) applyToSender(textAfterLeaving);
        if (watched == txt_msg_) applyToMessage(textAfterLeaving);
    }
    return SkinnedPage::eventFilter(watched, event);
}

void frmFeedback::applyToSender(PlaceholderRule rule) {
    const QString text = qs(rule(local8(txtSender_->text()), maker::kPlaceholderSender));
    if (text != txtSender_->text()) txtSender_->setText(text);
}

void frmFeedback::applyToMessage(PlaceholderRule rule) {
    // The current caption: a language loaded since the page opened moves the placeholder too.
    const QString text = qs(rule(local8(txt_msg_->toPlainText()), context().langOp.lff_msg));
    if (text != txt_msg_->toPlainText()) txt_msg_->setPlainText(text);
}

FeedbackForm frmFeedback::form() const {
    return {local8(txtSender_->text()), local8(txtTheme_->text()), local8(txt_msg_->toPlainText())};
}

void frmFeedback::closePage() {
    navigator_.unload(PageId::Feedback);
    navigator_.open(PageId::Info);
}

}  // namespace twk
