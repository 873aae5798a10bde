// The cache of drawings read by a job's check, for its load.
#include "nesting/drawings/drawing_read_cache.h"

#include "host/sys/paths.h"

namespace {

using Drawings = std::map<std::string, std::unique_ptr<host::db::Database>>;

// The open cache, null when none is open.
Drawings* g_open = nullptr;

std::string KeyOf(std::string_view storedPath) { return host::sys::resolveDrawingPath(storedPath).string(); }

}  // namespace

DrawingReadCache::DrawingReadCache() {
    if (g_open == nullptr) {
        g_open = new Drawings;
        owner_ = true;
    }
}

DrawingReadCache::~DrawingReadCache() {
    if (!owner_) return;
    delete g_open;
    g_open = nullptr;
}

void DrawingReadCache::Keep(std::string_view storedPath, std::unique_ptr<host::db::Database> drawing) {
    if (g_open == nullptr || !drawing) return;
    (*g_open)[KeyOf(storedPath)] = std::move(drawing);
}

std::unique_ptr<host::db::Database> DrawingReadCache::Take(std::string_view storedPath) {
    if (g_open == nullptr) return nullptr;
    const auto at = g_open->find(KeyOf(storedPath));
    if (at == g_open->end()) return nullptr;
    std::unique_ptr<host::db::Database> drawing = std::move(at->second);
    g_open->erase(at);
    return drawing;
}
