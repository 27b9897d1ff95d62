#pragma once

#include <string>

#include "core/mail/feedback.h"
#include "pages/app/skinned_page.h"

class QLineEdit;
class QPlainTextEdit;

namespace twk {

class Navigator;

// The support page: the user's address, a theme and a message, mailed to the support mailbox.
class frmFeedback : public SkinnedPage {
    Q_OBJECT
public:
    frmFeedback(AppContext& context, Navigator& navigator);

    // Captions from the caption table; the theme and the message start with their captions, the
    // sender box with the placeholder address.
    void Form_Load();

protected:
    // Tells a click into a placeholder box from reaching it with the keyboard.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using PlaceholderRule = std::string (*)(const std::string& text,
                                            const std::string& placeholder);

    void applyToSender(PlaceholderRule rule);
    void applyToMessage(PlaceholderRule rule);
    FeedbackForm form() const;

    Navigator& navigator_;
    QLineEdit* txtSender_ = nullptr;
    QLineEdit* txtTheme_ = nullptr;
    QPlainTextEdit* txt_msg_ = nullptr;
};

}  // namespace twk
