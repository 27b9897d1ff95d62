#include "pages/mail/frm_feedback.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include "core/app/app_context.h"
#include "core/app/maker.h"
#include "core/design/feedback_design.h"
#include "pages/app/navigator.h"
#include "pages/app/qt_text.h"
#include "pages/app/waiting.h"

namespace twk {

namespace feedback_page = design::feedback_page;

namespace {

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
    : SkinnedPage(context, feedback_page::kPage), navigator_(navigator) {
    buildDesign();
    txtSender_ = control<QLineEdit>("txtSender");
    txtTheme_ = control<QLineEdit>("txtTheme");
    txt_msg_ = control<QPlainTextEdit>("txt_msg");
    txtSender_->installEventFilter(this);
    txt_msg_->installEventFilter(this);
    // Clicks land on the viewport of a multi-line box, the focus on the box itself.
    txt_msg_->viewport()->installEventFilter(this);
    onClick("lbl_send", [this] {
        WaitingHelperLibrary helper(this->context().services.helper);
        SendFeedback(form(), this->context().langOp.lff_msg, helper,
                     this->context().services.messages, this->context().langOp);
    });
    onClick("cmd_close", [this] { navigator_.take(feedback_page::kClose, PageId::Feedback); });
    Form_Load();
    centerOnScreen();
    // The page opens with the focus on no box: typing straight away would land behind a
    // placeholder, which only a click clears.
    setFocus();
}

void frmFeedback::Form_Load() {
    const LangOp& captions = context().langOp;
    showCaptions(captions);
    txt_msg_->setAccessibleName(qs(captions.lff_msg));
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

}  // namespace twk
