// Appending typed items to an object's extended data of one application.
#pragma once

#include <string_view>

#include "host/db/ids.h"
#include "host/ge/point.h"

// Extended-data group codes of the appended items.
inline constexpr int kXDataAppName = 1001;
inline constexpr int kXDataString = 1000;
inline constexpr int kXDataHandle = 1005;
inline constexpr int kXDataPoint = 1010;
inline constexpr int kXDataReal = 1040;
inline constexpr int kXDataLong = 1071;

// Each appender adds one item after the last item of the object's list for `app`; an object without data of the
// application gets a new list (the application is registered in the object's drawing when it is not). Answers 0,
// or 1 when the object cannot be opened for write or the item is refused (an empty application name, a string over
// the host's limit); the object's data is then unchanged.
int AppendXDataString(host::db::ObjectId object, std::string_view app, std::string_view text);
int AppendXDataPoint(host::db::ObjectId object, std::string_view app, const host::ge::Point3d& point);
int AppendXDataReal(host::db::ObjectId object, std::string_view app, double value);
// The handle as upper-case hexadecimal text without leading zeros (at most 16 digits).
int AppendXDataHandle(host::db::ObjectId object, std::string_view app, host::db::Handle handle);
int AppendXDataLong(host::db::ObjectId object, std::string_view app, int value);
