// Mail servers that refuse at every step of the conversation, or stop answering: the helper
// library answers "not sent" once its attempt is over, and each page tells the user so.
#include <gtest/gtest.h>

#include <ostream>

#include "core/mail/feedback.h"
#include "core/reports/send_report_flow.h"
#include "helper/send_mail.h"
#include "support/scripted_services.h"
#include "support/smtp_server.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

using test::SmtpFault;

struct FaultCase {
    const char* name;
    SmtpFault fault;
    bool stalls;
};

void PrintTo(const FaultCase& fault, std::ostream* out) { *out << fault.name; }

class MailServerFaultsTest : public ::testing::TestWithParam<FaultCase> {
protected:
    void SetUp() override { ASSERT_TRUE(server.running()) << server.error(); }

    test::HelperMailSettings settings() const {
        test::HelperMailSettings settings;
        settings.server = server.url();
        settings.timeout = "1";  // a stalled server is given up after a second
        return settings;
    }

    test::TempDir config, program;
    test::SmtpServer server{{"", "", GetParam().fault}};
    test::ScriptedMessageBoxes boxes;
    LoadedHelperLibrary library{TWK_TEST_HELPER_DIR};
};

TEST_P(MailServerFaultsTest, LibraryAnswersNotDeliveredAndNothingArrives) {
    test::HelperMailConfig mail(config.path(), settings());
    EXPECT_EQ(library.SendMailOut("admin@customer.example", "s", "b", ""), twkd::kMailNotDelivered);
    EXPECT_TRUE(server.messages().empty());
    // The library gives up on a stalled server itself, long before the server would.
    if (GetParam().stalls) {
        EXPECT_EQ(server.stallEnd(), test::SmtpServer::StallEnd::ClientHungUp);
    }
}

TEST_P(MailServerFaultsTest, FeedbackTellsTheUserItWasNotSent) {
    test::HelperMailConfig mail(config.path(), settings());
    EXPECT_FALSE(SendFeedback({"ann@mail.example", "I found an error!", "It crashes."},
                              "Type your message...", library, boxes, LangOp()));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "The message is not sent, check the data!");
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Error);
}

TEST_P(MailServerFaultsTest, ReportTellsTheUserItWasNotSentAndKeepsTheWrittenFile) {
    test::HelperMailConfig mail(config.path(), settings());
    test::FixedClock clock;
    const ReportWriter writer = [](const std::string& file) {
        return !test::writeFile(file, "User;Time\r\nann;now\r\n").empty();
    };
    SendReport(
        "admin@customer.example", program.path(), boxes, library, clock,
        [](auto) { return std::string("01.02.2024 10:00:00"); }, writer, LangOp());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "The report is not sent, check the data!");
    EXPECT_EQ(test::readFile(program.file(kManualReportFile)), "User;Time\r\nann;now\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, MailServerFaultsTest,
    ::testing::Values(FaultCase{"RefusedConnection", SmtpFault::RefuseConnection, false},
                      FaultCase{"RefusedSender", SmtpFault::RefuseSender, false},
                      FaultCase{"RefusedRecipient", SmtpFault::RefuseRecipient, false},
                      FaultCase{"RefusedData", SmtpFault::RefuseData, false},
                      FaultCase{"StalledGreeting", SmtpFault::StallGreeting, true},
                      FaultCase{"StalledData", SmtpFault::StallData, true}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

}  // namespace
}  // namespace twk
