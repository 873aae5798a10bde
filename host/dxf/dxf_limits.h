// Resource bounds of the DXF reader. None of them is a limit of the format: each caps what one malformed or hostile
// file can make the reader allocate or do, and each is far above what a real drawing needs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace host::dxf::limits {

// The file is read into memory whole. A drawing of 500,000 entities is about 100 MB of DXF; 1 GiB leaves room for
// ten times that and still stops a runaway file (or a device such as /dev/zero) before it exhausts memory.
inline constexpr std::size_t kMaxFileBytes = std::size_t(1) << 30;

// One text value, decoded to UTF-8. The format caps strings at 2,049 characters and other programs write at most
// a few hundred; 128 KiB accepts anything a writer does.
inline constexpr std::size_t kMaxTextBytes = 128 * 1024;

// One line of the file: it keeps one broken line (a file without line breaks) from being taken as one value. Our
// own writer escapes every character outside ASCII (\U+XXXX: seven bytes for a character of two UTF-8 bytes,
// fourteen for one of four), so a text comes back up to 3.5 times as long; the line bound stays above that, so
// that every file we write is one we read.
inline constexpr std::size_t kMaxLineBytes = 1024 * 1024;
static_assert(kMaxLineBytes >= 4 * kMaxTextBytes);

// Groups of one record (everything between two 0 groups), held while the record is decoded at about 48 bytes
// each. A polyline of a million vertices has three million groups; eight million caps the held groups at about
// 400 MB however the file is built.
inline constexpr std::size_t kMaxRecordGroups = 8u * 1024 * 1024;

// Entities a drawing shows once every block reference is expanded. Blocks inside blocks multiply: four references
// to a block that holds four references, eleven levels deep, are 10 million entities in a 1 KB file, and measuring
// the drawing's extents alone then takes about a microsecond per entity. Two million keeps that to two seconds; a
// sheet of a thousand nested parts of two hundred entities each is a tenth of it.
inline constexpr std::uint64_t kMaxExpandedEntities = 2'000'000;

}  // namespace host::dxf::limits
