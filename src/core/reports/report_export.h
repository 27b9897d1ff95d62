#pragma once

#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "core/reports/report_record.h"
#include "core/reports/report_table.h"

namespace twk {

inline constexpr std::string_view kDevicesExportHeader =
    "User;Time;Action;Name;Description;Path;Manufacturer; Service;Enumerator;Hardware ID;"
    "Serial number";
inline constexpr std::string_view kVirusesExportHeader =
    "User;Time;Action;Source path;Destination path;Device";

// The export layout follows the selected view: Devices when the devices view button's tag is
// "1", Viruses otherwise.
ReportKind ExportViewOfDevicesTag(const std::string& devicesTag);

// Writes the view's header line, then one line per table row in the order shown, each made of
// the cells the header names (every column after PC) joined by ";" without quoting. Every
// line ends with CR LF. False when the stream failed.
bool WriteReportCsv(std::ostream& out, const ReportTable& table, ReportKind view);

// Appends the export's line of a table row without its line end: the cells the view's header
// names (every column after PC) joined by ";".
void AppendReportCsvLine(std::string& line, const ReportTable& table, std::size_t row,
                         ReportKind view);

// The rows a user copies from the table: each row's export line (in the layout of the columns
// shown) ended by LF, in the order given.
std::string CopiedReportRows(const ReportTable& table, std::span<const std::size_t> rows);

// Writes the export to fileName by atomic replacement: an existing file is replaced only by a
// whole export and stays as it was on any failure (a full disk, a folder without write access).
// False when the export could not be put in place.
bool SaveReportCsv(const std::string& fileName, const ReportTable& table, ReportKind view);

// Writes the export of the shown table to a path and answers whether it succeeded: the page's
// save_report, handed to the save and send flows.
using ReportWriter = std::function<bool(const std::string& fileName)>;

}  // namespace twk
