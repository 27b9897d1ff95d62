#pragma once

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <optional>

#include "core/reports/report_search.h"
#include "core/reports/report_table.h"

namespace twk {

// Works out searches of the report table one at a time on a thread of their own, so that the
// page goes on painting and taking keys while a million rows are looked through. The page puts
// a finished search in place on its own thread.
class BackgroundSearch {
public:
    BackgroundSearch() = default;
    BackgroundSearch(const BackgroundSearch&) = delete;
    BackgroundSearch& operator=(const BackgroundSearch&) = delete;
    ~BackgroundSearch() { stop(); }

    // Stops the search still running, then looks for search in table, which must not change
    // until the result is taken or the search stopped. done runs on the search's thread once the
    // result is ready.
    void start(const ReportTable& table, RowSearch search, std::function<void()> done);
    // Stops the running search and waits the few milliseconds until it has.
    void stop();
    // Waits until the running search has its result.
    void wait() const;
    // A search started and neither stopped nor taken.
    bool running() const { return pending_.valid(); }
    // The result of the last search started, once it is ready; nullopt before, or after a stop.
    std::optional<ReportTable::PendingSearch> take();

private:
    struct Flags {
        std::atomic<bool> stop{false};
        std::atomic<bool> found{false};  // the result is made; the thread is about to return it
    };
    std::future<ReportTable::PendingSearch> pending_;
    std::unique_ptr<Flags> flags_;
};

}  // namespace twk
