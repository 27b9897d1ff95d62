#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/reports/date_list.h"
#include "core/reports/report_problems.h"
#include "core/reports/report_record.h"
#include "core/reports/report_table.h"

namespace twk {

// Subfolder of each report folder that holds the reports already mailed.
inline constexpr const char* kSendedReportsFolder = "sended reports";

// What one load did: the records it read (shown or not) and what it had to pass over.
struct ReportLoad {
    std::size_t RecordCount = 0;
    std::vector<ReportProblem> problems;

    void add(ReportLoad other);
};

// The report files of one refresh, with the rows of their lines, take at most this much memory:
// a quarter of what the machine has (kUnknownMemoryReportLimit when that is unknown). A file
// that would go beyond it is not read but named among the problems.
std::uint64_t ReportMemoryLimit();
inline constexpr std::uint64_t kUnknownMemoryReportLimit = std::uint64_t{1} << 30;

// Whether a load of kind reads a file of this name: viruses reports only when the name's last
// three characters are "csv" in any case, devices reports always.
bool IsReportFileName(ReportKind kind, const std::string& name);

// Reads the report files directly in directory (no subfolders, hidden files skipped, names in
// ascending byte order), creating the folder when missing. Every line except one equal to the
// kind's header becomes a record; its row is appended to table when selectedDate is
// "All dates" or equals its date, and its date is offered to dates in any case. The table
// gets the kind's columns when it has none; neither table nor dates are ever cleared here.
// A file or folder that cannot be read or created is listed in the result and skipped; a file
// that is gone by the time it is opened is skipped silently (the guard service moved it).
ReportLoad LoadVirusReports(const std::string& directory, const std::string& selectedDate,
                            ReportTable& table, DateList& dates);
ReportLoad LoadDeviceReports(const std::string& directory, const std::string& selectedDate,
                             ReportTable& table, DateList& dates);
ReportLoad LoadReports(ReportKind kind, const std::string& directory,
                       const std::string& selectedDate, ReportTable& table, DateList& dates);

// What the page does when a view or a date is picked: empties the table (columns, rows and
// sort), creates a missing mainDirectory, then loads its "sended reports" folder and then
// mainDirectory itself, reading into the memory the table's former files took where it fits.
// mainDirectory is the DirRep (Devices) or DirQuar (Viruses) setting as stored. The dates are not
// reset: the page resets them when the view changes. RecordCount is the total of both folders.
ReportLoad RefreshReports(ReportKind kind, const std::string& mainDirectory,
                          const std::string& selectedDate, ReportTable& table, DateList& dates);

}  // namespace twk
