#include "host/src/dag/Selection.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace ehost {

bool Component::has(int e, int s) const {
    for (size_t i = 0; i < elements.size(); ++i)
        if (elements[i] == e && (!doubleIndexed() || second[i] == s)) return true;
    return false;
}

bool Component::add(int e, int s) {
    if (has(e, s)) return false;
    elements.push_back(e);
    if (doubleIndexed()) second.push_back(s);
    return true;
}

void Component::merge(const Component& other) {
    if (!doubleIndexed()) {
        // Many elements at once (a whole mesh's vertices): one pass with a set.
        std::unordered_set<int> present(elements.begin(), elements.end());
        for (int e : other.elements)
            if (present.insert(e).second) elements.push_back(e);
        return;
    }
    for (size_t i = 0; i < other.elements.size(); ++i)
        add(other.elements[i], i < other.second.size() ? other.second[i] : -1);
}

bool Component::sameElements(const Component& other) const {
    if (kind != other.kind || elements.size() != other.elements.size()) return false;
    std::vector<std::pair<int, int>> a, b;
    for (size_t i = 0; i < elements.size(); ++i)
        a.emplace_back(elements[i], doubleIndexed() ? second[i] : -1);
    for (size_t i = 0; i < other.elements.size(); ++i)
        b.emplace_back(other.elements[i], other.doubleIndexed() ? other.second[i] : -1);
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

}  // namespace ehost
