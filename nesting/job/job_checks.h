// Checks of a whole nesting job made before anything of it is built: the engine's limits and the block names
// its stocks and parts will take in the drawing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Bytes a block name may hold (the host's limit on symbol names).
inline constexpr std::size_t kMaxBlockNameBytes = 255;

// One block name of a job and how a message names its entry ("stock 1 (line 17)").
struct JobBlockName {
    std::string Name;
    std::string Entry;
};

// Whether `name` can name a block: not empty, at most kMaxBlockNameBytes bytes, and free of control characters
// and of the characters < > / \ " : ; ? * | , = ' ` (which separate values in host commands and files, or mark
// names of other kinds).
bool IsValidBlockName(std::string_view name);

// The first problem of the job's block names, in the module's language, or none: a name that is empty or not
// valid, a stock or part that takes the clamps' name "Clamp", or two entries with one name (names are compared
// as the drawing's block table compares them, without regard to case). The clash names both entries.
std::optional<std::string> FindBlockNameProblem(const std::vector<JobBlockName>& names);

// The first of the engine's limits the job exceeds, in the module's language, or none: at most
// kMaxStockInstances sheets, at most kMaxPartInstances part copies with the clamps (clampQuantity, 0 when clamps
// are off) and at most kMaxClamps clamps. Quantities below 0 count as 0.
std::optional<std::string> FindJobLimitProblem(const std::vector<std::int64_t>& stockQuantities,
                                               const std::vector<std::int64_t>& partQuantities,
                                               std::int64_t clampQuantity);
