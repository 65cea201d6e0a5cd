#pragma once
#include <maya/MDataHandle.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <memory>

class MDataBlock;
class MArrayDataHandle;

namespace ehost {
struct ApiAccess;
}  // namespace ehost

//! Builds the elements of an array attribute during compute: elements are
//! added (by logical index, or after the last) and removed here, and written
//! through the handles it gives; MArrayDataHandle::set puts the whole array
//! into the node at once. Copies of a builder share its elements.
class OPENMAYA_EXPORT MArrayDataBuilder {
public:
    //! Deprecated by the host: a builder not tied to a data block.
    MArrayDataBuilder(const MObject& attribute, unsigned int numElements, MStatus* status = NULL);
    MArrayDataBuilder(MDataBlock* data, const MObject& attribute, unsigned int numElements,
                      MStatus* status = NULL);
    MArrayDataBuilder(const MArrayDataBuilder& other);
    MArrayDataBuilder& operator=(const MArrayDataBuilder& other);
    ~MArrayDataBuilder();

    //! A new element after the last one (logical index 0 in an empty array).
    MDataHandle addLast(MStatus* status = NULL);
    //! The element at the logical index, added (with the attribute's default
    //! value) when it is not there yet.
    MDataHandle addElement(unsigned int index, MStatus* status = NULL);
    //! Arrays of arrays: the embedded host keeps arrays at the top of an
    //! attribute only, so these fail.
    MArrayDataHandle addLastArray(MStatus* status = NULL);
    MArrayDataHandle addElementArray(unsigned int index, MStatus* status = NULL);
    MStatus removeElement(unsigned int index);
    unsigned int elementCount(MStatus* status = NULL) const;
    //! Room for more elements; the number of elements does not change.
    MStatus growArray(unsigned int amount);
    MStatus setGrowSize(unsigned int size);

    static const char* className() { return "MArrayDataBuilder"; }

private:
    friend struct ehost::ApiAccess;
    struct Impl;
    std::shared_ptr<Impl> impl_;
};
