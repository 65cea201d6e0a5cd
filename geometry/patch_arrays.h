#pragma once

#include <cstddef>
#include <vector>

namespace geo {

// Turns the winding of the new faces, which are the last `newFaceCount` polygons of the patch
// arrays and all quads: each quad's four vertex ids starting at the tail are reversed in place.
// When the new faces would need more entries than there are, nothing is reversed.
void reverseNewQuads(std::vector<int>& polyconnect, std::size_t newFaceCount);

}  // namespace geo
