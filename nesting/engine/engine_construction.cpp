// Construction of the nesting engine: the start value of every field, the quality table and the last job path.
#include "host/reg/machine_registry.h"
#include "nesting/model/nesting_engine.h"
#include "nesting/model/text_limits.h"

namespace {

// The last job path is kept in a buffer of 1024 bytes: a text of up to 511 characters.
constexpr std::size_t kLastFileMaxChars = 511;

}  // namespace

CNestingEngine::CNestingEngine()
    : PoseSnapshots(kPoseSnapshotCapacity),
      PlacedParts(kMaxPlacedParts, 0),
      Groups(kGroupCapacity) {
    SetStepsForUnit();
    QualityTable = BuildQualityTable();
    const std::optional<std::string> last = host::reg::productKey().getString("LastFileNesting");
    LastFileNesting = (last && CharacterCount(*last) <= kLastFileMaxChars) ? *last : std::string();
}

CNestingEngine::~CNestingEngine() = default;

void CNestingEngine::SetStepsForUnit() {
    const double step = (Unit == kUnitInches) ? 0.004 : 0.1;
    constexpr double kCoarseFactor = 30.0;
    SearchStep = {step, step};
    CoarseStep = {step * kCoarseFactor, step * kCoarseFactor};
}
