#include "core/reports/report_export.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/reports/report_loader.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

const std::string kAll(kAllDates);

class ReportExportTest : public ::testing::Test {
protected:
    std::string exported(ReportKind view) const {
        std::ostringstream out;
        EXPECT_TRUE(WriteReportCsv(out, table, view));
        return out.str();
    }

    test::TempDir dir;
    ReportTable table;
    DateList dates;
};

TEST_F(ReportExportTest, DevicesRowsCarryTheColumnsTheHeaderNamesInShownOrder) {
    test::writeFile(dir.file("r/log"),
                    "pc;u1;11.01.2013 1;f;n;p;d;s;e;h;m;serial1\r\n"
                    "pc;u2;12.01.2013 2;f;n;p;d;s;e;h;m;serial2\n"
                    "pc;u3;11.01.2013 3\r\n");
    RefreshReports(ReportKind::Devices, dir.file("r"), kAll, table, dates);
    EXPECT_EQ(exported(ReportKind::Devices),
              "User;Time;Action;Name;Description;Path;Manufacturer; Service;Enumerator;"
              "Hardware ID;Serial number\r\n"
              "u1;11.01.2013 1;f;n;d;p;m;s;e;h;serial1\r\n"
              "u2;12.01.2013 2;f;n;d;p;m;s;e;h;serial2\r\n"
              "u3;11.01.2013 3;;;;;;;;;\r\n");

    table.sortByColumn(1);
    table.sortByColumn(1);
    const std::string sorted = exported(ReportKind::Devices);
    EXPECT_EQ(sorted.substr(sorted.find("\r\n") + 2, 3), "u3;");

    RefreshReports(ReportKind::Devices, dir.file("r"), "11.01.2013", table, dates);
    const std::string narrowed = exported(ReportKind::Devices);
    EXPECT_EQ(narrowed.substr(narrowed.find("\r\n") + 2),
              "u1;11.01.2013 1;f;n;d;p;m;s;e;h;serial1\r\nu3;11.01.2013 3;;;;;;;;;\r\n");
}

TEST_F(ReportExportTest, VirusesRowsAreWrittenAfterTheirHeader) {
    test::writeFile(dir.file("q/a.csv"),
                    std::string(kVirusFileHeader) + "\r\npc;ann;t 1;Moved;E:\\a.exe;Q:\\a;E:\r\n");
    RefreshReports(ReportKind::Viruses, dir.file("q"), kAll, table, dates);
    EXPECT_EQ(exported(ReportKind::Viruses),
              "User;Time;Action;Source path;Destination path;Device\r\n"
              "ann;t 1;Moved;E:\\a.exe;Q:\\a;E:\r\n");
    EXPECT_EQ(ExportViewOfDevicesTag("1"), ReportKind::Devices);
    EXPECT_EQ(ExportViewOfDevicesTag("0"), ReportKind::Viruses);
    EXPECT_EQ(ExportViewOfDevicesTag(""), ReportKind::Viruses);
}

TEST_F(ReportExportTest, SavingReplacesTheFileAndAMissingFolderFails) {
    test::writeFile(dir.file("r/log"), "pc;u1;t\r\n");
    RefreshReports(ReportKind::Devices, dir.file("r"), kAll, table, dates);
    const std::string target = test::writeFile(dir.file("out/report.csv"), std::string(500, 'x'));
    ASSERT_TRUE(SaveReportCsv(target, table, ReportKind::Devices));
    std::ostringstream expected;
    WriteReportCsv(expected, table, ReportKind::Devices);
    EXPECT_EQ(test::readFile(target), expected.str());
    EXPECT_FALSE(SaveReportCsv(dir.file("missing/report.csv"), table, ReportKind::Devices));
}

}  // namespace
}  // namespace twk
