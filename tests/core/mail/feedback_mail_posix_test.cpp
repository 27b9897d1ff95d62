#include <gtest/gtest.h>

#include "core/app/maker.h"
#include "core/mail/feedback.h"
#include "support/http_server.h"
#include "support/scripted_services.h"
#include "support/smtp_server.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

// Feedback through the real helper library from the program folder.
class FeedbackMailTest : public ::testing::Test {
protected:
    bool send(const FeedbackForm& form) {
        return SendFeedback(form, "Type your message...", library, boxes, LangOp());
    }

    test::TempDir config;
    test::ScriptedMessageBoxes boxes;
    LoadedHelperLibrary library{TWK_TEST_HELPER_DIR};
};

TEST_F(FeedbackMailTest, ReachesTheSupportMailboxWithTheSenderInTheSubject) {
    test::SmtpServer server;
    ASSERT_TRUE(server.running()) << server.error();
    test::HelperMailConfig mailConfig(config.path(), server.url());

    EXPECT_TRUE(send({"ann@mail.example", "I found an error!", "It crashes.\nEvery time."}));

    const auto mails = server.messages();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].recipients, std::vector<std::string>{maker::kSupportMailbox});
    EXPECT_EQ(mails[0].header("To"), maker::kSupportMailbox);
    EXPECT_EQ(mails[0].subject, "theme: I found an error! e-mail: ann@mail.example");
    EXPECT_EQ(mails[0].body, "It crashes.\r\nEvery time.");
    EXPECT_TRUE(mails[0].attachments.empty());
    // The user's address is in the subject and nowhere else in the message or its envelope.
    const std::string& raw = mails[0].raw;
    const size_t first = raw.find("ann@mail.example");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(raw.find("ann@mail.example", first + 1), std::string::npos);
    EXPECT_NE(mails[0].sender, "ann@mail.example");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Your message has been sent!");
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Information);
}

TEST_F(FeedbackMailTest, AnUnreachableServerIsReportedAsNotSent) {
    test::HelperMailConfig mailConfig(config.path(),
                                      "smtp://127.0.0.1:" + std::to_string(test::freeLocalPort()));

    EXPECT_FALSE(send({"ann@mail.example", "I found an error!", "It crashes."}));

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "The message is not sent, check the data!");
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Error);
}

}  // namespace
}  // namespace twk
