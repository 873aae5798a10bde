// Copying a text into a fixed character buffer for code that keeps its texts in such buffers.
#pragma once

#include <cstddef>
#include <string_view>

// Writes `text` into `buffer` of `size` bytes, always terminated. The caller passes a buffer large enough for the
// text and its terminator; when it is not, nothing is written past the buffer: the text is cut at the last whole
// character that fits (a multi-byte character is never split) and the answer is -1. Otherwise the answer is the
// number of bytes written before the terminator. A buffer of size 0 receives nothing (-1).
int CopyWideToNarrow(char* buffer, std::size_t size, std::string_view text);
