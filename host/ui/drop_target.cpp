// Data objects of drags and the refusing defaults of drop targets.
#include "host/ui/drop_target.h"

#include "host/ui/constants.h"

namespace host::ui {

std::optional<std::string> DataObject::get(unsigned format) const {
    auto it = formats_.find(format);
    if (it == formats_.end()) return std::nullopt;
    return it->second;
}

DataObject DataObject::withText(const std::string& utf8) {
    DataObject d;
    std::string block = utf8;
    block.push_back('\0');
    d.set(CF_TEXT, std::move(block));
    return d;
}

std::uint32_t DropTarget::dragEnter(Window&, const DataObject&, unsigned, Point) { return DROPEFFECT_NONE; }
std::uint32_t DropTarget::dragOver(Window&, const DataObject&, unsigned, Point) { return DROPEFFECT_NONE; }
void DropTarget::dragLeave(Window&) {}
std::uint32_t DropTarget::drop(Window&, const DataObject&, std::uint32_t, Point) { return DROPEFFECT_NONE; }

}  // namespace host::ui
