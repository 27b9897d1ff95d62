#include "win32/frm_feedback.h"

#include "core/app/app_context.h"
#include "core/app/maker.h"
#include "core/design/feedback_design.h"
#include "win32/navigator.h"
#include "win32/waiting.h"

namespace twk::win32 {

namespace feedback_page = design::feedback_page;

frmFeedback::frmFeedback(AppContext& context, Navigator& navigator)
    : SkinnedPage(context, feedback_page::kPage) {
    wirePlaceholder(box("txtSender"), [] { return std::string(maker::kPlaceholderSender); });
    // The current caption: a language loaded since the page opened moves the placeholder too.
    wirePlaceholder(box("txt_msg"), [&context] { return context.langOp.lff_msg; });
    link("lbl_send").onClick = [this] {
        WaitedHelperLibrary helper(this->context().services.helper, runWhileWaiting);
        SendFeedback(form(), this->context().langOp.lff_msg, helper,
                     this->context().services.messages, this->context().langOp);
    };
    onClose = [&navigator] { navigator.run(feedback_page::kClose, design::PageId::Feedback); };
    Form_Load();
}

// Only a click clears a placeholder: moving into the box with the keyboard leaves it in place.
void frmFeedback::wirePlaceholder(EntryBox& box, std::function<std::string()> placeholder) {
    auto apply = [&box, placeholder](PlaceholderRule rule) {
        box.setValue(rule(box.value(), placeholder()));
    };
    box.onClick = [apply] { apply(textAfterClick); };
    box.onFocusLost = [apply] { apply(textAfterLeaving); };
}

void frmFeedback::Form_Load() {
    const LangOp& captions = context().langOp;
    applyCaptions();
    box("txtSender").setValue(maker::kPlaceholderSender);
    box("txtTheme").setValue(captions.lff_theme_text);
    box("txt_msg").setValue(captions.lff_msg);
}

FeedbackForm frmFeedback::form() const {
    return {box("txtSender").value(), box("txtTheme").value(), box("txt_msg").value()};
}

}  // namespace twk::win32
