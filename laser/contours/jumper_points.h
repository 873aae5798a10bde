// Jumper points (micro-joints drawn as points on layer "JumperLine") tied to the cut contour they lie on.
#pragma once

struct CuttingJob;

// Gives every jumper point (kind 7) of `job` as parent the first cut contour of kind 0, 3 or 4, in table order,
// that it lies on within the host's tolerance (0 when none). Answers 0.
int AttachJumperPoints(CuttingJob& job);
