// Texts quoted in messages, cut and with their control characters made visible.
#include "host/sys/message_text.h"

#include "host/sys/encoding.h"

namespace host::sys {

namespace {
constexpr std::string_view kCutMark = "...";
constexpr char kControlStandIn = '?';
}  // namespace

std::string quotedForMessage(std::string_view text, std::size_t maxCharacters) {
    const std::string_view kept = utf8Prefix(text, maxCharacters);
    std::string out;
    out.reserve(kept.size() + kCutMark.size());
    for (const char c : kept) {
        const auto byte = static_cast<unsigned char>(c);
        out.push_back(byte < 0x20 || byte == 0x7F ? kControlStandIn : c);
    }
    if (kept.size() < text.size()) out += kCutMark;
    return out;
}

}  // namespace host::sys
