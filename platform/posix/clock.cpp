#include <time.h>

#include "platform/system_platform.h"

namespace pinglog {

// The local wall-clock fields, honouring TZ; the fraction of the second is dropped.
LocalTimeFields SystemPlatform::LocalTime() {
  const time_t now = ::time(nullptr);
  struct tm local {};
  ::localtime_r(&now, &local);
  LocalTimeFields fields;
  fields.year = local.tm_year + 1900;
  fields.month = local.tm_mon + 1;
  fields.day = local.tm_mday;
  fields.hour = local.tm_hour;
  fields.minute = local.tm_min;
  fields.second = local.tm_sec;
  return fields;
}

}  // namespace pinglog
