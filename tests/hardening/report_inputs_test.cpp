// Report folders as the guard service, a broken disk or another user may leave them: every
// load ends, reads what can be read, names what it had to pass over, and never changes or
// removes a report file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/reports/report_export.h"
#include "core/reports/report_loader.h"
#include "support/read_only.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

using namespace std::string_literals;

const std::string kAll(kAllDates);

// Writes a file with plain system calls: fast enough for a hundred thousand of them.
void writeSmallFile(const std::string& path, const std::string& bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

class ReportInputsTest : public ::testing::Test {
protected:
    ReportLoad refresh(ReportKind kind, const std::string& folder, const std::string& date = kAll) {
        return RefreshReports(kind, folder, date, table, dates);
    }

    test::TempDir dir;
    ReportTable table;
    DateList dates;
};

TEST_F(ReportInputsTest, BinaryFilesAndNulBytesBecomeRowsWithEveryByteKept) {
    std::string binary;
    for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
    const std::string withNul = "PC\0one;user;01.02.2024 10:00;moved\0here"s;
    test::writeFile(dir.file("q/binary.csv"), binary + binary);
    test::writeFile(dir.file("q/nul.csv"), withNul + "\r\n");
    const ReportLoad load = refresh(ReportKind::Viruses, dir.file("q"));
    EXPECT_TRUE(load.problems.empty());
    // Two line feeds in the binary file make three lines, then the line with NULs.
    ASSERT_EQ(table.rowCount(), 4u);
    EXPECT_EQ(load.RecordCount, 4u);
    EXPECT_EQ(table.cell(3, 0), std::string_view("PC\0one", 6));
    EXPECT_EQ(table.cell(3, 3), std::string_view("moved\0here", 10));
    EXPECT_EQ(dates.entries(), (std::vector<std::string>{kAll, "01.02.2024"}));
    std::ostringstream csv;
    ASSERT_TRUE(WriteReportCsv(csv, table, ReportKind::Viruses));
    EXPECT_NE(csv.str().find("user;01.02.2024 10:00;moved\0here"s), std::string::npos)
        << "the export keeps the bytes too";
    EXPECT_EQ(test::readFile(dir.file("q/binary.csv")), binary + binary) << "never changed";
}

TEST_F(ReportInputsTest, OneLineOfAHundredMegabytesIsOneRecord) {
    const std::string file = dir.file("r/huge.log");
    const std::string head = "PC;user;03.03.2024 12:00;";
    {
        std::string line = head;
        line.append(100u << 20, 'x');
        line += "\r\nsmall;user;04.03.2024 08:00;removed\r\n";
        test::writeFile(file, line);
    }
    const ReportLoad load = refresh(ReportKind::Devices, dir.file("r"));
    EXPECT_TRUE(load.problems.empty());
    ASSERT_EQ(table.rowCount(), 2u);
    EXPECT_EQ(table.cell(0, 3).size(), 100u << 20);
    EXPECT_EQ(ShownCell(table.cell(0, 3)), std::string(kShownCellBytes, 'x'))
        << "the page shows the start of the cell only";
    EXPECT_EQ(table.cell(1, 0), "small");
    EXPECT_EQ(dates.entries(), (std::vector<std::string>{kAll, "03.03.2024", "04.03.2024"}));
    table.clear();  // the hundred megabytes go now, not with the test
}

TEST(ShownCellTest, LongCellsAreCutBeforeTheirLimitAtACharacterBoundary) {
    const std::string fits(kShownCellBytes, 'a');
    EXPECT_EQ(ShownCell(fits), fits);
    std::string twoByte = "x";
    while (twoByte.size() <= kShownCellBytes) twoByte += "\xc3\xbc";
    const std::string_view shown = ShownCell(twoByte);
    EXPECT_EQ(shown.size(), kShownCellBytes - 1) << "the limit falls inside a character";
    EXPECT_EQ(shown, std::string_view(twoByte).substr(0, kShownCellBytes - 1));
}

TEST_F(ReportInputsTest, AHundredThousandFilesInOneFolderAreAllReadInNameOrder) {
    constexpr int kFiles = 100000;
    const std::string folder = dir.file("r");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    char name[32];
    for (int i = 0; i < kFiles; ++i) {
        std::snprintf(name, sizeof name, "/%06d.log", kFiles - 1 - i);  // created in reverse
        writeSmallFile(folder + name,
                       "PC" + std::to_string(kFiles - 1 - i) + ";u;05.05.2024 1\r\n");
    }
    const ReportLoad load = refresh(ReportKind::Devices, folder);
    EXPECT_TRUE(load.problems.empty());
    EXPECT_EQ(load.RecordCount, static_cast<size_t>(kFiles));
    ASSERT_EQ(table.rowCount(), static_cast<size_t>(kFiles));
    EXPECT_EQ(table.cell(0, 0), "PC0");
    EXPECT_EQ(table.cell(kFiles - 1, 0), "PC" + std::to_string(kFiles - 1));
    EXPECT_EQ(dates.entries().size(), 2u);
}

TEST_F(ReportInputsTest, FileMovedAwayWhileAViewLoadsIsNoProblemAndShowsInItsNewFolderAfterwards) {
    const std::string folder = dir.file("r");
    const std::string sended = folder + "/sended reports";
    test::writeFile(folder + "/a.log", "first;u;06.06.2024 1\r\n");
    test::writeFile(folder + "/c.log", "last;u;06.06.2024 2\r\n");
    test::writeFile(sended + "/b.log", "middle;u;06.06.2024 3\r\n");
    const std::string inMain = folder + "/b.log", inSended = sended + "/b.log";
    std::atomic<bool> stop{false};
    // The guard service's moves, as fast as they come: listed in one folder, gone when opened.
    std::thread mover([&] {
        while (!stop) {
            ::rename(inSended.c_str(), inMain.c_str());
            ::rename(inMain.c_str(), inSended.c_str());
        }
    });
    std::string firstProblem;
    for (int loads = 0; loads < 5000 && firstProblem.empty(); ++loads) {
        table.clear();
        firstProblem =
            ReportProblemsMessage(refresh(ReportKind::Devices, folder).problems, LangOp());
    }
    stop = true;
    mover.join();
    EXPECT_EQ(firstProblem, "");
    ASSERT_TRUE(test::exists(inSended));
    table.clear();
    refresh(ReportKind::Devices, folder);
    ASSERT_EQ(table.rowCount(), 3u);
    EXPECT_EQ(table.cell(0, 0), "middle") << "the sended reports come first";
    EXPECT_EQ(table.cell(1, 0), "first");
    EXPECT_EQ(table.cell(2, 0), "last");
}

TEST_F(ReportInputsTest, ThousandUnreadableFilesAreCountedButTheMessageNamesOnlyTheFirst) {
    const std::string folder = dir.file("r");
    test::writeFile(folder + "/0000.log", "readable;u;09.09.2024 1\r\n");
    char name[32];
    for (int i = 1; i <= 1000; ++i) {
        std::snprintf(name, sizeof name, "/%04d.log", i);
        // Opens like any file, then every read fails with an input/output error.
        ASSERT_EQ(::symlink("/proc/self/mem", (folder + name).c_str()), 0);
    }
    const ReportLoad load = refresh(ReportKind::Devices, folder);
    ASSERT_EQ(table.rowCount(), 1u);
    ASSERT_EQ(load.problems.size(), 1000u);
    const std::string message = ReportProblemsMessage(load.problems, LangOp());
    std::string expected = "Some reports could not be read:";
    for (int i = 1; i <= 10; ++i) {
        std::snprintf(name, sizeof name, "/%04d.log", i);
        expected += "\n" + folder + name + " - " + load.problems[i - 1].what();
    }
    EXPECT_EQ(message, expected + "\n... and 990 more");
    EXPECT_EQ(load.problems[0].what().rfind("could not be read", 0), 0u) << load.problems[0].what();
}

TEST_F(ReportInputsTest, ReportFolderThatIsAFileIsNamedAndLeftAsItIs) {
    const std::string file = test::writeFile(dir.file("reports"), "a file, not a folder");
    const ReportLoad load = refresh(ReportKind::Devices, file);
    ASSERT_EQ(load.problems.size(), 1u);
    EXPECT_EQ(load.problems[0].path, file);
    EXPECT_EQ(load.problems[0].what(), "the folder could not be created");
    EXPECT_EQ(table.rowCount(), 0u);
    EXPECT_EQ(table.columnCount(), 12u) << "the table still shows its columns";
    EXPECT_EQ(test::readFile(file), "a file, not a folder");
}

TEST_F(ReportInputsTest, FolderWithoutReadPermissionIsNamedAndItsReportsAreKept) {
    const std::string folder = dir.file("q");
    test::writeFile(folder + "/today.csv", "PC;u;07.07.2024 1;moved\r\n");
    test::writeFile(folder + "/sended reports/old.csv", "PC;u;06.07.2024 1;moved\r\n");
    ReportLoad load;
    {
        test::Unreadable unreadable(folder);
        if (!unreadable.active()) GTEST_SKIP() << "this machine cannot take read access away";
        load = refresh(ReportKind::Viruses, folder);
    }
    EXPECT_EQ(table.rowCount(), 0u);
    ASSERT_EQ(load.problems.size(), 2u);
    EXPECT_EQ(load.problems[0].path, folder + "/sended reports");
    EXPECT_EQ(load.problems[1].path, folder);
    EXPECT_EQ(load.problems[1].what(), "the folder could not be read");
    EXPECT_EQ(test::readFile(folder + "/today.csv"), "PC;u;07.07.2024 1;moved\r\n");
    EXPECT_EQ(test::readFile(folder + "/sended reports/old.csv"), "PC;u;06.07.2024 1;moved\r\n");
}

TEST_F(ReportInputsTest, FileWithoutReadPermissionIsNamedAndTheOthersAreRead) {
    const std::string folder = dir.file("r");
    test::writeFile(folder + "/a.log", "readable;u;08.08.2024 1\r\n");
    const std::string locked = test::writeFile(folder + "/b.log", "locked;u;08.08.2024 2\r\n");
    ReportLoad load;
    {
        test::Unreadable unreadable(locked);
        if (!unreadable.active()) GTEST_SKIP() << "this machine cannot take read access away";
        load = refresh(ReportKind::Devices, folder);
    }
    ASSERT_EQ(table.rowCount(), 1u);
    EXPECT_EQ(table.cell(0, 0), "readable");
    ASSERT_EQ(load.problems.size(), 1u);
    EXPECT_EQ(load.problems[0].path, locked);
    EXPECT_EQ(load.problems[0].what(), "could not be opened (Permission denied)");
}

}  // namespace
}  // namespace twk
