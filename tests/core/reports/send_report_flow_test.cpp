#include "core/reports/send_report_flow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/app/maker.h"
#include "core/reports/report_loader.h"
#include "platform/roots.h"
#include "support/scripted_services.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

class SendReportFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeFile(dir.file("r/log"), "pc;ann;11.01.2013 1;Connect\r\n");
        RefreshReports(ReportKind::Devices, dir.file("r"), std::string(kAllDates), table, dates);
    }

    void send(const std::string& recipient, const std::string& programFolder) {
        SendReport(
            recipient, programFolder, boxes, helper, clock,
            [this](std::chrono::system_clock::time_point when) {
                formatted.push_back(when);
                return std::string("11.01.2013 19:52:21");
            },
            [this](const std::string& fileName) {
                writtenTo.push_back(fileName);
                return SaveReportCsv(fileName, table, ReportKind::Devices);
            },
            LangOp());
    }

    std::string expectedFile() const {
        std::ostringstream out;
        WriteReportCsv(out, table, ReportKind::Devices);
        return out.str();
    }

    test::TempDir dir;
    ReportTable table;
    DateList dates;
    test::ScriptedMessageBoxes boxes;
    test::ScriptedHelperLibrary helper;
    test::FixedClock clock;
    std::vector<std::chrono::system_clock::time_point> formatted;
    std::vector<std::string> writtenTo;
};

TEST_F(SendReportFlowTest, EmptyOrPlaceholderRecipientIsRefusedBeforeAnythingHappens) {
    send(maker::kPlaceholderRecipient, dir.path());
    send("", dir.path());
    EXPECT_TRUE(writtenTo.empty());
    EXPECT_TRUE(helper.sent.empty());
    EXPECT_FALSE(test::exists(dir.file("ManualReport.csv")));
    ASSERT_EQ(boxes.shown.size(), 2u);
    for (const test::ShownBox& box : boxes.shown) {
        EXPECT_EQ(box.text, "Invalid recipient!");
        EXPECT_EQ(box.title, "Tarnwick");
        EXPECT_EQ(box.icon, MsgIcon::Error);
    }
}

TEST_F(SendReportFlowTest, ReportIsWrittenAndMailedWithTheDateInTheBody) {
    send("boss@example.org", dir.path());
    ASSERT_EQ(helper.sent.size(), 1u);
    const test::SentMail& mail = helper.sent[0];
    EXPECT_EQ(mail.recipient, "boss@example.org");
    EXPECT_EQ(mail.subject, "Report from Tarnwick program");
    EXPECT_EQ(mail.body.substr(0, 7), std::string("Date:") + '\\' + 'n');
    EXPECT_EQ(mail.body, "Date:\\n11.01.2013 19:52:21");
    EXPECT_EQ(formatted, std::vector{clock.time}) << "the body tells the clock's now";
    EXPECT_EQ(mail.attachment, dir.file("ManualReport.csv"));
    EXPECT_EQ(mail.attachmentBytes, expectedFile());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Your report has been sent!");
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Information);
}

TEST_F(SendReportFlowTest, RefusedMailStillLeavesTheWrittenFile) {
    test::writeFile(dir.file("ManualReport.csv"), "previous sending");
    helper.mailResult = 1;
    send("boss@example.org", dir.path());
    ASSERT_EQ(helper.sent.size(), 1u);
    EXPECT_EQ(test::readFile(dir.file("ManualReport.csv")), expectedFile());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "The report is not sent, check the data!");
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Error);
}

TEST_F(SendReportFlowTest, ReportThatCannotBeWrittenIsNotSent) {
    test::writeFile(dir.file("a file"), "");
    std::filesystem::create_directories(dir.file("folder/ManualReport.csv"));
    // A file where the folder should be; a folder where the report should be.
    for (const std::string& folder : {dir.file("a file/tarnwick"), dir.file("folder")}) {
        boxes.shown.clear();
        send("boss@example.org", folder);
        EXPECT_TRUE(helper.sent.empty());
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "The report could not be written, so it was not sent:\n" +
                                           folder + platform::pathSeparator() + "ManualReport.csv");
        EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Error);
    }
}

}  // namespace
}  // namespace twk
