#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "core/design/design.h"
#include "core/notify/report_watch.h"

namespace twk {

class LangOp;

// One desktop notification of what the guard service did, and where the report page shows it.
struct ReportNotice {
    std::string title;
    std::string body;
    ReportKind view = ReportKind::Devices;
    std::string date;  // an entry of the date chooser, or kAllDates
};

// From the first change in a report folder to the look: long enough for a writer's burst of
// lines to be one look, short enough to feel immediate.
inline constexpr std::chrono::milliseconds kNoticeSettle{250};
// How often a report folder that is not there (yet) is looked for again.
inline constexpr std::chrono::milliseconds kFolderRetry{2000};

// The notifications of one look, in the texts of captions: one for each device plugged in and
// each file moved into quarantine, or one summary when there are more than a few, so that a
// burst of lines never floods the desktop.
std::vector<ReportNotice> NoticesOf(const ReportNews& news, const LangOp& captions);

// What one look tells: the files that could not be read go to the system's log, the notices
// (NoticesOf) to the desktop.
std::vector<ReportNotice> NoticesToTell(const ReportNews& news, const LangOp& captions);

// A click on a notice opens the report page as the main window's reports button does; the page
// then shows the notice's view and date.
const design::Action& NoticeOpensReports();

}  // namespace twk
