// Drop targets: windows registered to take data dragged over them, and the data a drag carries. No OLE: the
// robot calls the registered target directly.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "host/ui/geometry.h"

namespace host::ui {

class Window;

// The data of a drag (or of the clipboard as a data object): bytes per clipboard format.
class DataObject {
public:
    void set(unsigned format, std::string bytes) { formats_[format] = std::move(bytes); }
    bool isAvailable(unsigned format) const { return formats_.count(format) != 0; }
    std::optional<std::string> get(unsigned format) const;
    // CF_TEXT with its terminating zero.
    static DataObject withText(const std::string& utf8);

private:
    std::map<unsigned, std::string> formats_;
};

// What a window does with a drag. `keys` holds MK_* flags; points are in screen coordinates. Answers are
// DROPEFFECT_* values; the defaults refuse everything.
class DropTarget {
public:
    virtual ~DropTarget() = default;
    virtual std::uint32_t dragEnter(Window& window, const DataObject& data, unsigned keys, Point screen);
    virtual std::uint32_t dragOver(Window& window, const DataObject& data, unsigned keys, Point screen);
    virtual void dragLeave(Window& window);
    virtual std::uint32_t drop(Window& window, const DataObject& data, std::uint32_t effect, Point screen);
};

}  // namespace host::ui
