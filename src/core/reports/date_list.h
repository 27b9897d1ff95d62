#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace twk {

// First entry of the date chooser; picking it shows every record.
inline constexpr std::string_view kAllDates = "All dates";

// The date chooser's entries without any widget: "All dates", then each date in the order it
// was first met. A combo box mirrors entries() after each refresh.
class DateList {
public:
    DateList();

    // Back to "All dates" alone.
    void reset();
    // Appends date unless it is empty or already offered. Constant time per call, so a load
    // can offer the date of every record.
    void offer(std::string_view date);

    const std::vector<std::string>& entries() const { return entries_; }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };

    std::vector<std::string> entries_;
    std::unordered_set<std::string, Hash, std::equal_to<>> offered_;
};

}  // namespace twk
