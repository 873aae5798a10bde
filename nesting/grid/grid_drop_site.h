// The grid's drop target: registered for the grid window, it hands every drag over the grid to the grid (which
// refuses them all) and answers "no effect" for any other window.
#pragma once

#include <cstdint>

#include "host/ui/drop_target.h"
#include "host/ui/geometry.h"

namespace host::ui {
class Window;
}

class CGridCtrl;

class CGridDropSite : public host::ui::DropTarget {
public:
    CGridDropSite() = default;
    ~CGridDropSite() override;
    CGridDropSite(const CGridDropSite&) = delete;
    CGridDropSite& operator=(const CGridDropSite&) = delete;

    // Registers `window` as a drop target when it is a grid (the grid's size handler calls this, so a grid is
    // registered once its window has a size). False when this site is registered already, while another
    // registration runs, for a window that is not a grid, or when the desktop refuses.
    bool RegisterWithGrid(host::ui::Window* window);
    // Ends the registration (when there is one).
    void Revoke();
    bool IsRegistered() const { return registered_; }
    CGridCtrl* Grid() const { return grid_; }

    // Drags over the grid's own window go to the grid's HandleDragEnter, HandleDragOver, HandleDragLeave and
    // HandleDrop with the point in the grid's client coordinates; over any other window: no effect.
    std::uint32_t dragEnter(host::ui::Window& window, const host::ui::DataObject& data, unsigned keys,
                            host::ui::Point screen) override;
    std::uint32_t dragOver(host::ui::Window& window, const host::ui::DataObject& data, unsigned keys,
                           host::ui::Point screen) override;
    void dragLeave(host::ui::Window& window) override;
    std::uint32_t drop(host::ui::Window& window, const host::ui::DataObject& data, std::uint32_t effect,
                       host::ui::Point screen) override;
    // The effect of a drag resting near the grid's edge: copy while Ctrl is held (MK_CONTROL in `keys`), else
    // move, never scrolling; no effect over any other window.
    std::uint32_t OnDragScroll(host::ui::Window& window, unsigned keys, host::ui::Point screen) const;

private:
    bool IsGridWindow(const host::ui::Window& window) const;

    CGridCtrl* grid_ = nullptr;  // not owned
    bool registered_ = false;
};
