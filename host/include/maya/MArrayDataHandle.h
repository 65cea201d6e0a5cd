#pragma once
#include <maya/MArrayDataBuilder.h>
#include <maya/MDataHandle.h>
#include <maya/MStatus.h>

#include <vector>

namespace ehost {
class Node;
class Attribute;
struct ApiAccess;
}  // namespace ehost

//! The elements of an array attribute during compute, visited by position.
class OPENMAYA_EXPORT MArrayDataHandle {
public:
    MArrayDataHandle() = default;

    MDataHandle inputValue(MStatus* status = NULL);
    MDataHandle outputValue(MStatus* status = NULL);
    MStatus next();
    unsigned int elementCount(MStatus* status = NULL);
    unsigned int elementIndex(MStatus* status = NULL);
    MStatus jumpToElement(unsigned int logicalIndex);
    MStatus jumpToArrayElement(unsigned int position);
    MStatus setAllClean();
    MStatus setClean();
    //! A builder holding the array's elements as they are now.
    MArrayDataBuilder builder(MStatus* status = NULL);
    //! The array becomes the builder's elements, and only those.
    MStatus set(const MArrayDataBuilder& builder);

private:
    friend struct ehost::ApiAccess;
    struct Impl {
        ehost::Node* node = nullptr;
        const ehost::Attribute* attr = nullptr;
        std::vector<int> indices;
        unsigned int position = 0;
    };
    Impl impl_;
};
