#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "core/app/services.h"
#include "core/mail/helper_library.h"
#include "core/reports/report_export.h"

namespace twk {

inline constexpr const char* kManualReportFile = "ManualReport.csv";
inline constexpr const char* kReportSubject = "Report from Tarnwick program";
// A literal backslash and n, not a line break: the mail body starts with these seven characters.
inline constexpr const char* kReportBodyStart = "Date:\\n";
inline constexpr const char* kInvalidRecipient = "Invalid recipient!";
inline constexpr const char* kReportSent = "Your report has been sent!";
inline constexpr const char* kReportNotSent = "The report is not sent, check the data!";

// Formats a moment as the system's short date and long time; the page supplies it.
using DateTimeFormatter = std::function<std::string(std::chrono::system_clock::time_point)>;

std::string NotWrittenForSendingMessage(const std::string& fileName);

// The send-report dialog's action. Refuses an empty or placeholder recipient; writes the
// shown table through saveReport to "ManualReport.csv" in userFolder (made private first: the
// file holds report data) and, only when that worked, mails it with the date and time of now in
// the body; then tells the user the outcome.
void SendReport(const std::string& recipient, const std::string& userFolder, MessageBoxes& boxes,
                HelperLibrary& helper, Clock& clock, const DateTimeFormatter& formatDateTime,
                const ReportWriter& saveReport);

}  // namespace twk
