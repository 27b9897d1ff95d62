#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/reports/report_export.h"
#include "core/reports/report_loader.h"
#include "core/reports/save_report_flow.h"
#include "support/full_disk.h"
#include "support/scripted_services.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

TEST(SaveReportFlowPosixTest, FullDiskKeepsTheOldExportWholeReportsItAndLeavesNoTemporaryFile) {
    test::TempDir dir;
    std::string rows;
    for (int i = 0; i < 5000; ++i) rows += "pc;u" + std::to_string(i) + ";01.02.2024 10:00\r\n";
    test::writeFile(dir.file("r/log"), rows);
    ReportTable table;
    DateList dates;
    RefreshReports(ReportKind::Devices, dir.file("r"), std::string(kAllDates), table, dates);
    const std::string folder = dir.file("out");
    std::filesystem::create_directories(folder);
    test::FullDisk disk(folder);
    if (!disk.active()) GTEST_SKIP() << "this machine can neither mount nor limit file sizes";
    const std::string old = test::writeFile(folder + "/report.csv", "the old export\r\n");
    disk.fill();

    test::ScriptedSaveFileDialog dialog;
    test::ScriptedMessageBoxes boxes;
    dialog.answer = old;
    boxes.answers = {MsgAnswer::Ok};
    SaveReportAs(
        dialog, boxes,
        [&](const std::string& fileName) {
            return SaveReportCsv(fileName, table, ReportKind::Devices);
        },
        LangOp());
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "File is exists, do you want overwrite file?");
    EXPECT_EQ(boxes.shown[1].text, "The report could not be saved to:\n" + old);
    EXPECT_EQ(boxes.shown[1].icon, MsgIcon::Error);
    EXPECT_EQ(test::readFile(old), "the old export\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "report.csv" || name == "filler") << name << " was left behind";
    }
}

}  // namespace
}  // namespace twk
