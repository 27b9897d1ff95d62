#pragma once

#include <functional>
#include <future>
#include <utility>

#include "core/app/waiting.h"
#include "core/reports/date_list.h"
#include "core/reports/report_loader.h"
#include "core/reports/report_table.h"

namespace twk {

// What one refresh of the report page read, away from the GUI thread.
struct LoadedReports {
    ReportTable table;
    DateList dates;
    ReportLoad load;
};

// The report page reads its first view while the program starts, so that no window waits for
// the reports. Every use of the page's table finishes that reading first.
class FirstReportLoad {
public:
    using Show = std::function<void(LoadedReports loaded)>;

    // run waits for the reading while it is not done; show puts what was read on the page.
    FirstReportLoad(WaitRunner run, Show show) : run_(run), show_(std::move(show)) {}
    // Waits for the reading, whose notice must not reach a page that is gone.
    ~FirstReportLoad();
    FirstReportLoad(const FirstReportLoad&) = delete;
    FirstReportLoad& operator=(const FirstReportLoad&) = delete;

    // Reads on a thread of its own, which calls readDone once the rows are read, so that the page
    // layer finishes from its GUI thread.
    void start(std::function<LoadedReports()> read, std::function<void()> readDone);
    // The rows read are shown once this returns: while they are still being read it waits for
    // them, the windows painting meanwhile. Only the first call after the start shows them.
    void finish();

private:
    WaitRunner run_;
    Show show_;
    std::future<LoadedReports> reading_;
};

}  // namespace twk
