// Binary DXF: the same groups as an ASCII file, each a little-endian group code and a value in the code's binary
// form, after the sentinel "AutoCAD Binary DXF". Read by turning the groups into ASCII DXF text for the reader.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "host/dxf/dxf_file.h"

namespace host::dxf {

// True when the data starts with the binary DXF sentinel.
bool isBinaryDxf(std::string_view data);

// The groups of a binary DXF file as ASCII DXF text, two lines a group, up to and with the EOF record (bytes after
// it are ignored).
//   - Group codes take two bytes; in files before R13 one byte, 255 announcing a two-byte code.
//   - Values: text and handles end with a NUL byte; reals are 8-byte doubles; integers 2, 4 or 8 bytes, signed;
//     290-299 one byte; binary chunks (310-319, 1004) a length byte and that many bytes (written as hexadecimal).
//     Text bytes pass as they are, so the code page of the file still applies; a line break inside a text becomes
//     its caret form (^J, ^M), as ASCII files write it.
//   - Refused with "<source>, byte <n>: <what>": a file cut short inside a group, a code that is not a DXF group
//     code, a real that is not finite.
struct BinaryDxfText {
    std::string text;
    std::string error;
    std::vector<std::size_t> groupOffsets;  // the byte offset of each group's code in the binary file
};
BinaryDxfText binaryDxfToText(std::string_view data, std::string_view source);

// Reads a binary DXF file from memory as readDxfText reads an ASCII one; messages name the byte offset of the
// group at fault instead of a line.
ReadResult readBinaryDxf(std::string_view data, std::string_view source);

}  // namespace host::dxf
