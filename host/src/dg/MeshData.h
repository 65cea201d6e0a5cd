#pragma once
// Mesh values in the graph. The geometry is shared between values and copied
// only when a shared one is edited.

#include <memory>

#include "host/src/dg/Data.h"
#include "host/src/mesh/MeshGeometry.h"

namespace ehost {

class MeshData final : public Data {
public:
    MeshData() : geometry_(std::make_shared<MeshGeometry>()) {}
    explicit MeshData(std::shared_ptr<const MeshGeometry> g) : geometry_(std::move(g)) {}

    MFn::Type apiType() const override { return MFn::kMeshData; }
    MFnData::Type dataType() const override { return MFnData::kMesh; }
    DataPtr clone() const override { return std::make_shared<MeshData>(geometry_); }
    bool sameAs(const Data& other) const override {
        auto* o = dynamic_cast<const MeshData*>(&other);
        return o && (o->geometry_ == geometry_ || *o->geometry_ == *geometry_);
    }

    const MeshGeometry& geometry() const { return *geometry_; }
    const std::shared_ptr<const MeshGeometry>& shared() const { return geometry_; }
    //! The geometry for editing, copied first if anything else shares it.
    MeshGeometry& edit() {
        if (geometry_.use_count() > 1) geometry_ = std::make_shared<MeshGeometry>(*geometry_);
        return const_cast<MeshGeometry&>(*geometry_);
    }
    void replace(std::shared_ptr<const MeshGeometry> g) { geometry_ = std::move(g); }

private:
    std::shared_ptr<const MeshGeometry> geometry_;
};

}  // namespace ehost
