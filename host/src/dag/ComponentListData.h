#pragma once
// A list of components as a data value (what MFnComponentListData makes and
// componentList attributes hold): each component a kind and its elements.

#include <memory>
#include <string>
#include <vector>

#include "host/src/dag/Selection.h"
#include "host/src/dg/Data.h"

namespace ehost {

class ComponentListData final : public Data {
public:
    MFn::Type apiType() const override { return MFn::kComponentListData; }
    MFnData::Type dataType() const override { return MFnData::kComponentList; }
    DataPtr clone() const override;
    bool sameAs(const Data& other) const override;

    //! The components as the host names them ("vtx[2:4]", "vtxFace[3][1]").
    std::vector<std::string> names() const;

    std::vector<ComponentPtr> components;  // each owned by the list alone
};

}  // namespace ehost
