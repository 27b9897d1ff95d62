#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/reports/report_table.h"
#include "core/reports/report_test_support.h"

namespace twk {
namespace {

// UTF-8, the system code page here: letters of other alphabets match in either case, and bytes
// that are no UTF-8 match only themselves.
TEST(ReportSearchUtf8Test, LettersOfEveryCasedAlphabetMatchInEitherCase) {
    ReportTable table;
    table.setColumns(ReportKind::Viruses);
    const std::string bytes =
        "1;ИВАН;t;Перемещён\n2;Σοφία;t\n3;ŁÓDŹ;t\n4;Nguyễn;t\n5;caf\xE9;t\n6;CAF\xC9;t\n";
    test::appendLines(table, bytes);
    ASSERT_EQ(table.rowCount(), 6u);
    const auto found = [&table](const char* text) {
        table.searchFor(RowSearch(text));
        return test::columnTexts(table, 0);
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(found("иван"), Texts{"1"});
    EXPECT_EQ(found("ПЕРЕМЕЩЁН"), Texts{"1"});
    EXPECT_EQ(found("ΣΟΦΊΑ"), Texts{"2"});
    EXPECT_EQ(found("łódź"), Texts{"3"});
    EXPECT_EQ(found("NGUYỄN"), Texts{"4"});
    EXPECT_EQ(found("caf\xE9"), Texts{"5"});
    EXPECT_EQ(found("CAF\xE9"), Texts{"5"});
}

}  // namespace
}  // namespace twk
