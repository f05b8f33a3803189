#include "platform/CalendarTime.h"

#include <time.h>

namespace vt {

std::tm LocalTime(std::time_t moment) {
  std::tm local{};
  if (::localtime_r(&moment, &local) != nullptr) return local;
  return UtcTime(moment);
}

std::tm UtcTime(std::time_t moment) {
  std::tm utc{};
  if (::gmtime_r(&moment, &utc) != nullptr) return utc;
  return std::tm{};
}

}  // namespace vt
