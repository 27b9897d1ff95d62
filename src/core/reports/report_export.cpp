#include "core/reports/report_export.h"

#include <fstream>

namespace twk {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

void writeLine(std::ostream& out, const RowCells& cells, std::size_t columnCount) {
    // Column 0 (PC) has no place in the export header.
    for (std::size_t column = 1; column < columnCount; ++column) {
        if (column > 1) out.put(';');
        out.write(cells[column].data(), static_cast<std::streamsize>(cells[column].size()));
    }
    out.write(kLineEnd.data(), kLineEnd.size());
}

}  // namespace

ReportKind ExportViewOfDevicesTag(const std::string& devicesTag) {
    return devicesTag == "1" ? ReportKind::Devices : ReportKind::Viruses;
}

bool WriteReportCsv(std::ostream& out, const ReportTable& table, ReportKind view) {
    const std::string_view header =
        view == ReportKind::Devices ? kDevicesExportHeader : kVirusesExportHeader;
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    out.write(kLineEnd.data(), kLineEnd.size());
    const std::size_t columnCount = ReportColumns(view).size();
    for (std::size_t row = 0; row < table.rowCount() && out; ++row)
        writeLine(out, table.rowCells(row), columnCount);
    return static_cast<bool>(out.flush());
}

bool SaveReportCsv(const std::string& fileName, const ReportTable& table, ReportKind view) {
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    if (!file.is_open()) return false;
    const bool written = WriteReportCsv(file, table, view);
    file.close();
    return written && !file.fail();
}

}  // namespace twk
