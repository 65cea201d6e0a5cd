#include "host/src/mesh/MeshTopology.h"

#include <algorithm>
#include <utility>

namespace ehost {

namespace {

// Turns per-bucket counts (plus a trailing 0) into CSR offsets in place.
void countsToOffsets(std::vector<int>& counts) {
    int running = 0;
    for (int& c : counts) {
        int n = c;
        c = running;
        running += n;
    }
}

// For every face-vertex, the face-vertex that first met the same undirected
// edge. Half-edges are bucketed by their lower vertex; a bucket is as large as
// the vertex's degree, so it is scanned directly, and sorted only when a
// vertex is a huge fan centre (which would make the scan quadratic).
std::vector<int> firstOccurrences(int numVertices, const std::vector<int>& faceOffsets,
                                  const std::vector<int>& connects) {
    const int numFaces = static_cast<int>(faceOffsets.size()) - 1;
    const std::size_t numFv = connects.size();
    std::vector<int> lower(numFv), upper(numFv);
    for (int f = 0; f < numFaces; ++f) {
        const int begin = faceOffsets[f], end = faceOffsets[f + 1];
        for (int k = begin; k < end; ++k) {
            int a = connects[k], b = connects[k + 1 == end ? begin : k + 1];
            lower[k] = std::min(a, b);
            upper[k] = std::max(a, b);
        }
    }
    std::vector<int> bucketStart(numVertices + 1, 0);
    for (std::size_t k = 0; k < numFv; ++k) ++bucketStart[lower[k]];
    countsToOffsets(bucketStart);
    std::vector<int> fill(bucketStart.begin(), bucketStart.end() - 1);
    std::vector<int> bucket(numFv);  // face-vertices, ascending within each bucket
    for (std::size_t k = 0; k < numFv; ++k) bucket[fill[lower[k]]++] = static_cast<int>(k);

    std::vector<int> first(numFv);
    constexpr int kScanLimit = 32;
    std::vector<std::pair<int, int>> sorted;
    for (int v = 0; v < numVertices; ++v) {
        const int begin = bucketStart[v], end = bucketStart[v + 1];
        if (end - begin <= kScanLimit) {
            for (int i = begin; i < end; ++i) {
                int k = bucket[i], j = begin;
                while (upper[bucket[j]] != upper[k]) ++j;
                first[k] = bucket[j];
            }
            continue;
        }
        sorted.clear();
        for (int i = begin; i < end; ++i) sorted.emplace_back(upper[bucket[i]], bucket[i]);
        std::sort(sorted.begin(), sorted.end());
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            bool startsRun = i == 0 || sorted[i].first != sorted[i - 1].first;
            first[sorted[i].second] = startsRun ? sorted[i].second : first[sorted[i - 1].second];
        }
    }
    return first;
}

}  // namespace

MeshTopology MeshTopology::build(int numVertices, const std::vector<int>& faceOffsets,
                                 const std::vector<int>& connects) {
    MeshTopology t;
    const int numFaces = static_cast<int>(faceOffsets.size()) - 1;
    const std::vector<int> first = firstOccurrences(numVertices, faceOffsets, connects);

    t.faceVertexEdges_.resize(connects.size());
    for (int f = 0; f < numFaces; ++f) {
        const int begin = faceOffsets[f], end = faceOffsets[f + 1];
        for (int k = begin; k < end; ++k) {
            if (first[k] != k) {
                t.faceVertexEdges_[k] = t.faceVertexEdges_[first[k]];
                continue;
            }
            t.faceVertexEdges_[k] = static_cast<int>(t.edgeVertices_.size() / 2);
            t.edgeVertices_.push_back(connects[k]);
            t.edgeVertices_.push_back(connects[k + 1 == end ? begin : k + 1]);
        }
    }
    const int numEdges = t.numEdges();

    // Filling in face-vertex order keeps each edge's faces ascending.
    t.edgeFaceOffsets_.assign(numEdges + 1, 0);
    for (int e : t.faceVertexEdges_) ++t.edgeFaceOffsets_[e];
    countsToOffsets(t.edgeFaceOffsets_);
    t.edgeFaces_.resize(connects.size());
    {
        std::vector<int> fill(t.edgeFaceOffsets_.begin(), t.edgeFaceOffsets_.end() - 1);
        for (int f = 0; f < numFaces; ++f)
            for (int k = faceOffsets[f]; k < faceOffsets[f + 1]; ++k)
                t.edgeFaces_[fill[t.faceVertexEdges_[k]]++] = f;
    }

    t.vertexEdgeOffsets_.assign(numVertices + 1, 0);
    for (int v : t.edgeVertices_) ++t.vertexEdgeOffsets_[v];
    countsToOffsets(t.vertexEdgeOffsets_);
    t.vertexEdges_.resize(t.edgeVertices_.size());
    {
        std::vector<int> fill(t.vertexEdgeOffsets_.begin(), t.vertexEdgeOffsets_.end() - 1);
        for (int e = 0; e < numEdges; ++e) {
            t.vertexEdges_[fill[t.edgeVertices_[2 * e]]++] = e;
            t.vertexEdges_[fill[t.edgeVertices_[2 * e + 1]]++] = e;
        }
    }

    t.vertexFaceOffsets_.assign(numVertices + 1, 0);
    for (int v : connects) ++t.vertexFaceOffsets_[v];
    countsToOffsets(t.vertexFaceOffsets_);
    t.vertexFaces_.resize(connects.size());
    {
        std::vector<int> fill(t.vertexFaceOffsets_.begin(), t.vertexFaceOffsets_.end() - 1);
        for (int f = 0; f < numFaces; ++f)
            for (int k = faceOffsets[f]; k < faceOffsets[f + 1]; ++k)
                t.vertexFaces_[fill[connects[k]]++] = f;
    }
    return t;
}

int MeshTopology::findEdge(int a, int b) const {
    for (int e : vertexEdges(a)) {
        EdgeVertices ev = edgeVertices(e);
        if ((ev.first == a && ev.second == b) || (ev.first == b && ev.second == a)) return e;
    }
    return -1;
}

std::size_t MeshTopology::memoryBytes() const {
    std::size_t ints = edgeVertices_.capacity() + faceVertexEdges_.capacity() +
                       edgeFaceOffsets_.capacity() + edgeFaces_.capacity() +
                       vertexEdgeOffsets_.capacity() + vertexEdges_.capacity() +
                       vertexFaceOffsets_.capacity() + vertexFaces_.capacity();
    return sizeof(MeshTopology) + ints * sizeof(int);
}

}  // namespace ehost
