#include "core/reports/report_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/reports/date_list.h"
#include "core/reports/report_test_support.h"

namespace twk {
namespace {

using Texts = std::vector<std::string>;

using test::appendLines;

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

// Tables large enough that the sort splits its work over threads, with cells that defeat a
// short key: long shared prefixes, cells that are prefixes of others, NUL and high bytes.
TEST(ReportTableLargeSortTest, OrderMatchesAStableSortOfTheCellsInBothDirections) {
    const std::string longPrefix(300, 'p');
    const std::vector<std::function<std::string(std::mt19937&)>> cellMakers{
        [](std::mt19937& random) { return std::string(random() % 3, 'u'); },
        [&](std::mt19937& random) {
            return longPrefix + std::to_string(random() % 5000) + (random() % 2 ? "x" : "");
        },
        [](std::mt19937& random) {
            std::string cell(random() % 24, '\0');
            for (char& byte : cell) byte = static_cast<char>("a\0\xE9z"[random() % 4]);
            return cell;
        },
    };
    std::mt19937 random(7);
    for (std::size_t maker = 0; maker < cellMakers.size(); ++maker) {
        ReportTable table;
        table.setColumns(ReportKind::Viruses);
        std::vector<std::string> cells;
        std::string file;
        for (int row = 0; row < 100000; ++row) {
            cells.push_back(cellMakers[maker](random));
            file += std::to_string(row) + ";" + cells.back() + "\n";
        }
        appendLines(table, file);
        std::vector<std::size_t> expected(cells.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(),
                         [&](std::size_t a, std::size_t b) { return cells[a] < cells[b]; });

        table.sortByColumn(1);
        Texts wanted;
        for (std::size_t row : expected) wanted.push_back(std::to_string(row));
        EXPECT_EQ(test::columnTexts(table, 0), wanted) << "ascending, cells " << maker;

        std::stable_sort(expected.begin(), expected.end(),
                         [&](std::size_t a, std::size_t b) { return cells[b] < cells[a]; });
        table.sortByColumn(1);
        wanted.clear();
        for (std::size_t row : expected) wanted.push_back(std::to_string(row));
        EXPECT_EQ(test::columnTexts(table, 0), wanted) << "descending, cells " << maker;
    }
}

TEST(ReportTableTimeSortTest, TimesSortByMomentWhateverTheirFormAndTheRestComesAfter) {
    struct Case {
        const char* name;
        Texts times;       // of rows 0, 1, 2, ...
        Texts ascending;   // rows after the first sort by Time
        Texts descending;  // and after the second
    };
    const std::vector<Case> cases{
        {"years, months, days, then the clock",
         {"11.01.2013 19:52:21", "08.02.2013 10:00:00", "31.12.2012 23:59:59",
          "11.01.2013 19:52:20", "11.01.2013 09:52:21", "07.02.2014 00:00:00"},
         {"2", "4", "3", "0", "1", "5"},
         {"5", "1", "0", "3", "4", "2"}},
        {"one-digit parts and no seconds read too; equal moments keep their order",
         {"1.2.2013 9:05:03", "2.1.2013 9:5:00", "01.02.2013 09:05:03", "30.01.2013 10:00",
          "02.01.2013 10:00:00"},
         {"1", "4", "3", "0", "2"},
         {"0", "2", "3", "4", "1"}},
        {"values that name no moment come after the moments, in text order",
         {"11.01.2013 19:52:21", "", "09.01.2013", "32.01.2013 10:00:00", "08.02.2013 10:00:00 ",
          "2012-12-31 10:00", "10.01.2013 9:00"},
         {"6", "0", "1", "4", "2", "5", "3"},
         {"0", "6", "3", "5", "2", "4", "1"}},
    };
    for (const Case& c : cases) {
        ReportTable table;
        table.setColumns(ReportKind::Devices);
        std::string file;
        for (std::size_t row = 0; row < c.times.size(); ++row)
            file += std::to_string(row) + ";user;" + c.times[row] + "\r\n";
        appendLines(table, file);
        table.sortByColumn(2);
        EXPECT_EQ(test::columnTexts(table, 0), c.ascending) << c.name;
        table.sortByColumn(2);
        EXPECT_EQ(test::columnTexts(table, 0), c.descending) << c.name;
    }
}

// Large enough for the work to be split over threads; mostly moments, then mostly other text.
TEST(ReportTableTimeSortTest, LargeMixedColumnsMatchAStableSortOfMomentsThenText) {
    std::mt19937 random(11);
    for (unsigned momentShare : {9u, 1u}) {
        std::vector<std::string> times;
        std::string file;
        for (int row = 0; row < 100000; ++row) {
            const std::string day = std::to_string(random() % 28 + 1),
                              month = std::to_string(random() % 12 + 1),
                              hour = std::to_string(random() % 24);
            times.push_back(random() % 10 < momentShare ? day + "." + month + ".2013 " + hour +
                                                              ":0" + std::to_string(random() % 10)
                                                        : "x" + day + month);
            file += std::to_string(row) + ";user;" + times.back() + "\n";
        }
        ReportTable table;
        table.setColumns(ReportKind::Devices);
        appendLines(table, file);
        for (bool descending : {false, true}) {
            std::vector<std::size_t> expected(times.size());
            std::iota(expected.begin(), expected.end(), 0);
            std::stable_sort(expected.begin(), expected.end(), [&](std::size_t a, std::size_t b) {
                const auto momentA = MomentOfTime(times[a]), momentB = MomentOfTime(times[b]);
                if (momentA.has_value() != momentB.has_value()) return momentA.has_value();
                if (momentA) return descending ? *momentB < *momentA : *momentA < *momentB;
                return descending ? times[b] < times[a] : times[a] < times[b];
            });
            Texts wanted;
            for (std::size_t row : expected) wanted.push_back(std::to_string(row));
            table.sortByColumn(2);
            EXPECT_EQ(test::columnTexts(table, 0), wanted)
                << momentShare << " in 10 moments, descending " << descending;
        }
    }
}

TEST(DateListTest, OffersEachDateOnceAfterAllDatesAndNeverAnEmptyOne) {
    DateList dates;
    EXPECT_EQ(dates.entries(), (Texts{"All dates"}));
    dates.offer("12.01.2013");
    dates.offer("");
    dates.offer("11.01.2013");
    dates.offer("12.01.2013");
    EXPECT_EQ(dates.entries(), (Texts{"All dates", "12.01.2013", "11.01.2013"}));
    // A notice's date opens its own entry; one no longer offered opens "All dates".
    EXPECT_EQ(dates.entryOf("11.01.2013"), 2u);
    EXPECT_EQ(dates.entryOf("10.01.2013"), 0u);
    EXPECT_EQ(dates.entryOf(kAllDates), 0u);
    dates.reset();
    dates.offer("11.01.2013");
    EXPECT_EQ(dates.entries(), (Texts{"All dates", "11.01.2013"}));
}

}  // namespace
}  // namespace twk
