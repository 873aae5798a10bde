// The clipboard's formats, owner and text block.
#include "host/ui/clipboard.h"

namespace host::ui {

void Clipboard::clear(const void* owner) {
    formats_.clear();
    owner_ = owner;
    ++changes_;
}

void Clipboard::setData(unsigned format, std::string bytes, const void* owner) {
    formats_[format] = std::move(bytes);
    owner_ = owner;
    ++changes_;
}

bool Clipboard::isAvailable(unsigned format) const { return formats_.count(format) != 0; }

std::optional<std::string> Clipboard::data(unsigned format) const {
    auto it = formats_.find(format);
    if (it == formats_.end()) return std::nullopt;
    return it->second;
}

void Clipboard::setText(std::string_view utf8, const void* owner) {
    formats_.clear();
    std::string block(utf8);
    block.push_back('\0');
    formats_[CF_TEXT] = std::move(block);
    owner_ = owner;
    ++changes_;
}

std::optional<std::string> Clipboard::text() const {
    auto it = formats_.find(CF_TEXT);
    if (it == formats_.end()) return std::nullopt;
    // A block put there by another program may lack its terminator: the block's size bounds the read.
    const std::string& block = it->second;
    std::size_t end = block.find('\0');
    return block.substr(0, end == std::string::npos ? block.size() : end);
}

}  // namespace host::ui
