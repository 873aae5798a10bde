// The job-wide checks of a nesting job: block names and the engine's limits.
#include "nesting/job/job_checks.h"

#include <algorithm>
#include <cstddef>
#include <map>

#include "host/sys/text_case.h"
#include "nesting/job/job_file_layout.h"
#include "nesting/job/job_file_reader.h"
#include "nesting/job/job_messages.h"
#include "nesting/model/model_limits.h"

namespace {

// Characters no block name of a job may hold.
constexpr std::string_view kForbiddenBlockNameChars = "<>/\\\":;?*|,='`";

std::int64_t SumOfQuantities(const std::vector<std::int64_t>& quantities) {
    std::int64_t total = 0;
    for (std::int64_t q : quantities) {
        // Each quantity is bounded by its reader; the sum of a thousand of them cannot overflow.
        total += std::max<std::int64_t>(q, 0);
    }
    return total;
}

}  // namespace

bool IsValidBlockName(std::string_view name) {
    if (name.empty() || name.size() > kMaxBlockNameBytes) {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F ||
               kForbiddenBlockNameChars.find(c) != std::string_view::npos;
    });
}

std::optional<std::string> FindBlockNameProblem(const std::vector<JobBlockName>& names) {
    // Upper-cased names seen so far, with the entry that took each.
    std::map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const JobBlockName& entry = names[i];
        if (entry.Name.empty()) {
            return FormatLocalized(kReasonBlockNameEmpty, entry.Entry.c_str());
        }
        if (entry.Name.size() > kMaxBlockNameBytes) {
            return FormatLocalized(kReasonBlockNameTooLong, entry.Entry.c_str(), static_cast<int>(kMaxBlockNameBytes));
        }
        if (!IsValidBlockName(entry.Name)) {
            return FormatLocalized(kReasonBlockNameInvalid, entry.Name.c_str(), entry.Entry.c_str());
        }
        if (host::sys::equalsNoCase(entry.Name, kClampBlockName)) {
            return FormatLocalized(kReasonBlockNameReserved, entry.Entry.c_str(), entry.Name.c_str());
        }
        const auto [earlier, added] = seen.try_emplace(host::sys::upperCase(entry.Name), i);
        if (!added) {
            return FormatLocalized(kReasonBlockNameClash, names[earlier->second].Entry.c_str(), entry.Entry.c_str(),
                                   entry.Name.c_str());
        }
    }
    return std::nullopt;
}

std::optional<std::string> FindJobLimitProblem(const std::vector<std::int64_t>& stockQuantities,
                                               const std::vector<std::int64_t>& partQuantities,
                                               std::int64_t clampQuantity) {
    const std::int64_t clamps = std::max<std::int64_t>(clampQuantity, 0);
    if (clamps > kMaxClamps) {
        return FormatLocalized(kReasonTooManyClamps, static_cast<long long>(clamps), kMaxClamps);
    }
    const std::int64_t sheets = SumOfQuantities(stockQuantities);
    if (sheets > kMaxStockInstances) {
        return FormatLocalized(kReasonTooManySheets, static_cast<long long>(sheets), kMaxStockInstances);
    }
    const std::int64_t parts = SumOfQuantities(partQuantities) + clamps;
    if (parts > kMaxPartInstances) {
        return FormatLocalized(kReasonTooManyParts, static_cast<long long>(parts), kMaxPartInstances);
    }
    return std::nullopt;
}
