// A jig that places one block reference: a move drag to a new insertion point, then a rotate drag about it.
//
// The caller opens the reference for write, makes the jig on it, runs DragPosition and, unless it answered -1,
// DragRotation, then deletes the jig and closes the reference. The jig neither opens, closes nor erases it.
#pragma once

#include "host/db/entities.h"
#include "host/ed/jig.h"
#include "host/ge/point.h"

class CBlockDragJig : public host::ed::Jig {
public:
    explicit CBlockDragJig(host::db::BlockReference* blockReference);
    ~CBlockDragJig() override = default;

    // The move drag ("Specify a point"). -1 when the user cancelled (the reference is back at its start), 0 on a
    // pick, 1 on any other end (Enter, a keyword, other input; the last sample stays applied).
    int DragPosition();
    // The rotate drag about the current insertion point ("Specify angle"); answers as DragPosition.
    int DragRotation();

    DragStatus sampler() override;
    bool update() override;
    host::db::Entity* entity() const override { return entity_; }

private:
    enum class Mode { Move = 0, Rotate = 1 };
    int runDrag(Mode mode);
    DragStatus sampleMove();
    DragStatus sampleRotation();

    host::db::Entity* entity_;
    host::db::BlockReference* blockReference_;
    host::ge::Point3d startPosition_;
    host::ge::Point3d currentPosition_;
    host::ge::Point3d sampledPoint_;
    double startRotation_ = 0.0;
    double currentRotation_ = 0.0;
    Mode mode_ = Mode::Move;
};
