#pragma once

#include <string>

#include "core/app/services.h"
#include "core/i18n/lang_op.h"
#include "core/reports/report_export.h"

namespace twk {

inline constexpr const char* kCsvPattern = "*.csv";

// The "could not write the report" message, naming the file.
std::string NotSavedMessage(const std::string& fileName, const LangOp& texts);

// The report page's "Save to disk" action: asks for a file in the documents folder (".csv" is
// added to a name typed without an extension), asks before replacing an existing file, writes
// the export through saveReport and tells the user how it went. A cancelled dialog ends it
// silently. The dialog's filter and the boxes speak the language of texts.
void SaveReportAs(SaveFileDialog& dialog, MessageBoxes& boxes, const ReportWriter& saveReport,
                  const LangOp& texts);

}  // namespace twk
