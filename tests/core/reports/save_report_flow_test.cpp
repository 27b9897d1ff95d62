#include "core/reports/save_report_flow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/reports/save_report_flow_fixture.h"
#include "platform/files.h"
#include "support/scripted_services.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

using SaveReportFlowTest = test::SaveReportFlowFixture;

TEST_F(SaveReportFlowTest, CancelledDialogWritesNothingAndSaysNothing) {
    save();
    EXPECT_EQ(dialog.asked, 1);
    EXPECT_EQ(dialog.lastFilterName, "CSV file ");
    EXPECT_EQ(dialog.lastPattern, "*.csv");
    EXPECT_EQ(dialog.lastStartFolder, platform::documentsFolder());
    EXPECT_TRUE(written.empty());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SaveReportFlowTest, NewFileGetsTheCsvExtensionWhenTypedWithoutOne) {
    dialog.answer = dir.file("monday");
    save();
    dialog.answer = dir.file("tuesday.txt");
    save();
    EXPECT_EQ(written, (std::vector<std::string>{dir.file("monday.csv"), dir.file("tuesday.txt")}));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Saving report is complete!");
    EXPECT_EQ(boxes.shown[0].title, "Tarnwick");
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Information);
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
}

TEST_F(SaveReportFlowTest, ExistingFileIsReplacedOnlyAfterOk) {
    dialog.answer = test::writeFile(dir.file("old.csv"), "old");
    boxes.answers = {MsgAnswer::Cancel};
    save();
    EXPECT_TRUE(written.empty());
    EXPECT_EQ(test::readFile(dialog.answer), "old");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "File is exists, do you want overwrite file?");
    EXPECT_EQ(boxes.shown[0].title, "Tarnwick");
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Error);
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::OkCancel);

    boxes.answers = {MsgAnswer::Ok};
    save();
    EXPECT_EQ(written, std::vector<std::string>{dialog.answer});
    EXPECT_EQ(existedBefore, std::vector<bool>{true}) << "the old file stays until replaced";
    EXPECT_EQ(test::readFile(dialog.answer), "new");
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[2].text, "Saving report is complete!");
}

TEST_F(SaveReportFlowTest, FailedWriteIsReportedNamingTheFile) {
    dialog.answer = dir.file("report.csv");
    writerAnswer = false;
    save();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "The report could not be saved to:\n" + dir.file("report.csv"));
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Error);
}

}  // namespace
}  // namespace twk
