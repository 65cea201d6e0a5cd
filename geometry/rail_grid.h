#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "geometry/mesh_sink.h"
#include "geometry/point.h"
#include "geometry/resample.h"

namespace geo {

struct RailGridSettings {
    std::uint32_t uSpans = 12;  // columns, along the rails
    std::uint32_t vSpans = 12;  // rows, across the rails
    double tolerance = 0.001;   // merge distance for the sink
    // The retopology mesh was created empty for this action, so there is no player row to
    // continue from even when one is given.
    bool scratch = false;
    ClosedFlag isClosed;  // passed to the resampler
};

// Receives each rail pair, after resampling, before its quads are built.
using RailPairHandler = std::function<void(const Polyline& first, const Polyline& second)>;

// What the builders return when they build no patch: five zeros.
std::vector<int> noPatch();

// Lays a grid of uSpans x vSpans quads between every two consecutive rails, appending them to the
// sink and their face ids to newFaces. The first rail of the first pair is the player row when
// one is given and the mesh is not new. Returns lastRow, or noPatch() when fewer than two rails
// are given or a rail resamples to nothing (quads of earlier pairs then stay in the sink).
//
// A pair whose rails have different point counts is built over the columns both rails have, so
// neither rail is read past its end.
std::vector<int> buildRailGrid(std::span<const Polyline> rails, const Polyline& playerRow,
                               const RailGridSettings& settings, MeshSink& sink,
                               std::vector<int>& newFaces, const RailPairHandler& onRailPair = {});

// Vertex ids of the grid's first row (on the first rail) and last row (on the second rail), as
// a single unmerged pair numbers them from `vertexCount`: the row numbering of the patch.
std::vector<int> firstRow(int vertexCount, std::uint32_t uSpans, std::uint32_t vSpans);
std::vector<int> lastRow(int vertexCount, std::uint32_t uSpans, std::uint32_t vSpans);

}  // namespace geo
