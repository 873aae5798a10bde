// The block drag jig: move and rotate drags of one block reference, restoring the start on Esc.
#include "cadlib/block_drag_jig.h"

#include "host/ge/angle.h"

namespace {

constexpr int kDragCancelled = -1;
constexpr int kDragPicked = 0;
constexpr int kDragEndedOtherwise = 1;

// The image left in place and the dragged image (the host's style values).
constexpr host::ed::Jig::DragStyle kBlockDragStyle{0, 1};

constexpr int kSamplerControls = host::ed::Jig::kNoZeroResponseAccepted |
                                 host::ed::Jig::kNoNegativeResponseAccepted |
                                 host::ed::Jig::kAccept3dCoordinates;

}  // namespace

CBlockDragJig::CBlockDragJig(host::db::BlockReference* blockReference)
    : entity_(blockReference), blockReference_(blockReference) {}

int CBlockDragJig::DragPosition() { return runDrag(Mode::Move); }

int CBlockDragJig::DragRotation() { return runDrag(Mode::Rotate); }

int CBlockDragJig::runDrag(Mode mode) {
    mode_ = mode;
    startPosition_ = currentPosition_ = blockReference_->position();
    startRotation_ = currentRotation_ = blockReference_->rotation();
    setDispPrompt(mode == Mode::Move ? "\nSpecify a point: " : "\nSpecify angle: ");
    const DragStatus status = drag(kBlockDragStyle);
    if (status == kCancel) return kDragCancelled;
    append();  // the reference is in the drawing already: nothing is added
    return status != kNormal ? kDragEndedOtherwise : kDragPicked;
}

host::ed::Jig::DragStatus CBlockDragJig::sampler() {
    setUserInputControls(kSamplerControls);
    return mode_ == Mode::Move ? sampleMove() : sampleRotation();
}

host::ed::Jig::DragStatus CBlockDragJig::sampleMove() {
    const DragStatus status = acquirePoint(sampledPoint_);
    if (status == kCancel) {
        blockReference_->setPosition(startPosition_);
        return kCancel;
    }
    if (status != kNormal) return status;  // Enter, a keyword, other input: no point was acquired
    if (sampledPoint_.isEqualTo(currentPosition_)) return kNoChange;
    currentPosition_ = sampledPoint_;
    return status;
}

host::ed::Jig::DragStatus CBlockDragJig::sampleRotation() {
    host::ge::Point3d point;
    const DragStatus status = acquirePoint(point, currentPosition_);
    if (status == kCancel) {
        blockReference_->setRotation(startRotation_);
        return kCancel;
    }
    if (status != kNormal) return status;  // Enter, a keyword, other input: no direction was acquired
    if (point.x == currentPosition_.x && point.y == currentPosition_.y) return kNoChange;
    const double angle = host::ge::angleFromTo(host::ge::Point3d(currentPosition_.x, currentPosition_.y, 0.0),
                                               host::ge::Point3d(point.x, point.y, 0.0));
    if (angle == currentRotation_) return kNoChange;
    currentRotation_ = angle;
    return status;
}

bool CBlockDragJig::update() {
    if (mode_ == Mode::Move) {
        blockReference_->setPosition(currentPosition_);
    } else {
        blockReference_->setRotation(currentRotation_);
    }
    return true;
}
