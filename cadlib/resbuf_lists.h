// Helpers on host result-buffer lists: finding values by code, appending elements, and reading a string from
// an entity's data list.
#pragma once

#include <cstdint>
#include <string>

#include "host/db/ids.h"
#include "host/db/resbuf.h"
#include "host/ge/point.h"

// 0 and a copy of the string of the first element with `code`; 1 when there is none (text unchanged).
int FindResbufString(const host::db::ResBufList& list, int code, std::string& text);
// 0 and the 32-bit value of the first element with `code`; 1 when there is none.
int FindResbufInt(const host::db::ResBufList& list, int code, int& value);
// 0 and the 64-bit value of the first element with `code`; 1 when there is none.
int FindResbufInt64(const host::db::ResBufList& list, int code, std::int64_t& value);
// 0 and the string of the first element with group `code` of the entity's data list; 1 when there is none or
// the list cannot be read.
int GetEntityString(const host::db::EntityName& name, int code, std::string& text);
// Sets the point of the first element with `code` (nothing when there is none). Answers 0.
int SetResbufPoint(host::db::ResBufList& list, int code, const host::ge::Point3d& point);
// Appends `element` after the last one and answers the list (an empty list then holds only the element).
host::db::ResBufList& AppendResbuf(host::db::ResBufList& list, host::db::ResBuf element);
// Appends an RTENAME element holding `name` and answers the list; an empty list stays empty (a list to append
// to is one the caller started).
host::db::ResBufList& AppendEntityName(host::db::ResBufList& list, const host::db::EntityName& name);
