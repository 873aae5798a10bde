// The saved pose of one part instance, by which a placement on a sheet can be undone.
#pragma once

#include <cstdint>

struct PoseSnapshot {
    std::int32_t Instance = 0;
    // The trial pose's valid flag when saved.
    std::int32_t Valid = 0;
    // The sheet it lay on, -1 = none.
    std::int32_t Stock = -1;
    double X = 0.0;
    double Y = 0.0;
    double Angle = 0.0;
};
