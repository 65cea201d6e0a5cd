// UV sets: named U/V arrays and per-face-vertex UV ids.

#include "host/src/mesh/MeshGeometry.h"

#include <algorithm>
#include <cmath>

namespace ehost {

const MeshGeometry::UVSet* MeshGeometry::findUVSet(std::string_view name) const {
    if (name.empty()) return &uvSets_[currentUVSet_];
    for (const UVSet& s : uvSets_)
        if (s.name == name) return &s;
    return nullptr;
}

MeshGeometry::UVSet* MeshGeometry::findUVSet(std::string_view name) {
    return const_cast<UVSet*>(std::as_const(*this).findUVSet(name));
}

std::string MeshGeometry::unknownUVSet(std::string_view name) {
    return "the mesh has no UV set named \"" + std::string(name) + "\"";
}

std::vector<std::string> MeshGeometry::uvSetNames() const {
    std::vector<std::string> names;
    for (const UVSet& s : uvSets_) names.push_back(s.name);
    return names;
}

bool MeshGeometry::hasUVSet(std::string_view name) const {
    return !name.empty() && findUVSet(name) != nullptr;
}

MeshStatus MeshGeometry::setCurrentUVSet(std::string_view name) {
    const UVSet* set = findUVSet(name);
    if (!set) return MeshStatus::failure(unknownUVSet(name));
    currentUVSet_ = static_cast<int>(set - uvSets_.data());
    changed(kAttributes);
    return {};
}

MeshStatus MeshGeometry::createUVSet(std::string_view name) {
    if (name.empty()) return MeshStatus::failure("a UV set needs a name");
    if (hasUVSet(name))
        return MeshStatus::failure("the mesh already has a UV set named \"" + std::string(name) +
                                   "\"");
    uvSets_.push_back(UVSet{std::string(name), {}, {}, {}});
    changed(kAttributes);
    return {};
}

MeshStatus MeshGeometry::deleteUVSet(std::string_view name) {
    const UVSet* set = findUVSet(name);
    if (!set) return MeshStatus::failure(unknownUVSet(name));
    const int index = static_cast<int>(set - uvSets_.data());
    if (index == 0) return MeshStatus::failure("the default UV set cannot be deleted");
    uvSets_.erase(uvSets_.begin() + index);
    if (currentUVSet_ == index)
        currentUVSet_ = 0;
    else if (currentUVSet_ > index)
        --currentUVSet_;
    changed(kAttributes);
    return {};
}

int MeshGeometry::numUVs(std::string_view set) const {
    const UVSet* s = findUVSet(set);
    return s ? static_cast<int>(s->u.size()) : 0;
}

MeshStatus MeshGeometry::setUVs(const std::vector<float>& u, const std::vector<float>& v,
                                std::string_view set) {
    UVSet* s = findUVSet(set);
    if (!s) return MeshStatus::failure(unknownUVSet(set));
    if (u.size() != v.size())
        return MeshStatus::failure("setUVs was given " + std::to_string(u.size()) +
                                   " U values but " + std::to_string(v.size()) + " V values");
    for (std::size_t i = 0; i < u.size(); ++i) {
        if (!std::isfinite(u[i]) || !std::isfinite(v[i]))
            return MeshStatus::failure("UV " + std::to_string(i) + " is not finite");
    }
    const int highest = s->faceVertexUVs.empty()
                            ? -1
                            : *std::max_element(s->faceVertexUVs.begin(), s->faceVertexUVs.end());
    if (highest >= static_cast<int>(u.size()))
        return MeshStatus::failure("UV id " + std::to_string(highest) +
                                   " is assigned to a polygon, so at least " +
                                   std::to_string(highest + 1) + " UVs are needed");
    s->u = u;
    s->v = v;
    changed(kAttributes);
    return {};
}

MeshStatus MeshGeometry::getUVs(std::vector<float>& u, std::vector<float>& v,
                                std::string_view set) const {
    const UVSet* s = findUVSet(set);
    if (!s) return MeshStatus::failure(unknownUVSet(set));
    u = s->u;
    v = s->v;
    return {};
}

MeshStatus MeshGeometry::setUV(int uvId, float u, float v, std::string_view set) {
    UVSet* s = findUVSet(set);
    if (!s) return MeshStatus::failure(unknownUVSet(set));
    if (uvId < 0 || uvId >= static_cast<int>(s->u.size()))
        return MeshStatus::failure("UV id " + std::to_string(uvId) +
                                   " is out of range (the set has " + std::to_string(s->u.size()) +
                                   " UVs)");
    if (!std::isfinite(u) || !std::isfinite(v)) return MeshStatus::failure("the UV is not finite");
    s->u[uvId] = u;
    s->v[uvId] = v;
    changed(kAttributes);
    return {};
}

MeshStatus MeshGeometry::getUV(int uvId, float& u, float& v, std::string_view set) const {
    const UVSet* s = findUVSet(set);
    if (!s) return MeshStatus::failure(unknownUVSet(set));
    if (uvId < 0 || uvId >= static_cast<int>(s->u.size()))
        return MeshStatus::failure("UV id " + std::to_string(uvId) +
                                   " is out of range (the set has " + std::to_string(s->u.size()) +
                                   " UVs)");
    u = s->u[uvId];
    v = s->v[uvId];
    return {};
}

MeshStatus MeshGeometry::assignUVs(const std::vector<int>& uvCounts, const std::vector<int>& uvIds,
                                   std::string_view set) {
    UVSet* s = findUVSet(set);
    if (!s) return MeshStatus::failure(unknownUVSet(set));
    if (uvCounts.size() != counts_.size())
        return MeshStatus::failure("assignUVs was given UV counts for " +
                                   std::to_string(uvCounts.size()) + " polygons; the mesh has " +
                                   std::to_string(counts_.size()));
    std::size_t total = 0;
    for (std::size_t f = 0; f < uvCounts.size(); ++f) {
        if (uvCounts[f] != 0 && uvCounts[f] != counts_[f])
            return MeshStatus::failure("polygon " + std::to_string(f) + " has " +
                                       std::to_string(counts_[f]) + " vertices but " +
                                       std::to_string(uvCounts[f]) +
                                       " UVs; a polygon takes all its UVs or none");
        total += static_cast<std::size_t>(uvCounts[f]);
    }
    if (total != uvIds.size())
        return MeshStatus::failure("the UV counts add up to " + std::to_string(total) +
                                   " UV ids but " + std::to_string(uvIds.size()) + " were given");
    const int available = static_cast<int>(s->u.size());
    for (int id : uvIds) {
        if (id < 0 || id >= available)
            return MeshStatus::failure("UV id " + std::to_string(id) +
                                       " is out of range (the set has " +
                                       std::to_string(available) + " UVs)");
    }

    std::vector<int> assigned;
    if (total > 0) {
        assigned.assign(connects_.size(), -1);
        std::size_t next = 0;
        for (std::size_t f = 0; f < uvCounts.size(); ++f) {
            if (uvCounts[f] == 0) continue;
            std::copy_n(uvIds.begin() + static_cast<std::ptrdiff_t>(next), uvCounts[f],
                        assigned.begin() + offsets_[f]);
            next += static_cast<std::size_t>(uvCounts[f]);
        }
    }
    s->faceVertexUVs = std::move(assigned);
    changed(kAttributes);
    return {};
}

MeshStatus MeshGeometry::getAssignedUVs(std::vector<int>& uvCounts, std::vector<int>& uvIds,
                                        std::string_view set) const {
    const UVSet* s = findUVSet(set);
    if (!s) return MeshStatus::failure(unknownUVSet(set));
    uvCounts.assign(counts_.size(), 0);
    uvIds.clear();
    if (s->faceVertexUVs.empty()) return {};
    for (int f = 0; f < numFaces(); ++f) {
        // Whole polygons are assigned, so the first corner tells.
        if (s->faceVertexUVs[offsets_[f]] < 0) continue;
        uvCounts[f] = counts_[f];
        uvIds.insert(uvIds.end(), s->faceVertexUVs.begin() + offsets_[f],
                     s->faceVertexUVs.begin() + offsets_[f + 1]);
    }
    return {};
}

int MeshGeometry::polygonUVid(int face, int local, std::string_view set) const {
    const UVSet* s = findUVSet(set);
    const int fv = faceVertexIndex(face, local);
    if (!s || fv < 0 || s->faceVertexUVs.empty()) return -1;
    return s->faceVertexUVs[fv];
}

}  // namespace ehost
