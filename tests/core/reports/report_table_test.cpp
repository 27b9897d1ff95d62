#include "core/reports/report_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/reports/date_list.h"
#include "core/reports/report_test_support.h"

namespace twk {
namespace {

using Texts = std::vector<std::string>;

std::vector<std::size_t> lineStarts(const std::string& bytes) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == '\n') starts.push_back(i + 1);
    return starts;
}

void appendLines(ReportTable& table, const std::string& bytes) {
    table.appendFile(bytes, lineStarts(bytes));
}

TEST(ReportTableTest, ColumnsOfEachKindCarryTheirHeadings) {
    ReportTable table;
    EXPECT_EQ(table.columnCount(), 0u);
    table.setColumns(ReportKind::Viruses);
    table.setColumns(ReportKind::Devices);
    ASSERT_EQ(table.kind(), ReportKind::Viruses) << "columns are set only on an empty table";
    Texts headings;
    for (std::size_t c = 0; c < table.columnCount(); ++c) headings.emplace_back(table.heading(c));
    EXPECT_EQ(headings,
              (Texts{"PC", "User", "Time", "Action", "Source path", "Destination path", "Device"}));

    table.clear();
    table.setColumns(ReportKind::Devices);
    headings.clear();
    for (std::size_t c = 0; c < table.columnCount(); ++c) headings.emplace_back(table.heading(c));
    EXPECT_EQ(headings,
              (Texts{"PC", "User", "Time", "Action", "Name", "Description", "Path", "Manufacturer",
                     "Service", "Enumerator", "Hardware ID", "Long serial"}));
    EXPECT_EQ(table.heading(12), "");
}

TEST(ReportTableTest, DeviceCellsFollowTheTableOrderOfFields) {
    ReportTable table;
    table.setColumns(ReportKind::Devices);
    appendLines(table, "pc;user;time;func;name;path;descr;service;enum;hwid;maker;serial;x\r\n");
    const RowCells cells = table.rowCells(0);
    const Texts expected{"pc",   "user",  "time",    "func", "name", "descr",
                         "path", "maker", "service", "enum", "hwid", "serial"};
    for (std::size_t c = 0; c < expected.size(); ++c) {
        EXPECT_EQ(cells[c], expected[c]) << "column " << c;
        EXPECT_EQ(table.cell(0, c), expected[c]) << "column " << c;
    }
    EXPECT_EQ(table.cell(0, 12), "");
}

TEST(ReportTableTest, RowsFromSeveralFilesStayInReadingOrderAndSurviveLaterFiles) {
    ReportTable table;
    table.setColumns(ReportKind::Viruses);
    appendLines(table, "a1;x\r\na2;y");
    const std::string_view early = table.cell(1, 1);
    for (int file = 0; file < 100; ++file) appendLines(table, "b;" + std::to_string(file) + "\n");
    table.appendFile("unused", {});
    EXPECT_EQ(table.rowCount(), 102u);
    EXPECT_EQ(early, "y") << "cells stay valid while files are added";
    EXPECT_EQ(table.cell(0, 0), "a1");
    EXPECT_EQ(table.cell(101, 1), "99");
}

class ReportTableSortTest : public ::testing::Test {
protected:
    void SetUp() override {
        table.setColumns(ReportKind::Viruses);
        appendLines(table, "1;b\n2;a\n3;B\n");
        appendLines(table, "4;a\n5;\xC3\xA9\n6;b\n");
    }
    Texts firstColumn() const { return test::columnTexts(table, 0); }

    ReportTable table;
};

TEST_F(ReportTableSortTest, SortIsStableByteOrderAndTheSameColumnReverses) {
    table.sortByColumn(1);
    EXPECT_EQ(firstColumn(), (Texts{"3", "2", "4", "1", "6", "5"}));
    EXPECT_EQ(table.sortColumn(), 1u);
    EXPECT_FALSE(table.sortDescending());

    table.sortByColumn(1);
    EXPECT_EQ(firstColumn(), (Texts{"5", "1", "6", "2", "4", "3"}));
    EXPECT_TRUE(table.sortDescending());

    table.sortByColumn(1);
    EXPECT_EQ(firstColumn(), (Texts{"3", "2", "4", "1", "6", "5"}));
    EXPECT_FALSE(table.sortDescending());
}

TEST_F(ReportTableSortTest, AnotherColumnSortsAscendingAndReadingOrderComesBack) {
    table.sortByColumn(1);
    table.sortByColumn(1);
    table.sortByColumn(0);
    EXPECT_EQ(firstColumn(), (Texts{"1", "2", "3", "4", "5", "6"}));
    EXPECT_FALSE(table.sortDescending());
    table.sortByColumn(0);
    EXPECT_EQ(firstColumn(), (Texts{"6", "5", "4", "3", "2", "1"}));

    table.showReadingOrder();
    EXPECT_EQ(firstColumn(), (Texts{"1", "2", "3", "4", "5", "6"}));
    EXPECT_FALSE(table.sortColumn().has_value());

    table.sortByColumn(1);
    table.clear();
    EXPECT_EQ(table.rowCount(), 0u);
    EXPECT_EQ(table.columnCount(), 0u);
    EXPECT_FALSE(table.sortColumn().has_value());
}

TEST(DateListTest, OffersEachDateOnceAfterAllDatesAndNeverAnEmptyOne) {
    DateList dates;
    EXPECT_EQ(dates.entries(), (Texts{"All dates"}));
    dates.offer("12.01.2013");
    dates.offer("");
    dates.offer("11.01.2013");
    dates.offer("12.01.2013");
    EXPECT_EQ(dates.entries(), (Texts{"All dates", "12.01.2013", "11.01.2013"}));
    dates.reset();
    dates.offer("11.01.2013");
    EXPECT_EQ(dates.entries(), (Texts{"All dates", "11.01.2013"}));
}

}  // namespace
}  // namespace twk
