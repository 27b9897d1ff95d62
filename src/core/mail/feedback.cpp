#include "core/mail/feedback.h"

#include "core/app/maker.h"

namespace twk {

bool isEmptyOrPlaceholder(const std::string& text, const std::string& placeholder) {
    return text.empty() || text == placeholder;
}

std::string textAfterClick(const std::string& text, const std::string& placeholder) {
    return text == placeholder ? std::string() : text;
}

std::string textAfterLeaving(const std::string& text, const std::string& placeholder) {
    return text.empty() ? placeholder : text;
}

std::string feedbackRefusal(const FeedbackForm& form, const std::string& messagePlaceholder,
                            const LangOp& texts) {
    if (isEmptyOrPlaceholder(form.sender, maker::kPlaceholderSender)) return texts.lff_needsender;
    if (isEmptyOrPlaceholder(form.message, messagePlaceholder)) return texts.lff_needmsg;
    return {};
}

std::string feedbackSubject(const std::string& theme, const std::string& sender) {
    return "theme: " + theme + " e-mail: " + sender;
}

bool SendFeedback(const FeedbackForm& form, const std::string& messagePlaceholder,
                  HelperLibrary& helper, MessageBoxes& boxes, const LangOp& texts) {
    const std::string refusal = feedbackRefusal(form, messagePlaceholder, texts);
    if (!refusal.empty()) {
        showError(boxes, refusal);
        return false;
    }
    const std::string noAttachment;
    const bool sent =
        helper.SendMailOut(maker::kSupportMailbox, feedbackSubject(form.theme, form.sender),
                           form.message, noAttachment) == 0;
    if (sent)
        showInformation(boxes, texts.lff_sent);
    else
        showError(boxes, texts.lff_notsent);
    return sent;
}

}  // namespace twk
