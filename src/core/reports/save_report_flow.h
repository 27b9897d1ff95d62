#pragma once

#include <string>

#include "core/app/services.h"
#include "core/reports/report_export.h"

namespace twk {

inline constexpr const char* kCsvFilterName = "CSV file ";
inline constexpr const char* kCsvPattern = "*.csv";
inline constexpr const char* kOverwriteQuestion = "File is exists, do you want overwrite file?";
inline constexpr const char* kSaveComplete = "Saving report is complete!";

// The "could not write the report" message, naming the file.
std::string NotSavedMessage(const std::string& fileName);

// The report page's "Save to disk" action: asks for a file in the documents folder (".csv" is
// added to a name typed without an extension), asks before replacing an existing file, writes
// the export through saveReport and tells the user how it went. A cancelled dialog ends it
// silently.
void SaveReportAs(SaveFileDialog& dialog, MessageBoxes& boxes, const ReportWriter& saveReport);

}  // namespace twk
