#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace twk {

// First entry of the date chooser; picking it shows every record.
inline constexpr std::string_view kAllDates = "All dates";

// The date chooser's entries without any widget: "All dates", then each date in the order it
// was first met. A list model shows it without an item per entry.
//
// Reports may hold a million dates: the entries lie in one block of text with a table of their
// ends and a hash table of entry numbers, so that a copy, a move and a release of the list are a
// few blocks of memory whatever the count.
class DateList {
public:
    DateList();

    // Back to "All dates" alone.
    void reset();
    // Appends date unless it is empty or already offered. Constant time per call, so a load
    // can offer the date of every record.
    void offer(std::string_view date);

    std::size_t size() const { return ends_.size(); }
    // Entry number index (below size()); entry 0 is "All dates".
    std::string_view entry(std::size_t index) const;
    // The entry as the chooser shows it: entry 0 as allDatesCaption, the user's language's
    // text, while its entry stays the text the loaders know.
    std::string_view shownEntry(std::size_t index, std::string_view allDatesCaption) const {
        return index == 0 ? allDatesCaption : entry(index);
    }
    // The entry that shows date's records: its own, or entry 0 ("All dates") when date is
    // kAllDates or not offered.
    std::size_t entryOf(std::string_view date) const;
    // Every entry, copied.
    std::vector<std::string> entries() const;
    // Every entry as the chooser shows it (see shownEntry), copied.
    std::vector<std::string> shownEntries(std::string_view allDatesCaption) const;

private:
    // Where date's entry number (plus one) is in slots_, or the free slot where it would go.
    std::size_t slotOf(std::string_view date) const;
    void growSlots();

    std::string text_;                  // every entry's text, one after the other
    std::vector<std::size_t> ends_;     // where each entry's text ends in text_
    std::vector<std::uint32_t> slots_;  // entry number + 1 of each offered date; 0 is free
};

}  // namespace twk
