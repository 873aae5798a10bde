// The drawings a job load reads twice: the check before the load reads every drawing of the job, and the load
// reads each again. While a DrawingReadCache lives, the check keeps what it read and the load takes it from there
// instead of reading the file again.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "host/db/database.h"

class DrawingReadCache {
public:
    // Opens the cache; there is one at a time (a second one while the first lives keeps nothing of its own).
    DrawingReadCache();
    // Drops every drawing still kept.
    ~DrawingReadCache();
    DrawingReadCache(const DrawingReadCache&) = delete;
    DrawingReadCache& operator=(const DrawingReadCache&) = delete;

    // Keeps `drawing`, read from the stored path, when a cache is open; else it is dropped.
    static void Keep(std::string_view storedPath, std::unique_ptr<host::db::Database> drawing);
    // The drawing kept for the stored path, taken out of the cache; null when none is kept (or no cache is open).
    static std::unique_ptr<host::db::Database> Take(std::string_view storedPath);

private:
    bool owner_ = false;
};
