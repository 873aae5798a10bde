// Copying a text into a fixed character buffer without ever writing past it.
#include "laser/frame/narrow_text.h"

#include <cstring>

namespace {

// True for the second to fourth byte of a UTF-8 character (10xxxxxx).
bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

int CopyWideToNarrow(char* buffer, std::size_t size, std::string_view text) {
    if (buffer == nullptr || size == 0) return -1;
    if (text.size() < size) {
        std::memcpy(buffer, text.data(), text.size());
        buffer[text.size()] = '\0';
        return static_cast<int>(text.size());
    }
    // Too long: keep what fits, backing off to the start of a character so no half character is left.
    std::size_t length = size - 1;
    while (length > 0 && isContinuationByte(text[length])) --length;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return -1;
}
