// The fixed capacities of the nesting engine's records: every table of the engine keeps to these sizes.
#pragma once

#include <cstdint>

// Part instances of one job, clamp copies included (one pose snapshot per instance).
inline constexpr int kMaxPartInstances = 10000;
// Entries of the pose snapshot buffer, indexed by part instance.
inline constexpr int kPoseSnapshotCapacity = kMaxPartInstances;
// Parts and clamps on one sheet: entries of PlacedParts and of the best layout of a sheet.
inline constexpr int kMaxPlacedParts = 9000;
inline constexpr int kBestLayoutCapacity = kMaxPlacedParts;
// Groups of the engine's work area; only the variant groups of one part (at most 5) are in use at a time.
inline constexpr int kGroupCapacity = 10000;
// Members a group has room for; a single part uses 1, a pair 2.
inline constexpr int kGroupMemberCapacity = 20;
// Ranked pair arrangements kept per part type.
inline constexpr int kPairVariantCapacity = 8;
// Templates of each kind per part type: the part posed at 0, 1, ... 90 degrees.
inline constexpr int kTemplateCount = 91;
// Clamps on one sheet.
inline constexpr int kMaxClamps = 5;
// Candidates of the hole collision test per group member.
inline constexpr int kMaxHoleNeighbours = 100;
// Contour sets of a type: set 0 is filled by the loader, set 1 exists but stays empty.
inline constexpr int kContourSetCount = 2;
// Characters of the material texts (the terminating zero of the stored form not counted).
inline constexpr int kMaterialNameMaxChars = 124;
inline constexpr int kMaterialNumberMaxChars = 22;
// Rows and columns of the quality table.
inline constexpr int kQualityLevelCount = 10;
inline constexpr int kQualityColumnCount = 9;
// Quality levels that can be selected.
inline constexpr int kMinQualityLevel = 3;
inline constexpr int kMaxQualityLevel = 9;
