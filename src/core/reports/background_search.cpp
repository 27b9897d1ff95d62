#include "core/reports/background_search.h"

namespace twk {

void BackgroundSearch::start(const ReportTable& table, RowSearch search,
                             std::function<void()> done) {
    stop();
    flags_ = std::make_unique<Flags>();
    pending_ = std::async(std::launch::async, [&table, search = std::move(search),
                                               flags = flags_.get(), done = std::move(done)] {
        ReportTable::PendingSearch found = table.searchedBy(search, &flags->stop);
        if (found.complete) {
            flags->found = true;
            done();
        }
        return found;
    });
}

void BackgroundSearch::stop() {
    if (!pending_.valid()) return;
    flags_->stop = true;
    pending_.wait();
    pending_ = {};
}

void BackgroundSearch::wait() const {
    if (pending_.valid()) pending_.wait();
}

std::optional<ReportTable::PendingSearch> BackgroundSearch::take() {
    if (!pending_.valid() || !flags_->found) return std::nullopt;
    return pending_.get();
}

}  // namespace twk
