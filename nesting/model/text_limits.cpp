// Character counts and cuts of UTF-8 texts.
#include "nesting/model/text_limits.h"

namespace {

bool IsLeadByte(char c) { return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u; }

}  // namespace

std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (char c : text) {
        count += IsLeadByte(c) ? 1 : 0;
    }
    return count;
}

std::string CutToCharacters(const std::string& text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLeadByte(text[i])) {
            if (chars == maxChars) {
                return text.substr(0, i);
            }
            ++chars;
        }
    }
    return text;
}
