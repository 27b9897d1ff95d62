#include "core/mail/feedback.h"

#include <gtest/gtest.h>

#include "core/app/maker.h"
#include "core/i18n/lang_op.h"
#include "core/settings/main_op.h"
#include "support/scripted_services.h"
#include "support/temp_dir.h"
#include "support/temp_registry.h"

namespace twk {
namespace {

constexpr const char* kPrompt = "Type your message...";

class FeedbackTest : public ::testing::Test {
protected:
    bool send(const FeedbackForm& form, const std::string& prompt = kPrompt) {
        return SendFeedback(form, prompt, helper, boxes, LangOp());
    }
    void expectOnlyBox(const std::string& text, MsgIcon icon) {
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, text);
        EXPECT_EQ(boxes.shown[0].title, "Tarnwick");
        EXPECT_EQ(boxes.shown[0].icon, icon);
        EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
        boxes.shown.clear();
    }

    test::ScriptedMessageBoxes boxes;
    test::ScriptedHelperLibrary helper;
};

TEST_F(FeedbackTest, EmptyOrPlaceholderSenderIsRefusedAndNothingIsSent) {
    EXPECT_FALSE(send({maker::kPlaceholderSender, "I found an error!", "It crashes."}));
    expectOnlyBox("Input valid e-mail!", MsgIcon::Error);
    EXPECT_FALSE(send({"", "I found an error!", "It crashes."}));
    expectOnlyBox("Input valid e-mail!", MsgIcon::Error);
    // The sender is checked first, even when the message is missing too.
    EXPECT_FALSE(send({"", "", ""}));
    expectOnlyBox("Input valid e-mail!", MsgIcon::Error);
    EXPECT_TRUE(helper.sent.empty());
}

TEST_F(FeedbackTest, EmptyOrPromptMessageIsRefusedAndNothingIsSent) {
    EXPECT_FALSE(send({"ann@mail.example", "I found an error!", kPrompt}));
    expectOnlyBox("Input your message for us!", MsgIcon::Error);
    EXPECT_FALSE(send({"ann@mail.example", "I found an error!", ""}));
    expectOnlyBox("Input your message for us!", MsgIcon::Error);
    EXPECT_TRUE(helper.sent.empty());
}

TEST_F(FeedbackTest, AfterALanguageChangeTheMessageTestUsesTheNewPrompt) {
    test::TempDir program;
    test::TempRegistry store;
    test::writeFile(program.file("languages/English.twl"),
                    "[frmFeedback]\nlff_msg=Type your message...\n");
    test::writeFile(program.file("languages/Deutsch.twl"),
                    "[frmFeedback]\nlff_msg=Ihre Nachricht...\n");
    MainOp settings{store.root(), program.path()};
    LangOp captions;
    settings.lang = "English";
    captions.Init(settings);
    settings.lang = "Deutsch";
    captions.Init(settings);

    EXPECT_FALSE(send({"ann@mail.example", "", "Ihre Nachricht..."}, captions.lff_msg));
    expectOnlyBox("Input your message for us!", MsgIcon::Error);
    // The old prompt is now an ordinary message.
    EXPECT_TRUE(send({"ann@mail.example", "", "Type your message..."}, captions.lff_msg));
    ASSERT_EQ(helper.sent.size(), 1u);
    EXPECT_EQ(helper.sent[0].body, "Type your message...");
}

TEST_F(FeedbackTest, MailGoesToTheSupportMailboxWithTheSenderOnlyInTheSubject) {
    EXPECT_TRUE(send({"ann@mail.example", "I found an error!", "Line one\r\nLine two"}));
    EXPECT_TRUE(send({"bob@mail.example", "", "Hello"}));
    ASSERT_EQ(helper.sent.size(), 2u);
    const test::SentMail& first = helper.sent[0];
    EXPECT_EQ(first.recipient, maker::kSupportMailbox);
    EXPECT_EQ(first.subject, "theme: I found an error! e-mail: ann@mail.example");
    EXPECT_EQ(first.body, "Line one\r\nLine two");
    EXPECT_EQ(first.attachment, "");
    EXPECT_EQ(helper.sent[1].recipient, maker::kSupportMailbox);
    EXPECT_EQ(helper.sent[1].subject, "theme:  e-mail: bob@mail.example")
        << "an empty theme is allowed";
    EXPECT_EQ(helper.sent[1].body.find("bob@mail.example"), std::string::npos);
}

TEST_F(FeedbackTest, TheLibrarysAnswerDecidesTheMessage) {
    helper.mailResult = 0;
    EXPECT_TRUE(send({"ann@mail.example", "Theme", "Hello"}));
    expectOnlyBox("Your message has been sent!", MsgIcon::Information);
    helper.mailResult = 1;
    EXPECT_FALSE(send({"ann@mail.example", "Theme", "Hello"}));
    expectOnlyBox("The message is not sent, check the data!", MsgIcon::Error);
    helper.mailResult = LoadedHelperLibrary::kFailed;
    EXPECT_FALSE(send({"ann@mail.example", "Theme", "Hello"}));
    expectOnlyBox("The message is not sent, check the data!", MsgIcon::Error);
    EXPECT_EQ(helper.sent.size(), 3u) << "a failed send is never retried";
}

TEST(FeedbackPlaceholders, AClickEmptiesOnlyThePlaceholderAndLeavingEmptyRestoresIt) {
    EXPECT_EQ(textAfterClick(maker::kPlaceholderSender, maker::kPlaceholderSender), "");
    EXPECT_EQ(textAfterClick("ann@mail.example", maker::kPlaceholderSender), "ann@mail.example");
    EXPECT_EQ(textAfterClick("Type your message... ", kPrompt), "Type your message... ");
    EXPECT_EQ(textAfterLeaving("", kPrompt), kPrompt);
    EXPECT_EQ(textAfterLeaving(" ", kPrompt), " ");
    EXPECT_EQ(textAfterLeaving("Hello", kPrompt), "Hello");
}

}  // namespace
}  // namespace twk
