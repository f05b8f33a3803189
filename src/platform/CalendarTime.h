#pragma once
// A moment as a calendar date and time of day, safe on any thread (the C
// library's plain calls share one buffer between all threads).
#include <ctime>

namespace vt {

// The local date and time; the UTC one when the time zone gives none.
std::tm LocalTime(std::time_t moment);
// The date and time in UTC; all zero for a moment the calendar cannot hold.
std::tm UtcTime(std::time_t moment);

}  // namespace vt
