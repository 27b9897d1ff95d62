#include "core/reports/date_list.h"

#include <functional>

namespace twk {
namespace {

constexpr std::size_t kFirstSlots = 64;

}  // namespace

DateList::DateList() { reset(); }

void DateList::reset() {
    text_.assign(kAllDates);
    ends_.assign(1, text_.size());
    slots_.assign(kFirstSlots, 0);
}

std::string_view DateList::entry(std::size_t index) const {
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_).substr(begin, ends_[index] - begin);
}

std::size_t DateList::entryOf(std::string_view date) const {
    if (date == kAllDates) return 0;
    const std::uint32_t found = slots_[slotOf(date)];
    return found == 0 ? 0 : found - 1;
}

std::vector<std::string> DateList::entries() const {
    std::vector<std::string> all;
    all.reserve(size());
    for (std::size_t index = 0; index < size(); ++index) all.emplace_back(entry(index));
    return all;
}

std::vector<std::string> DateList::shownEntries(std::string_view allDatesCaption) const {
    std::vector<std::string> shown = entries();
    shown.front().assign(allDatesCaption);
    return shown;
}

std::size_t DateList::slotOf(std::string_view date) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = std::hash<std::string_view>{}(date)&mask;
    // "All dates" is entry 0 but never offered, so a record's date of that text is an entry too.
    while (slots_[slot] != 0 && entry(slots_[slot] - 1) != date) slot = (slot + 1) & mask;
    return slot;
}

void DateList::growSlots() {
    slots_.assign(slots_.size() * 2, 0);
    for (std::size_t index = 1; index < size(); ++index)
        slots_[slotOf(entry(index))] = static_cast<std::uint32_t>(index + 1);
}

void DateList::offer(std::string_view date) {
    if (date.empty()) return;
    std::size_t slot = slotOf(date);
    if (slots_[slot] != 0) return;
    text_.append(date);
    ends_.push_back(text_.size());
    // At most half full, so that a probe ends soon.
    if (size() * 2 > slots_.size()) {
        growSlots();
        return;
    }
    slots_[slot] = static_cast<std::uint32_t>(size());
}

}  // namespace twk
