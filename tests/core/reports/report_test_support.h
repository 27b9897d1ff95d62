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

// Appends a file of report lines (LF or CR LF ended) to table, a row per line.
inline void appendLines(ReportTable& table, const std::string& bytes) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == '\n') starts.push_back(i + 1);
    table.appendFile(bytes, starts);
}

}  // namespace twk::test
