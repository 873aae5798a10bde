// Polylines the contour tests are built on, made outside any drawing.
#pragma once

#include <vector>

#include "host/db/entities.h"

namespace cadlib::testing {

struct Vertex {
    double x, y, bulge = 0.0;
};

inline host::db::LwPolyline makePolyline(const std::vector<Vertex>& vertices, bool closed = true) {
    host::db::LwPolyline p;
    for (const Vertex& v : vertices) p.addVertexAt(p.numVerts(), {v.x, v.y}, v.bulge);
    p.setClosed(closed);
    return p;
}

// Twice the signed area of the straight outline: positive when the vertices run counter-clockwise.
inline double signedArea2(const host::db::LwPolyline& p) {
    double sum = 0;
    const auto& v = p.vertices();
    for (std::size_t i = 0; i < v.size(); ++i) {
        const auto& a = v[i].point;
        const auto& b = v[(i + 1) % v.size()].point;
        sum += a.x * b.y - b.x * a.y;
    }
    return sum;
}

// A 10 x 10 square with its lower left corner at the origin, counter-clockwise.
inline host::db::LwPolyline square10() { return makePolyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}); }

}  // namespace cadlib::testing
