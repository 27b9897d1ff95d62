#include "core/reports/report_export.h"

#include <ostream>
#include <streambuf>

#include "platform/files.h"
#include "platform/reasons.h"

namespace twk {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Hands what the export writes to a file replacement, which buffers it.
class ReplacementBuffer : public std::streambuf {
public:
    explicit ReplacementBuffer(platform::FileReplacement& file) : file_(file) {}

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        return file_.write({bytes, static_cast<std::size_t>(count)}) ? count : 0;
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return file_.write({&byte, 1}) ? c : traits_type::eof();
    }

private:
    platform::FileReplacement& file_;
};

void writeLine(std::ostream& out, std::string& line, const ReportTable& table, std::size_t row,
               ReportKind view) {
    line.clear();
    AppendReportCsvLine(line, table, row, view);
    line += kLineEnd;
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
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
    std::string line;
    for (std::size_t row = 0; row < table.rowCount() && out; ++row)
        writeLine(out, line, table, row, view);
    return static_cast<bool>(out.flush());
}

void AppendReportCsvLine(std::string& line, const ReportTable& table, std::size_t row,
                         ReportKind view) {
    const RowCells cells = table.rowCells(row);
    // Column 0 (PC) has no place in the export header.
    for (std::size_t column = 1; column < ReportColumns(view).size(); ++column) {
        if (column > 1) line += ';';
        line += cells[column];
    }
}

std::string CopiedReportRows(const ReportTable& table, std::span<const std::size_t> rows) {
    std::string text;
    if (!table.kind()) return text;
    for (std::size_t row : rows) {
        AppendReportCsvLine(text, table, row, *table.kind());
        text += '\n';
    }
    return text;
}

bool SaveReportCsv(const std::string& fileName, const ReportTable& table, ReportKind view) {
    platform::FileReplacement file(fileName);
    ReplacementBuffer buffer(file);
    std::ostream out(&buffer);
    if (WriteReportCsv(out, table, view) && file.commit()) return true;
    platform::logReason(platform::ReasonTopic::Reports,
                        "the report could not be saved to " + fileName + ": " +
                            (file.failure().empty() ? "the export failed" : file.failure()));
    return false;
}

}  // namespace twk
