// The clipboard: bytes per format and the owner that last set them. Text is kept as the CF_TEXT block a
// program would see: the UTF-8 bytes and a terminating zero (our host's "ANSI code page" is UTF-8).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "host/ui/constants.h"

namespace host::ui {

class Clipboard {
public:
    // Replaces the whole content (EmptyClipboard) and records `owner` as the owner (any token; nullptr for none).
    void clear(const void* owner = nullptr);
    // Adds or replaces one format's bytes, keeping the others; the owner becomes `owner`.
    void setData(unsigned format, std::string bytes, const void* owner = nullptr);
    bool isAvailable(unsigned format) const;
    // The bytes of a format, as stored; nullopt when absent.
    std::optional<std::string> data(unsigned format) const;
    const void* owner() const { return owner_; }
    bool isOwner(const void* token) const { return token != nullptr && owner_ == token; }

    // Text conveniences: setText stores CF_TEXT as the text plus one zero byte (and empties the rest);
    // text() reads CF_TEXT up to its first zero byte, or to its end when a block lacks the terminator.
    void setText(std::string_view utf8, const void* owner = nullptr);
    std::optional<std::string> text() const;

    // The number of times the content changed, so tests can tell whether anything was put there.
    int changeCount() const { return changes_; }

private:
    std::map<unsigned, std::string> formats_;
    const void* owner_ = nullptr;
    int changes_ = 0;
};

}  // namespace host::ui
