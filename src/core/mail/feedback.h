#pragma once

#include <string>

#include "core/app/services.h"
#include "core/i18n/lang_op.h"
#include "core/mail/helper_library.h"

namespace twk {

// The three boxes of the feedback page as the user left them.
struct FeedbackForm {
    std::string sender;
    std::string theme;
    std::string message;
};

// A box that holds nothing or exactly its placeholder counts as empty.
bool isEmptyOrPlaceholder(const std::string& text, const std::string& placeholder);

// Placeholder boxes: a click empties a box that shows its placeholder; leaving a box empty puts
// the placeholder back. Anything else stays as it is.
std::string textAfterClick(const std::string& text, const std::string& placeholder);
std::string textAfterLeaving(const std::string& text, const std::string& placeholder);

// Why the form cannot be sent, or empty text when it can. messagePlaceholder is the caption the
// message box shows right now, so a language change moves the test with it.
std::string feedbackRefusal(const FeedbackForm& form, const std::string& messagePlaceholder,
                            const LangOp& texts);

// The user's own address travels here only: the mail always goes to the support mailbox.
std::string feedbackSubject(const std::string& theme, const std::string& sender);

// The feedback page's send action: refuses an incomplete form, otherwise mails it to the
// support mailbox without attachment and tells the user the outcome. True when it was sent.
bool SendFeedback(const FeedbackForm& form, const std::string& messagePlaceholder,
                  HelperLibrary& helper, MessageBoxes& boxes, const LangOp& texts);

}  // namespace twk
