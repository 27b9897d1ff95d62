#pragma once

#include <functional>
#include <string>

#include "core/mail/feedback.h"
#include "win32/page.h"

namespace twk::win32 {

class Navigator;

// The support page: the user's address, a theme and a message, mailed to the support mailbox.
class frmFeedback : public SkinnedPage {
public:
    frmFeedback(AppContext& context, Navigator& navigator);

    // Captions from the caption table; the theme and the message start with their captions, the
    // sender box with the placeholder address.
    void Form_Load();

private:
    using PlaceholderRule = std::string (*)(const std::string& text,
                                            const std::string& placeholder);

    void wirePlaceholder(EntryBox& box, std::function<std::string()> placeholder);
    FeedbackForm form() const;
};

}  // namespace twk::win32
