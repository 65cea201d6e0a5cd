// MFnMesh: UV sets, UV values and their assignment to polygon corners.

#include <maya/MFnMesh.h>
#include <maya/MStringArray.h>

#include <cctype>

#include "host/src/api/mesh/MeshApi.h"
#include "host/src/dg/Api.h"

using ehost::MeshGeometry;
using ehost::api::checkUVSet;
using ehost::api::noMesh;
using ehost::api::setStatus;
using ehost::api::uvSetName;

namespace {

//! "map1" -> "map2", "uvs" -> "uvs1": the first free name like the host's node names.
std::string unusedSetName(const MeshGeometry& g, const std::string& wanted) {
    if (!g.hasUVSet(wanted)) return wanted;
    std::size_t end = wanted.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(wanted[end - 1]))) --end;
    const std::string stem = wanted.substr(0, end);
    long long n =
        end < wanted.size() && wanted.size() - end < 15 ? std::stoll(wanted.substr(end)) + 1 : 1;
    while (g.hasUVSet(stem + std::to_string(n))) ++n;
    return stem + std::to_string(n);
}

MStatus refused(const ehost::MeshStatus& ms) {
    return ms ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kInvalidParameter, ms.error);
}

}  // namespace

int MFnMesh::numUVSets(MStatus* ReturnStatus) const {
    if (!impl_.target) {
        setStatus(ReturnStatus, noMesh());
        return 0;
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
    return impl_.target->geometry()->numUVSets();
}

int MFnMesh::numUVs(MStatus* ReturnStatus) const {
    if (!impl_.target) {
        setStatus(ReturnStatus, noMesh());
        return 0;
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
    return impl_.target->geometry()->numUVs();
}

int MFnMesh::numUVs(const MString& uvSet, MStatus* ReturnStatus) const {
    if (!impl_.target) {
        setStatus(ReturnStatus, noMesh());
        return 0;
    }
    auto g = impl_.target->geometry();
    MStatus st = checkUVSet(*g, &uvSet);
    setStatus(ReturnStatus, st);
    return st ? g->numUVs(uvSetName(&uvSet)) : 0;
}

MStatus MFnMesh::getUVSetNames(MStringArray& setNames) const {
    setNames.clear();
    if (!impl_.target) return noMesh();
    for (const std::string& name : impl_.target->geometry()->uvSetNames())
        setNames.append(MString(name));
    return MStatus::kSuccess;
}

MStatus MFnMesh::getCurrentUVSetName(MString& setName, int) const {
    if (!impl_.target) return noMesh();
    setName = MString(impl_.target->geometry()->currentUVSetName());
    return MStatus::kSuccess;
}

MString MFnMesh::currentUVSetName(int instance, MStatus* ReturnStatus) const {
    MString name;
    setStatus(ReturnStatus, getCurrentUVSetName(name, instance));
    return name;
}

MStatus MFnMesh::setCurrentUVSetName(const MString& setName, MDGModifier*, MSelectionList*) {
    if (!impl_.target) return noMesh();
    if (MStatus st = checkUVSet(*impl_.target->geometry(), &setName); !st || setName.str().empty())
        return st ? MStatus(MStatus::kInvalidParameter, "a UV set name cannot be empty") : st;
    return impl_.target->edit([&](MeshGeometry& g) { return g.setCurrentUVSet(setName.str()); });
}

MStatus MFnMesh::createUVSet(MString& uvSetName, MDGModifier*, const MSelectionList*) {
    if (!impl_.target) return noMesh();
    if (uvSetName.str().empty())
        return MStatus(MStatus::kInvalidParameter, "a UV set name cannot be empty");
    const std::string name = unusedSetName(*impl_.target->geometry(), uvSetName.str());
    MStatus st = impl_.target->edit([&](MeshGeometry& g) { return g.createUVSet(name); });
    if (st) uvSetName = MString(name);
    return st;
}

MString MFnMesh::createUVSetWithName(const MString& uvSetName, MDGModifier* modifier,
                                     const MSelectionList* instances, MStatus* ReturnStatus) {
    MString name = uvSetName;
    MStatus st = createUVSet(name, modifier, instances);
    setStatus(ReturnStatus, st);
    return st ? name : MString();
}

MStatus MFnMesh::createUVSetDataMesh(MString& uvSetName) {
    return createUVSet(uvSetName);
}

MString MFnMesh::createUVSetDataMeshWithName(const MString& uvSetName, MStatus* ReturnStatus) {
    return createUVSetWithName(uvSetName, nullptr, nullptr, ReturnStatus);
}

MStatus MFnMesh::deleteUVSet(const MString& setName, MDGModifier*, MSelectionList*) {
    if (!impl_.target) return noMesh();
    if (MStatus st = checkUVSet(*impl_.target->geometry(), &setName); !st || setName.str().empty())
        return st ? MStatus(MStatus::kInvalidParameter, "a UV set name cannot be empty") : st;
    return impl_.target->edit([&](MeshGeometry& g) { return g.deleteUVSet(setName.str()); });
}

MStatus MFnMesh::setUVs(const MFloatArray& uArray, const MFloatArray& vArray,
                        const MString* uvSet) {
    if (!impl_.target) return noMesh();
    if (MStatus st = checkUVSet(*impl_.target->geometry(), uvSet); !st) return st;
    const std::vector<float> u = ehost::api::toVector(uArray), v = ehost::api::toVector(vArray);
    return impl_.target->edit([&](MeshGeometry& g) { return g.setUVs(u, v, uvSetName(uvSet)); });
}

MStatus MFnMesh::getUVs(MFloatArray& uArray, MFloatArray& vArray, const MString* uvSet) const {
    if (!impl_.target) return noMesh();
    auto g = impl_.target->geometry();
    if (MStatus st = checkUVSet(*g, uvSet); !st) return st;
    std::vector<float> u, v;
    MStatus st = refused(g->getUVs(u, v, uvSetName(uvSet)));
    if (!st) return st;
    ehost::api::assign(uArray, u);
    ehost::api::assign(vArray, v);
    return st;
}

MStatus MFnMesh::setUV(int uvId, float u, float v, const MString* uvSet) {
    if (!impl_.target) return noMesh();
    {
        auto g = impl_.target->geometry();
        if (MStatus st = checkUVSet(*g, uvSet); !st) return st;
        const int count = g->numUVs(uvSetName(uvSet));
        if (uvId < 0 || uvId >= count) return ehost::api::outOfRange("UV", uvId, count);
    }
    return impl_.target->edit(
        [&](MeshGeometry& g) { return g.setUV(uvId, u, v, uvSetName(uvSet)); });
}

MStatus MFnMesh::getUV(int uvId, float& u, float& v, const MString* uvSet) const {
    if (!impl_.target) return noMesh();
    auto g = impl_.target->geometry();
    if (MStatus st = checkUVSet(*g, uvSet); !st) return st;
    const int count = g->numUVs(uvSetName(uvSet));
    if (uvId < 0 || uvId >= count) return ehost::api::outOfRange("UV", uvId, count);
    return refused(g->getUV(uvId, u, v, uvSetName(uvSet)));
}

MStatus MFnMesh::assignUVs(const MIntArray& uvCounts, const MIntArray& uvIds,
                           const MString* uvSet) {
    if (!impl_.target) return noMesh();
    if (MStatus st = checkUVSet(*impl_.target->geometry(), uvSet); !st) return st;
    const std::vector<int> counts = ehost::api::toVector(uvCounts),
                           ids = ehost::api::toVector(uvIds);
    return impl_.target->edit(
        [&](MeshGeometry& g) { return g.assignUVs(counts, ids, uvSetName(uvSet)); });
}

MStatus MFnMesh::getAssignedUVs(MIntArray& uvCounts, MIntArray& uvIds, const MString* uvSet) const {
    if (!impl_.target) return noMesh();
    auto g = impl_.target->geometry();
    if (MStatus st = checkUVSet(*g, uvSet); !st) return st;
    std::vector<int> counts, ids;
    MStatus st = refused(g->getAssignedUVs(counts, ids, uvSetName(uvSet)));
    if (!st) return st;
    ehost::api::assign(uvCounts, counts);
    ehost::api::assign(uvIds, ids);
    return st;
}

MStatus MFnMesh::getPolygonUVid(int polygonId, int vertexIndex, int& uvId,
                                const MString* uvSet) const {
    if (!impl_.target) return noMesh();
    auto g = impl_.target->geometry();
    if (MStatus st = checkUVSet(*g, uvSet); !st) return st;
    if (polygonId < 0 || polygonId >= g->numFaces())
        return ehost::api::outOfRange("face", polygonId, g->numFaces());
    const int corners = g->polygonVertexCount(polygonId);
    if (vertexIndex < 0 || vertexIndex >= corners)
        return MStatus(MStatus::kInvalidParameter,
                       "face " + std::to_string(polygonId) + " has " + std::to_string(corners) +
                           " corners, not a corner " + std::to_string(vertexIndex));
    const int id = g->polygonUVid(polygonId, vertexIndex, uvSetName(uvSet));
    if (id < 0)
        return MStatus(MStatus::kInvalidParameter,
                       "face " + std::to_string(polygonId) + " has no UVs in set " +
                           (uvSet && !uvSet->str().empty() ? uvSet->str() : g->currentUVSetName()));
    uvId = id;
    return MStatus::kSuccess;
}

MStatus MFnMesh::getPolygonUV(int polygonId, int vertexIndex, float& u, float& v,
                              const MString* uvSet) const {
    int id = -1;
    MStatus st = getPolygonUVid(polygonId, vertexIndex, id, uvSet);
    return st ? getUV(id, u, v, uvSet) : st;
}

MStatus MFnMesh::clearUVs(const MString* uvSet) {
    if (!impl_.target) return noMesh();
    if (MStatus st = checkUVSet(*impl_.target->geometry(), uvSet); !st) return st;
    return impl_.target->edit([&](MeshGeometry& g) {
        ehost::MeshStatus ms = g.assignUVs(std::vector<int>(g.numFaces(), 0), {}, uvSetName(uvSet));
        return ms ? g.setUVs({}, {}, uvSetName(uvSet)) : ms;
    });
}
