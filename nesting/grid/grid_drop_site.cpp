// The grid's drop target: registration for a grid window and the drag calls handed over to the grid.
#include "nesting/grid/grid_drop_site.h"

#include "host/ui/desktop.h"
#include "nesting/grid/grid_ctrl.h"

using namespace host::ui;

namespace {

// Shared by every grid of the module: a registration that would start while another runs is refused.
bool registering = false;

}  // namespace

CGridDropSite::~CGridDropSite() { Revoke(); }

bool CGridDropSite::RegisterWithGrid(Window* window) {
    if (registered_ || registering) return false;
    auto* grid = dynamic_cast<CGridCtrl*>(window);
    if (!grid || !grid->exists()) return false;
    registering = true;
    grid_ = grid;
    registered_ = grid->desktop().registerDropTarget(*grid, *this);
    registering = false;
    return registered_;
}

void CGridDropSite::Revoke() {
    const bool was = registered_;
    registered_ = false;
    if (was && grid_ && grid_->exists()) grid_->desktop().revokeDropTarget(*grid_);
}

bool CGridDropSite::IsGridWindow(const Window& window) const { return grid_ && &window == grid_; }

std::uint32_t CGridDropSite::dragEnter(Window& window, const DataObject& data, unsigned keys, Point screen) {
    if (!IsGridWindow(window)) return DROPEFFECT_NONE;
    return grid_->HandleDragEnter(data, keys, grid_->screenToClient(screen));
}

std::uint32_t CGridDropSite::dragOver(Window& window, const DataObject& data, unsigned keys, Point screen) {
    if (!IsGridWindow(window)) return DROPEFFECT_NONE;
    return grid_->HandleDragOver(data, keys, grid_->screenToClient(screen));
}

void CGridDropSite::dragLeave(Window& window) {
    if (IsGridWindow(window)) grid_->HandleDragLeave();
}

std::uint32_t CGridDropSite::drop(Window& window, const DataObject& data, std::uint32_t effect, Point screen) {
    if (!IsGridWindow(window)) return DROPEFFECT_NONE;
    // The grid answers whether it took the drop; the desktop wants the effect of it.
    return grid_->HandleDrop(data, effect, grid_->screenToClient(screen)) ? effect : DROPEFFECT_NONE;
}

std::uint32_t CGridDropSite::OnDragScroll(Window& window, unsigned keys, Point) const {
    if (!IsGridWindow(window)) return DROPEFFECT_NONE;
    return (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}
