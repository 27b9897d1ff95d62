#pragma once

#include <string>
#include <vector>

#include "core/reports/report_table.h"

namespace twk::test {

// The texts of one column, top to bottom as the table shows them.
inline std::vector<std::string> columnTexts(const ReportTable& table, std::size_t column) {
    std::vector<std::string> texts;
    for (std::size_t row = 0; row < table.rowCount(); ++row)
        texts.emplace_back(table.cell(row, column));
    return texts;
}

}  // namespace twk::test
