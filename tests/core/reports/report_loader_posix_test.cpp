#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/reports/report_loader.h"
#include "core/reports/report_test_support.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

using Texts = std::vector<std::string>;

constexpr std::size_t kPC = 0;
const std::string kAll(kAllDates);

class ReportLoaderPosixTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir.file(name); }

    test::TempDir dir;
    ReportTable table;
    DateList dates;
};

TEST_F(ReportLoaderPosixTest, UnreadableFilesAreListedAndTheLoadGoesOn) {
    test::writeFile(path("r/a"), "before\r\n");
    ASSERT_EQ(::symlink("/proc/self/mem", path("r/b").c_str()), 0);  // opens, fails to read
    test::writeFile(path("r/c"), "after\r\n");
    Texts expectedWhat{"could not be read"};
    if (::geteuid() != 0) {  // permissions stop only ordinary users
        test::writeFile(path("r/bb"), "locked\r\n");
        ASSERT_EQ(::chmod(path("r/bb").c_str(), 0), 0);
        expectedWhat.push_back("could not be opened");
    }
    const ReportLoad load = LoadDeviceReports(path("r"), kAll, table, dates);
    EXPECT_EQ(test::columnTexts(table, kPC), (Texts{"before", "after"}));
    ASSERT_EQ(load.problems.size(), expectedWhat.size());
    for (std::size_t i = 0; i < expectedWhat.size(); ++i) {
        EXPECT_EQ(load.problems[i].path, path(i == 0 ? "r/b" : "r/bb"));
        EXPECT_EQ(load.problems[i].what().rfind(expectedWhat[i], 0), 0u) << load.problems[i].what();
    }
}

}  // namespace
}  // namespace twk
