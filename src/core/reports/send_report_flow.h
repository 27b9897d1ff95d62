#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "core/app/services.h"
#include "core/i18n/lang_op.h"
#include "core/mail/helper_library.h"
#include "core/reports/report_export.h"

namespace twk {

inline constexpr const char* kManualReportFile = "ManualReport.csv";
inline constexpr const char* kReportSubject = "Report from Tarnwick program";
// A literal backslash and n, not a line break: the mail body starts with these seven characters.
inline constexpr const char* kReportBodyStart = "Date:\\n";

// Formats a moment as the system's short date and long time; the page supplies it.
using DateTimeFormatter = std::function<std::string(std::chrono::system_clock::time_point)>;

std::string NotWrittenForSendingMessage(const std::string& fileName, const LangOp& texts);

// The send-report dialog's action. Refuses an empty or placeholder recipient; writes the
// shown table through saveReport to "ManualReport.csv" in userFolder (made private first: the
// file holds report data) and, only when that worked, mails it with the date and time of now in
// the body; then tells the user the outcome in the language of texts.
void SendReport(const std::string& recipient, const std::string& userFolder, MessageBoxes& boxes,
                HelperLibrary& helper, Clock& clock, const DateTimeFormatter& formatDateTime,
                const ReportWriter& saveReport, const LangOp& texts);

}  // namespace twk
