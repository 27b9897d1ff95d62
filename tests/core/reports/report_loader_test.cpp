#include "core/reports/report_loader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/reports/report_test_support.h"
#include "platform/files.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

using Texts = std::vector<std::string>;

constexpr std::size_t kPC = 0;
const std::string kAll(kAllDates);

class ReportLoaderTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir.file(name); }

    test::TempDir dir;
    ReportTable table;
    DateList dates;
};

TEST_F(ReportLoaderTest, QuarantineReadsOnlyNamesEndingInCsvInAnyCase) {
    test::writeFile(path("q/a.CSV"), "upper;u;t\r\n");
    test::writeFile(path("q/bcsv"), "nodot;u;t\r\n");
    test::writeFile(path("q/c.txt"), "text;u;t\r\n");
    test::writeFile(path("q/d.exe"), "program;u;t\r\n");
    test::writeFile(path("q/e.cSv"), "mixed;u;t\r\n");
    test::writeFile(path("q/sv"), "short;u;t\r\n");
    const ReportLoad load = LoadVirusReports(path("q"), kAll, table, dates);
    EXPECT_EQ(test::columnTexts(table, kPC), (Texts{"upper", "nodot", "mixed"}));
    EXPECT_EQ(load.RecordCount, 3u);
    EXPECT_TRUE(load.problems.empty());
    EXPECT_EQ(table.kind(), ReportKind::Viruses);
}

TEST_F(ReportLoaderTest, DevicesFolderReadsEveryFileEvenAVirusesReport) {
    test::writeFile(path("r/devices.log"), "PC1;ann;12.01.2013 08:00;Connect\r\n");
    test::writeFile(path("r/quarantine.csv"), std::string(kVirusFileHeader) + "\r\n");
    LoadDeviceReports(path("r"), kAll, table, dates);
    ASSERT_EQ(table.rowCount(), 2u);
    EXPECT_EQ(table.cell(0, kPC), "PC1");
    const RowCells header = table.rowCells(1);
    EXPECT_EQ(header[0], "PC");
    EXPECT_EQ(header[3], "Action");
    EXPECT_EQ(header[4], "Source path");
    EXPECT_EQ(header[5], "Device") << "the Description column shows the seventh field";
    EXPECT_EQ(header[6], "Destination path") << "the Path column shows the sixth field";
}

TEST_F(ReportLoaderTest, ReadsOnlyVisibleFilesOfTheFolderItselfInByteOrderOfNames) {
    test::writeFile(path("r/b"), "b\r\n");
    test::writeFile(path("r/a"), "a\r\n");
    test::writeFile(path("r/C"), "C\r\n");
    test::writeFile(path("r/.hidden"), "hidden\r\n");
    test::writeFile(path("r/sub/inner"), "inner\r\n");
    test::writeFile(path("r/sended reports/old"), "old\r\n");
    LoadDeviceReports(path("r"), kAll, table, dates);
    EXPECT_EQ(test::columnTexts(table, kPC), (Texts{"C", "a", "b"}));
}

TEST_F(ReportLoaderTest, ExactHeaderLinesAreSkippedWhereverTheyStand) {
    const std::string header(kDeviceFileHeader);
    test::writeFile(path("r/one"), header + "\r\nfirst\r\n" + header + "\r\n" + header + " \r\n" +
                                       std::string(kVirusFileHeader) + "\r\nlast\r\n");
    const ReportLoad load = LoadDeviceReports(path("r"), kAll, table, dates);
    EXPECT_EQ(test::columnTexts(table, kPC), (Texts{"first", "PC", "PC", "last"}));
    EXPECT_EQ(table.cell(1, 11), "Serial number ") << "a header with a trailing space is a record";
    EXPECT_EQ(load.RecordCount, 4u);
}

TEST_F(ReportLoaderTest, EveryLineBecomesARecordWhateverItsLineEnd) {
    test::writeFile(path("r/crlf"), "a;1\r\n\r\nb;2\r\n");
    test::writeFile(path("r/lf"), "c;3\nd;4\n\n");
    test::writeFile(path("r/open"), "e;5\r\nf;6");
    test::writeFile(path("r/empty"), "");
    const ReportLoad load = LoadDeviceReports(path("r"), kAll, table, dates);
    EXPECT_EQ(test::columnTexts(table, kPC), (Texts{"a", "", "b", "c", "d", "", "e", "f"}));
    EXPECT_EQ(test::columnTexts(table, 1), (Texts{"1", "", "2", "3", "4", "", "5", "6"}));
    EXPECT_EQ(load.RecordCount, 8u);
}

TEST_F(ReportLoaderTest, SelectedDateShowsExactlyItsRecordsButOffersEveryDateOnce) {
    test::writeFile(path("r/1"),
                    "a;u;12.01.2013 10:00\r\nb;u;11.01.2013 09:00\r\nc;u;12.01.2013\r\n"
                    "d;u;12.01.2013x 1\r\n");
    test::writeFile(path("r/2"), "e;u;12.01.2013 23:59\r\nf;u;13.01.2013 00:00\r\n\r\n");
    const ReportLoad load = LoadDeviceReports(path("r"), "12.01.2013", table, dates);
    EXPECT_EQ(test::columnTexts(table, kPC), (Texts{"a", "e"}));
    EXPECT_EQ(dates.entries(),
              (Texts{kAll, "12.01.2013", "11.01.2013", "12.01.2013x", "13.01.2013"}));
    EXPECT_EQ(load.RecordCount, 7u);

    table.clear();
    LoadDeviceReports(path("r"), kAll, table, dates);
    EXPECT_EQ(table.rowCount(), 7u) << "all dates include records without a date";
    EXPECT_EQ(dates.entries().size(), 5u) << "dates already offered are not added again";
}

