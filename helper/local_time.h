#pragma once

#include <ctime>

namespace twkd {

// The calendar time at when in the machine's time zone, as the system's thread-safe call gives
// it.
std::tm localTime(std::time_t when);

}  // namespace twkd
