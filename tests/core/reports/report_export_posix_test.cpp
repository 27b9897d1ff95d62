#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>
#include <string>

#include "core/reports/report_export.h"
#include "core/reports/report_loader.h"
#include "support/read_only.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

const std::string kAll(kAllDates);

class ReportExportPosixTest : public ::testing::Test {
protected:
    test::TempDir dir;
    ReportTable table;
    DateList dates;
};

TEST_F(ReportExportPosixTest, SavingReportsEveryFailureAndKeepsAProtectedFile) {
    test::writeFile(dir.file("r/log"), "pc;u1;t\r\n");
    RefreshReports(ReportKind::Devices, dir.file("r"), kAll, table, dates);
    const std::string target = test::writeFile(dir.file("out/report.csv"), std::string(500, 'x'));
    ASSERT_TRUE(SaveReportCsv(target, table, ReportKind::Devices));
    std::ostringstream expected;
    WriteReportCsv(expected, table, ReportKind::Devices);
    EXPECT_EQ(test::readFile(target), expected.str());

    EXPECT_FALSE(SaveReportCsv("/proc/twk-report.csv", table, ReportKind::Devices));
    EXPECT_FALSE(SaveReportCsv("/dev/full", table, ReportKind::Devices)) << "a device";
    struct stat device {};
    ASSERT_EQ(::stat("/dev/full", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode)) << "a device is never replaced, not even by root";

    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);  // the folder alone does not protect the file
    test::ReadOnlyFolder readOnly(dir.file("out"));
    if (!readOnly.active()) GTEST_SKIP() << "this machine allows no read-only folder";
    EXPECT_FALSE(SaveReportCsv(target, table, ReportKind::Devices));
    EXPECT_FALSE(SaveReportCsv(dir.file("out/new.csv"), table, ReportKind::Devices));
    EXPECT_EQ(test::readFile(target), expected.str());
}

}  // namespace
}  // namespace twk
