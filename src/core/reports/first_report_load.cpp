#include "core/reports/first_report_load.h"

#include <chrono>
#include <utility>

namespace twk {

FirstReportLoad::~FirstReportLoad() {
    if (reading_.valid()) reading_.wait();
}

void FirstReportLoad::start(std::function<LoadedReports()> read, std::function<void()> readDone) {
    reading_ =
        std::async(std::launch::async, [read = std::move(read), readDone = std::move(readDone)] {
            LoadedReports loaded = read();
            readDone();
            return loaded;
        });
}

void FirstReportLoad::finish() {
    if (!reading_.valid()) return;
    // Taken out first: the wait below runs the layer's queued call of this function too.
    std::future<LoadedReports> pending = std::move(reading_);
    if (pending.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        run_([&pending] { pending.wait(); });
    show_(pending.get());
}

}  // namespace twk
