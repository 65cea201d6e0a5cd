// MArrayDataBuilder, and MArrayDataHandle's builder and set: the elements of
// an array attribute staged during compute, then put into the node at once.

#include <maya/MArrayDataBuilder.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>

#include <algorithm>
#include <limits>
#include <map>

#include "host/src/dg/Api.h"

using ehost::Attribute;
using ehost::Cell;
using ehost::api::fail;
using ehost::api::setStatus;

struct MArrayDataBuilder::Impl {
    ehost::Node* node = nullptr;
    ehost::AttrPtr attr;
    std::map<int, Cell> elements;
};

namespace {

//! A new element's value: the attribute's defaults.
Cell defaultCell(const Attribute& a) {
    return ehost::freshCell(a);
}

MStatus notArray(const ehost::AttrPtr& a) {
    if (!a) return fail(MStatus::kInvalidParameter, "an array data builder needs an attribute");
    if (!a->array || a->parent)
        return fail(MStatus::kInvalidParameter,
                    "attribute " + a->name + " is not an array: it takes no array data builder");
    return MStatus::kSuccess;
}

MDataHandle elementHandle(ehost::Node* node, const Attribute* attr, int index, Cell& cell) {
    MDataHandle h;
    auto& i = ehost::ApiAccess::impl(h);
    i.node = node;
    i.attr = attr;
    i.index = index;
    i.cell = &cell;
    return h;
}

}  // namespace

MArrayDataBuilder::MArrayDataBuilder(const MObject& attribute, unsigned int numElements,
                                     MStatus* status)
    : MArrayDataBuilder(nullptr, attribute, numElements, status) {}

MArrayDataBuilder::MArrayDataBuilder(MDataBlock* data, const MObject& attribute, unsigned int,
                                     MStatus* status)
    : impl_(std::make_shared<Impl>()) {
    impl_->attr = ehost::api::attrOf(attribute);
    MStatus st = notArray(impl_->attr);
    if (st && data) {
        impl_->node = ehost::ApiAccess::impl(*data).node;
        if (impl_->node && impl_->node->cls->indexOf(impl_->attr.get()) < 0)
            st = fail(MStatus::kInvalidParameter,
                      "attribute " + impl_->attr->name + " is not on node " + impl_->node->name);
    }
    if (!st) impl_->attr = nullptr;
    setStatus(status, st);
}

MArrayDataBuilder::MArrayDataBuilder(const MArrayDataBuilder& other) = default;
MArrayDataBuilder& MArrayDataBuilder::operator=(const MArrayDataBuilder& other) = default;
MArrayDataBuilder::~MArrayDataBuilder() = default;

MDataHandle MArrayDataBuilder::addLast(MStatus* status) {
    int index = impl_->elements.empty() ? 0 : impl_->elements.rbegin()->first + 1;
    return addElement(static_cast<unsigned>(index), status);
}

MDataHandle MArrayDataBuilder::addElement(unsigned int index, MStatus* status) {
    if (!impl_->attr) {
        setStatus(status, fail(MStatus::kInvalidParameter, "the array data builder has no array"));
        return MDataHandle();
    }
    if (index > static_cast<unsigned>(std::numeric_limits<int>::max())) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               "element index " + std::to_string(index) + " is out of range"));
        return MDataHandle();
    }
    const int i = static_cast<int>(index);
    auto it = impl_->elements.find(i);
    if (it == impl_->elements.end())
        it = impl_->elements.emplace(i, defaultCell(*impl_->attr)).first;
    setStatus(status, MStatus::kSuccess);
    return elementHandle(impl_->node, impl_->attr.get(), i, it->second);
}

MArrayDataHandle MArrayDataBuilder::addLastArray(MStatus* status) {
    setStatus(status,
              fail(MStatus::kNotImplemented,
                   "arrays of arrays are not kept: only the top of an attribute is an array"));
    return MArrayDataHandle();
}

MArrayDataHandle MArrayDataBuilder::addElementArray(unsigned int, MStatus* status) {
    return addLastArray(status);
}

MStatus MArrayDataBuilder::removeElement(unsigned int index) {
    if (!impl_->attr)
        return fail(MStatus::kInvalidParameter, "the array data builder has no array");
    if (impl_->elements.erase(static_cast<int>(index)) == 0)
        return fail(MStatus::kInvalidParameter,
                    "the array data builder has no element " + std::to_string(index));
    return MStatus::kSuccess;
}

unsigned int MArrayDataBuilder::elementCount(MStatus* status) const {
    setStatus(status, impl_->attr ? MStatus(MStatus::kSuccess)
                                  : fail(MStatus::kInvalidParameter,
                                         "the array data builder has no array"));
    return static_cast<unsigned>(impl_->elements.size());
}

MStatus MArrayDataBuilder::growArray(unsigned int) {
    return impl_->attr ? MStatus(MStatus::kSuccess)
                       : fail(MStatus::kInvalidParameter, "the array data builder has no array");
}

MStatus MArrayDataBuilder::setGrowSize(unsigned int) {
    return growArray(0);
}

// ---------------------------------------------------------------- MArrayDataHandle

MArrayDataBuilder MArrayDataHandle::builder(MStatus* status) {
    MStatus st;
    MObject attr = impl_.attr ? ehost::api::wrap(ehost::api::share(impl_.attr)) : MObject();
    MArrayDataBuilder b(attr, 0, &st);
    if (!impl_.node) st = fail(MStatus::kInvalidParameter, "the array data handle is empty");
    if (st) {
        auto& bi = *ehost::ApiAccess::impl(b);
        bi.node = impl_.node;
        for (int idx : impl_.indices)
            if (const Cell* c = impl_.node->cell({impl_.attr, idx}, false)) {
                Cell copy = *c;
                copy.dirty = false;
                bi.elements.emplace(idx, std::move(copy));
            } else {
                bi.elements.emplace(idx, defaultCell(*impl_.attr));
            }
    }
    setStatus(status, st);
    return b;
}

MStatus MArrayDataHandle::set(const MArrayDataBuilder& builder) {
    const auto& b = *ehost::ApiAccess::impl(builder);
    if (!impl_.node || !impl_.attr)
        return fail(MStatus::kInvalidParameter, "the array data handle is empty");
    if (b.attr.get() != impl_.attr)
        return fail(MStatus::kInvalidParameter,
                    "the builder is for attribute " +
                        (b.attr ? b.attr->name : std::string("(none)")) + ", not " +
                        impl_.attr->name);
    if (b.node && b.node != impl_.node)
        return fail(MStatus::kInvalidParameter, "the builder is for another node's data");
    const int s = impl_.node->cls->slotOf(impl_.attr);
    if (s < 0)
        return fail(MStatus::kInvalidParameter,
                    "attribute " + impl_.attr->name + " is not on the node");
    auto& elements = impl_.node->slot(s).elements;
    elements = b.elements;
    impl_.indices.clear();
    for (auto& [idx, cell] : elements) {
        cell.dirty = false;
        impl_.indices.push_back(idx);
    }
    impl_.position = 0;
    ++impl_.node->changeStamp;  // what was known of the elements is stale
    return MStatus::kSuccess;
}
