#pragma once

#include <string>

// The masked time box of the options page (HH:MM). Its value is the digits alone, without the
// colon and without blanks: 23:59 is "2359", 12:3_ is "123".
namespace twk::options {

inline constexpr const char* kDefaultTimeValue = "2359";

// The rule of the box while the user edits it, applied to the value as written: two digits above
// 23 become "23"; of four digits, hours above 23 make the whole value "23", and minutes above 59
// make it the first two digits followed by "59". One or three digits are left alone, so typing
// 2, 5, 7, 5 ends as 2359, and typing 2, 5 over 23:59 leaves 23:__. A value the rule set goes
// through it again, so the result is a fixed point: pasted 2575 becomes 2559, then 23.
std::string clampTime(const std::string& value);

// A stored time brought into range half by half (hours at most 23, minutes at most 59), so a hand
// edit of the store still opens as a time the page can save.
std::string timeInRange(const std::string& value);

// The box value of a stored time "HH:MM" ("07:30" gives "0730"); empty when the stored text is
// not of that form, which leaves the box as it is.
std::string timeValueOfStored(const std::string& stored);

// A complete value has all four digits.
bool isCompleteTime(const std::string& value);
// The stored form of a complete value: "0730" gives "07:30"; empty for an incomplete one.
std::string storedTimeOf(const std::string& value);

}  // namespace twk::options
