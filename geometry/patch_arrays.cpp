#include "geometry/patch_arrays.h"

#include <algorithm>

namespace geo {

void reverseNewQuads(std::vector<int>& polyconnect, std::size_t newFaceCount) {
    const std::size_t total = polyconnect.size();
    if (newFaceCount > total / 4) return;
    for (std::size_t s = total - 4 * newFaceCount; s + 4 <= total; s += 4) {
        std::reverse(polyconnect.begin() + s, polyconnect.begin() + s + 4);
    }
}

}  // namespace geo
