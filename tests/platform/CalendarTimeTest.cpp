// Calendar times without the C library's shared buffer.
#include <gtest/gtest.h>

#include <ctime>

#include "platform/CalendarTime.h"

namespace vt {
namespace {

struct Calendar {
  int Year, Month, Day, Hour, Minute, Second;
  bool operator==(const Calendar&) const = default;
};

Calendar Of(const std::tm& time) {
  return {time.tm_year + 1900, time.tm_mon + 1, time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec};
}

void PrintTo(const Calendar& c, std::ostream* out) {
  *out << c.Year << "-" << c.Month << "-" << c.Day << " " << c.Hour << ":" << c.Minute << ":" << c.Second;
}

TEST(CalendarTime, UtcDatesAndTimes) {
  const struct {
    std::time_t Moment;
    Calendar Utc;
  } cases[] = {
      {0, {1970, 1, 1, 0, 0, 0}},
      {951782400, {2000, 2, 29, 0, 0, 0}},  // a leap day
      {1234567890, {2009, 2, 13, 23, 31, 30}},
      {1765186205, {2025, 12, 8, 9, 30, 5}},
      {4102444799, {2099, 12, 31, 23, 59, 59}},
  };
  for (const auto& c : cases) EXPECT_EQ(Of(UtcTime(c.Moment)), c.Utc) << c.Moment;
}

// Whatever the zone of the machine, its local time is the UTC time moved by
// the zone's offset at that moment.
TEST(CalendarTime, LocalTimeIsUtcMovedByTheOffset) {
  for (const std::time_t moment : {std::time_t{0}, std::time_t{951782400}, std::time_t{1765186205}}) {
    const std::tm local = LocalTime(moment);
    EXPECT_EQ(Of(local), Of(UtcTime(moment + local.tm_gmtoff))) << moment;
  }
}

}  // namespace
}  // namespace vt
