#pragma once

#include <string>
#include <vector>

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

// The notifications of one look, in the texts of captions: one for each device plugged in and
// each file moved into quarantine, or one summary when there are more than a few, so that a
// burst of lines never floods the desktop.
std::vector<ReportNotice> NoticesOf(const ReportNews& news, const LangOp& captions);

}  // namespace twk
