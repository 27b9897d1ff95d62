#include "core/reports/date_list.h"

namespace twk {

DateList::DateList() { reset(); }

void DateList::reset() {
    entries_.assign(1, std::string(kAllDates));
    offered_.clear();
}

void DateList::offer(std::string_view date) {
    if (date.empty() || offered_.contains(date)) return;
    offered_.emplace(date);
    entries_.emplace_back(date);
}

}  // namespace twk