TEST_F(ReportLoaderTest, RefreshReadsSendedReportsFirstAndCreatesMissingFolders) {
    test::writeFile(path("r/main"), "main;u;02.02.2013 1\r\n");
    test::writeFile(path("r/sended reports/sent"), "sent;u;01.02.2013 1\r\n");
    table.setColumns(ReportKind::Viruses);
    const ReportLoad load = RefreshReports(ReportKind::Devices, path("r"), kAll, table, dates);
    EXPECT_EQ(test::columnTexts(table, kPC), (Texts{"sent", "main"}));
    EXPECT_EQ(dates.entries(), (Texts{kAll, "01.02.2013", "02.02.2013"}));
    EXPECT_EQ(table.kind(), ReportKind::Devices) << "a refresh starts from an empty table";
    EXPECT_EQ(load.RecordCount, 2u);

    RefreshReports(ReportKind::Viruses, path("missing"), kAll, table, dates);
    EXPECT_EQ(table.rowCount(), 0u);
    EXPECT_EQ(table.kind(), ReportKind::Viruses);
    EXPECT_TRUE(platform::dirExists(path("missing/sended reports")));
}

TEST_F(ReportLoaderTest, FoldersThatCannotBeCreatedAreListedAndTheRestIsRead) {
    test::writeFile(path("file"), "not a folder");
    ReportLoad load = RefreshReports(ReportKind::Devices, path("file/reports"), kAll, table, dates);
    ASSERT_EQ(load.problems.size(), 1u) << "nothing below a missing folder is tried";
    EXPECT_EQ(load.problems[0].path, path("file/reports"));
    EXPECT_EQ(load.problems[0].what(), "the folder could not be created");
    EXPECT_EQ(table.columnCount(), 12u);

    test::writeFile(path("r/sended reports"), "a file where the folder belongs");
    test::writeFile(path("r/main"), "main\r\n");
    load = RefreshReports(ReportKind::Devices, path("r"), kAll, table, dates);
    EXPECT_EQ(test::columnTexts(table, kPC), (Texts{"main", "a file where the folder belongs"}));
    ASSERT_EQ(load.problems.size(), 1u);
    EXPECT_EQ(load.problems[0].path, path("r/sended reports"));
}

// A refresh reads into the memory of the rows it replaces: nothing of the files as they were may
// show once they have grown, shrunk, changed, gone or come.
TEST_F(ReportLoaderTest, ARefreshShowsTheFilesAsTheyAreNowAsAFreshLoadDoes) {
    const auto lines = [](const std::string& name, int count, const std::string& date) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += name + std::to_string(i) + ";user;" + date + " 08:00:00;Connect\r\n";
        return text;
    };
    const auto refresh = [&](const std::string& date) {
        RefreshReports(ReportKind::Devices, path("r"), date, table, dates);
        ReportTable fresh;
        RefreshReports(ReportKind::Devices, path("r"), date, fresh, dates);
        return test::columnTexts(fresh, kPC);
    };
    test::writeFile(path("r/a"), lines("a", 300, "01.02.2013"));
    test::writeFile(path("r/b"), lines("b", 200, "02.02.2013"));
    test::writeFile(path("r/c"), lines("c", 200, "01.02.2013"));
    test::writeFile(path("r/sended reports/d"), lines("d", 150, "02.02.2013"));
    refresh(kAll);

    test::writeFile(path("r/a"), lines("a", 280, "01.02.2013"));
    test::writeFile(path("r/b"), lines("b", 2000, "02.02.2013"));
    test::writeFile(path("r/c"), lines("C", 200, "01.02.2013"));
    ASSERT_TRUE(platform::removeFile(path("r/sended reports/d")));
    test::writeFile(path("r/e"), lines("e", 250, "01.02.2013"));
    const Texts now = refresh(kAll);
    EXPECT_EQ(test::columnTexts(table, kPC), now);
    EXPECT_EQ(now.size(), 280u + 2000 + 200 + 250);

    // A date's refresh reads every file, keeps some, and the next refresh reads into the rest.
    EXPECT_EQ(test::columnTexts(table, kPC), refresh("02.02.2013")) << "date";
    EXPECT_EQ(test::columnTexts(table, kPC), refresh(kAll)) << "all dates again";
}

TEST(ReportProblemsTest, MessageListsEveryProblemUnderOneHeading) {
    EXPECT_EQ(ReportProblemsMessage({}, LangOp()), "");
    EXPECT_EQ(ReportProblemsMessage({{"/r/a", ReportProblem::Kind::TooLarge},
                                     {"/r/new", ReportProblem::Kind::FolderNotCreated}},
                                    LangOp()),
              "Some reports could not be read:\n"
              "/r/a - is too large to be read\n"
              "/r/new - the folder could not be created");
}

}  // namespace
}  // namespace twk
