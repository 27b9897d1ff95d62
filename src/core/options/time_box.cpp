#include "core/options/time_box.h"

#include <cctype>

namespace twk::options {
namespace {

constexpr const char* kLastHour = "23";
constexpr const char* kLastMinute = "59";

// Text comparison of two-digit strings agrees with numeric order for digits.
std::string atMost(const std::string& twoDigits, const char* limit) {
    return twoDigits > limit ? std::string(limit) : twoDigits;
}

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// One pass of the rule over the value as written.
std::string clampOnce(const std::string& value) {
    if (value.size() == 2) return atMost(value, kLastHour);
    if (value.size() != 4) return value;
    std::string result = value;
    // Hours above 23 make the whole value "23"; minutes above 59 then still give the first two
    // digits as written followed by "59".
    if (value.substr(0, 2) > kLastHour) result = kLastHour;
    if (value.substr(2, 2) > kLastMinute) result = value.substr(0, 2) + kLastMinute;
    return result;
}

}  // namespace

std::string clampTime(const std::string& value) {
    // A value the rule set goes through it again, until it holds.
    std::string current = value;
    for (std::string next = clampOnce(current); next != current; next = clampOnce(current))
        current = next;
    return current;
}

std::string timeInRange(const std::string& value) {
    if (value.size() != 4) return value;
    return atMost(value.substr(0, 2), kLastHour) + atMost(value.substr(2, 2), kLastMinute);
}

std::string timeValueOfStored(const std::string& stored) {
    if (stored.size() != 5 || stored[2] != ':') return {};
    const std::string digits = stored.substr(0, 2) + stored.substr(3, 2);
    for (char c : digits)
        if (!isDigit(c)) return {};
    return digits;
}

bool isCompleteTime(const std::string& value) { return value.size() == 4; }

std::string storedTimeOf(const std::string& value) {
    if (!isCompleteTime(value)) return {};
    return value.substr(0, 2) + ":" + value.substr(2, 2);
}

}  // namespace twk::options
