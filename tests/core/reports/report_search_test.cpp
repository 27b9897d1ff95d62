#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "core/reports/report_table.h"
#include "core/reports/report_test_support.h"
#include "core/reports/report_view_layout.h"
#include "support/system_text.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

using Texts = std::vector<std::string>;

using test::appendLines;

class ReportSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        table.setColumns(ReportKind::Viruses);
        // Seven fields a viruses row shows; the eighth is dropped.
        appendLines(table,
                    "1;Anna;t;Moved;E:\\VIRUS.exe;q;Stick\r\n"
                    "2;bob;t;Deleted;F:\\a.txt;q;" +
                        test::systemText("Gerät") + "\r\n" +
                        "3;carl;t;Moved;G:\\virus.com;q;stick;virus in a dropped field\r\n"
                        "4;dora;t;Kept;H:\\clean;q;" +
                        test::systemText("GERÄT") + "\r\n");
        appendLines(table, "5;ed;t;Moved;x;q;Stick\n");
    }
    Texts shown() const { return test::columnTexts(table, 0); }

    ReportTable table;
};

TEST_F(ReportSearchTest, FindsTheTextInAnyShownColumnWithoutRegardToCase) {
    table.searchFor(RowSearch("virus"));
    EXPECT_EQ(shown(), (Texts{"1", "3"})) << "not in the field the table drops";
    EXPECT_EQ(table.allRowCount(), 5u);

    table.searchFor(RowSearch(test::systemText("gerät")));
    EXPECT_EQ(shown(), (Texts{"2", "4"}));
    table.searchFor(RowSearch("STICK"));
    EXPECT_EQ(shown(), (Texts{"1", "3", "5"}));
    table.searchFor(RowSearch("anna"));
    EXPECT_EQ(shown(), (Texts{"1"}));

    // No cell holds a ";", even where two cells meet.
    table.searchFor(RowSearch("Moved;x"));
    EXPECT_EQ(shown(), Texts{});
    table.searchFor(RowSearch("nothing like it"));
    EXPECT_EQ(shown(), Texts{});

    table.searchFor(RowSearch());
    EXPECT_EQ(shown(), (Texts{"1", "2", "3", "4", "5"}));
}

TEST_F(ReportSearchTest, GrowingAndShrinkingTheTextGiveWhatASearchFromScratchGives) {
    table.searchFor(RowSearch("e"));
    EXPECT_EQ(shown(), (Texts{"1", "2", "3", "4", "5"}));
    table.searchFor(RowSearch("KE"));  // looks among the rows shown
    EXPECT_EQ(shown(), (Texts{"4"}));
    table.searchFor(RowSearch("k"));  // wider again: looks among all
    EXPECT_EQ(shown(), (Texts{"1", "3", "4", "5"}));
}

TEST_F(ReportSearchTest, SortsShownAndHiddenRowsAlikeAndNewRowsFollowTheSearch) {
    table.sortByColumn(1, true);
    table.searchFor(RowSearch("moved"));
    EXPECT_EQ(shown(), (Texts{"5", "3", "1"})) << "the search keeps the sort";
    table.sortByColumn(1);
    EXPECT_EQ(shown(), (Texts{"1", "3", "5"}));
    appendLines(table, "6;fay;t;Moved;y;q;z\n7;gil;t;Kept;y;q;z\n");
    EXPECT_EQ(shown(), (Texts{"1", "3", "5", "6"}));
    table.searchFor(RowSearch());
    EXPECT_EQ(shown(), (Texts{"1", "2", "3", "4", "5", "6", "7"}));
    table.sortByColumn(1);
    EXPECT_EQ(shown(), (Texts{"7", "6", "5", "4", "3", "2", "1"}));
}

TEST_F(ReportSearchTest, AStoppedOrOutdatedSearchChangesNothing) {
    std::atomic<bool> stop{true};
    EXPECT_FALSE(table.applySearch(table.searchedBy(RowSearch("anna"), &stop)));
    ReportTable::PendingSearch outdated = table.searchedBy(RowSearch("anna"));
    table.sortByColumn(1);
    EXPECT_FALSE(table.applySearch(std::move(outdated)));
    EXPECT_EQ(table.rowCount(), 5u);
    EXPECT_TRUE(table.search().empty());
}

TEST(ReportViewLayoutTest, EachViewKeepsItsOwnWidthsAndSortAndBrokenValuesAreLeftOut) {
    test::TempDir folder;
    const std::string settings = folder.file("user");
    EXPECT_TRUE(LoadReportViewLayout(settings, ReportKind::Devices).columnWidths.empty());

    ReportViewLayout devices{std::vector<int>(12, 1500), 3, true};
    ReportViewLayout viruses{{900, 901, 902, 903, 904, 905, 906}, std::nullopt, false};
    ASSERT_TRUE(SaveReportViewLayout(settings, ReportKind::Devices, devices));
    ASSERT_TRUE(SaveReportViewLayout(settings, ReportKind::Viruses, viruses));
    const ReportViewLayout readDevices = LoadReportViewLayout(settings, ReportKind::Devices);
    EXPECT_EQ(readDevices.columnWidths, devices.columnWidths);
    EXPECT_EQ(readDevices.sortColumn, 3u);
    EXPECT_TRUE(readDevices.sortDescending);
    EXPECT_EQ(LoadReportViewLayout(settings, ReportKind::Viruses).columnWidths,
              viruses.columnWidths);
    EXPECT_FALSE(LoadReportViewLayout(settings, ReportKind::Viruses).sortColumn);

    test::writeFile(folder.file("user/report_views.ini"),
                    "[Viruses]\r\nColumnWidths=900,x,902,903,904,905,906\r\nSortColumn=7\r\n"
                    "[Devices]\r\nColumnWidths=900,901\r\nSortColumn=-1\r\n");
    for (ReportKind view : {ReportKind::Devices, ReportKind::Viruses}) {
        const ReportViewLayout broken = LoadReportViewLayout(settings, view);
        EXPECT_TRUE(broken.columnWidths.empty());
        EXPECT_FALSE(broken.sortColumn);
    }
}

}  // namespace
}  // namespace twk
