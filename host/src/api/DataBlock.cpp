#include <maya/MArrayDataHandle.h>
#include <maya/MDGContext.h>
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MEvaluationNode.h>
#include <maya/MPlug.h>

#include <cmath>

#include "host/src/core/Saturate.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/Data.h"

using ehost::AttrKind;
using ehost::api::fail;
using ehost::api::setStatus;

// ---------------------------------------------------------------- MDGContext

MDGContext MDGContext::fsNormal;

const MDGContext& MDGContext::current() {
    return fsNormal;
}

// ---------------------------------------------------------------- MDataBlock

namespace {

MStatus handleFor(ehost::Node* node, const ehost::Attribute* attr, int index, bool evaluateFirst,
                  MDataHandle& out) {
    if (!node) return fail(MStatus::kInvalidParameter, "the data block has no node");
    if (!attr || node->cls->indexOf(attr) < 0)
        return fail(MStatus::kInvalidParameter, "attribute is not on node " + node->name);
    ehost::PlugAddr addr{attr, index};
    if (attr->root()->array && index < 0)
        return fail(MStatus::kInvalidParameter,
                    "attribute " + attr->name + " is an array: use an array data handle");
    if (evaluateFirst) ehost::evaluate(*node, addr);
    auto& h = ehost::ApiAccess::impl(out);
    h.node = node;
    h.attr = attr;
    h.index = index;
    h.cell = node->cell(addr, true);
    return MStatus::kSuccess;
}

}  // namespace

namespace {

//! The handle of a whole attribute of the block's node.
MDataHandle attributeHandle(ehost::Node* node, const MObject& attribute, bool evaluateFirst,
                            MStatus* status) {
    MDataHandle h;
    setStatus(status, handleFor(node, ehost::api::attrOf(attribute).get(), -1, evaluateFirst, h));
    return h;
}

//! The handle of a plug, which must be on the block's node.
MDataHandle plugHandle(ehost::Node* node, const MPlug& plug, bool evaluateFirst, MStatus* status) {
    MDataHandle h;
    auto r = ehost::api::plugRef(plug);
    setStatus(status, r.node == node ? handleFor(node, r.addr.attr, r.addr.index, evaluateFirst, h)
                                     : fail(MStatus::kInvalidParameter, "plug is on another node"));
    return h;
}

}  // namespace

MDataHandle MDataBlock::inputValue(const MObject& attribute, MStatus* status) {
    return attributeHandle(impl_.node, attribute, true, status);
}

MDataHandle MDataBlock::inputValue(const MPlug& plug, MStatus* status) {
    return plugHandle(impl_.node, plug, true, status);
}

MDataHandle MDataBlock::outputValue(const MObject& attribute, MStatus* status) {
    return attributeHandle(impl_.node, attribute, false, status);
}

MDataHandle MDataBlock::outputValue(const MPlug& plug, MStatus* status) {
    return plugHandle(impl_.node, plug, false, status);
}

namespace {

MArrayDataHandle arrayHandle(ehost::Node* node, const MObject& attribute, bool evaluateFirst,
                             MStatus* status) {
    MArrayDataHandle h;
    auto attr = ehost::api::attrOf(attribute);
    if (!node || !attr || node->cls->indexOf(attr.get()) < 0 || !attr->array) {
        setStatus(status, fail(MStatus::kInvalidParameter, "not an array attribute of the node"));
        return h;
    }
    auto& i = ehost::ApiAccess::impl(h);
    i.node = node;
    i.attr = attr.get();
    i.indices = node->elementIndices(attr.get());
    for (auto& [addr, src] : node->inputs)
        if (addr.attr->root() == attr.get() && addr.index >= 0) i.indices.push_back(addr.index);
    std::sort(i.indices.begin(), i.indices.end());
    i.indices.erase(std::unique(i.indices.begin(), i.indices.end()), i.indices.end());
    if (evaluateFirst)
        for (int idx : i.indices) ehost::evaluate(*node, {attr.get(), idx});
    setStatus(status, MStatus::kSuccess);
    return h;
}

}  // namespace

MArrayDataHandle MDataBlock::inputArrayValue(const MObject& attribute, MStatus* status) {
    return arrayHandle(impl_.node, attribute, true, status);
}

MArrayDataHandle MDataBlock::outputArrayValue(const MObject& attribute, MStatus* status) {
    return arrayHandle(impl_.node, attribute, false, status);
}

MStatus MDataBlock::setClean(const MPlug& plug) {
    auto r = ehost::api::plugRef(plug);
    if (r.node != impl_.node || !r.addr.attr)
        return fail(MStatus::kInvalidParameter, "plug is on another node");
    if (auto* c = impl_.node->cell(r.addr, true)) ehost::setDirtyDeep(*c, false);
    return MStatus::kSuccess;
}

MStatus MDataBlock::setClean(const MObject& attribute) {
    auto attr = ehost::api::attrOf(attribute);
    if (!impl_.node || !attr || impl_.node->cls->indexOf(attr.get()) < 0)
        return fail(MStatus::kInvalidParameter, "attribute is not on the node");
    if (auto* c = impl_.node->cell({attr.get(), -1}, true)) ehost::setDirtyDeep(*c, false);
    return MStatus::kSuccess;
}

bool MDataBlock::isClean(const MObject& attribute, MStatus* status) {
    auto attr = ehost::api::attrOf(attribute);
    if (!impl_.node || !attr || impl_.node->cls->indexOf(attr.get()) < 0) {
        setStatus(status, fail(MStatus::kInvalidParameter, "attribute is not on the node"));
        return false;
    }
    setStatus(status, MStatus::kSuccess);
    auto* c = impl_.node->cell({attr.get(), -1}, false);
    return !c || !c->dirty;
}

bool MDataBlock::isClean(const MPlug& plug, MStatus* status) {
    auto r = ehost::api::plugRef(plug);
    setStatus(status, MStatus::kSuccess);
    auto* c = r.node ? r.node->cell(r.addr, false) : nullptr;
    return !c || !c->dirty;
}

MDGContext MDataBlock::context(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return MDGContext();
}

// ---------------------------------------------------------------- MDataHandle

double MDataHandle::number(int component) const {
    if (!impl_.cell) return 0;
    if (impl_.attr && impl_.attr->inTuple()) return impl_.cell->num[impl_.attr->childIndex];
    return impl_.cell->num[component];
}

void MDataHandle::setNumbers(const double* values, int count) {
    if (!impl_.cell || !impl_.attr) return;
    const ehost::Attribute* a = impl_.attr;
    if (a->inTuple()) {
        impl_.cell->num[a->childIndex] = ehost::storeAsNumeric(a->numericType, values[0]);
    } else if (a->isTuple()) {
        for (int k = 0; k < count && k < static_cast<int>(a->children.size()); ++k)
            impl_.cell->num[k] = ehost::storeAsNumeric(a->children[k]->numericType, values[k]);
    } else {
        impl_.cell->num[0] = ehost::storeAsNumeric(a->numericType, values[0]);
    }
}

bool MDataHandle::isNumeric() const {
    return impl_.attr &&
           (impl_.attr->kind == AttrKind::Numeric || impl_.attr->kind == AttrKind::Enum);
}

bool MDataHandle::isGeneric(bool& numeric, bool& isNull) const {
    numeric = isNumeric();
    isNull = !impl_.cell || (!numeric && !impl_.cell->data);
    return impl_.attr && impl_.attr->kind == AttrKind::Generic;
}

MFnNumericData::Type MDataHandle::numericType() const {
    return isNumeric() ? impl_.attr->numericType : MFnNumericData::kInvalid;
}

MFnData::Type MDataHandle::type() const {
    if (!impl_.attr) return MFnData::kInvalid;
    if (isNumeric()) return MFnData::kNumeric;
    if (impl_.cell && impl_.cell->data) return impl_.cell->data->dataType();
    return impl_.attr->kind == AttrKind::Typed ? impl_.attr->dataType : MFnData::kInvalid;
}

MObject MDataHandle::attribute() {
    return ehost::api::wrap(ehost::api::share(impl_.attr));
}

MObject MDataHandle::data() {
    if (!impl_.cell || !impl_.cell->data) return MObject();
    return ehost::api::wrap(impl_.cell->data->clone());
}

bool MDataHandle::asBool() const {
    return number(0) != 0;
}
char MDataHandle::asChar() const {
    return static_cast<char>(number(0));
}
unsigned char MDataHandle::asUChar() const {
    return ehost::saturatingCast<unsigned char>(number(0));
}
short MDataHandle::asShort() const {
    return ehost::saturatingCast<short>(number(0));
}
int MDataHandle::asInt() const {
    return ehost::saturatingCast<int>(number(0));
}
float MDataHandle::asFloat() const {
    return static_cast<float>(number(0));
}
double MDataHandle::asDouble() const {
    return number(0);
}

float2& MDataHandle::asFloat2() {
    for (int k = 0; k < 2; ++k) impl_.f[k] = static_cast<float>(number(k));
    return *reinterpret_cast<float2*>(impl_.f);
}
float3& MDataHandle::asFloat3() {
    for (int k = 0; k < 3; ++k) impl_.f[k] = static_cast<float>(number(k));
    return impl_.f;
}
double2& MDataHandle::asDouble2() {
    for (int k = 0; k < 2; ++k) impl_.d[k] = number(k);
    return *reinterpret_cast<double2*>(impl_.d);
}
double3& MDataHandle::asDouble3() {
    for (int k = 0; k < 3; ++k) impl_.d[k] = number(k);
    return impl_.d;
}
int3& MDataHandle::asInt3() {
    for (int k = 0; k < 3; ++k) impl_.i[k] = ehost::saturatingCast<int>(number(k));
    return impl_.i;
}
MVector MDataHandle::asVector() const {
    return MVector(number(0), number(1), number(2));
}
MFloatVector MDataHandle::asFloatVector() const {
    return MFloatVector(static_cast<float>(number(0)), static_cast<float>(number(1)),
                        static_cast<float>(number(2)));
}
MMatrix MDataHandle::asMatrix() const {
    auto* m = impl_.cell ? dynamic_cast<const ehost::MatrixData*>(impl_.cell->data.get()) : nullptr;
    return m ? m->value : MMatrix();
}
MString MDataHandle::asString() const {
    auto* s = impl_.cell ? dynamic_cast<const ehost::StringData*>(impl_.cell->data.get()) : nullptr;
    return s ? s->value : MString();
}
MObject MDataHandle::asMesh() const {
    if (!impl_.cell || !impl_.cell->data || impl_.cell->data->dataType() != MFnData::kMesh)
        return MObject();
    return ehost::api::wrap(impl_.cell->data->clone());
}
MObject MDataHandle::asMeshTransformed() const {
    return asMesh();
}

void MDataHandle::set(bool value) {
    double v = value ? 1 : 0;
    setNumbers(&v, 1);
}
void MDataHandle::set(char value) {
    double v = value;
    setNumbers(&v, 1);
}
void MDataHandle::set(short value) {
    double v = value;
    setNumbers(&v, 1);
}
void MDataHandle::set(int value) {
    double v = value;
    setNumbers(&v, 1);
}
void MDataHandle::set(float value) {
    double v = value;
    setNumbers(&v, 1);
}
void MDataHandle::set(double value) {
    setNumbers(&value, 1);
}
void MDataHandle::set(const MMatrix& value) {
    if (impl_.cell) impl_.cell->data = std::make_shared<ehost::MatrixData>(value);
}
void MDataHandle::set(const MVector& value) {
    double v[3] = {value.x, value.y, value.z};
    setNumbers(v, 3);
}
void MDataHandle::set(const MFloatVector& value) {
    double v[3] = {value.x, value.y, value.z};
    setNumbers(v, 3);
}
void MDataHandle::set(int a, int b, int c) {
    double v[3] = {double(a), double(b), double(c)};
    setNumbers(v, 3);
}
void MDataHandle::set(float a, float b, float c) {
    double v[3] = {a, b, c};
    setNumbers(v, 3);
}
void MDataHandle::set(double a, double b, double c) {
    double v[3] = {a, b, c};
    setNumbers(v, 3);
}
void MDataHandle::set(const MString& value) {
    if (impl_.cell) impl_.cell->data = std::make_shared<ehost::StringData>(value);
}

MStatus MDataHandle::set(const MObject& data) {
    if (!impl_.cell || !impl_.attr)
        return fail(MStatus::kInvalidParameter, "the data handle is empty");
    if (data.isNull()) {
        impl_.cell->data = nullptr;
        return MStatus::kSuccess;
    }
    auto d = ehost::api::dataOf(data);
    if (!d) return fail(MStatus::kInvalidParameter, "the value is not a data object");
    if (auto* num = dynamic_cast<const ehost::NumericData*>(d.get()); num && isNumeric()) {
        setNumbers(num->v, std::max(1, ehost::numericComponents(num->numericType)));
        return MStatus::kSuccess;
    }
    if (!impl_.attr->accepts(d->dataType()))
        return fail(MStatus::kInvalidParameter, "attribute " + impl_.attr->name +
                                                    " does not accept " +
                                                    ehost::dataTypeName(d->dataType()) + " data");
    impl_.cell->data = d->clone();
    return MStatus::kSuccess;
}

MStatus MDataHandle::copy(const MDataHandle& source) {
    if (!impl_.cell || !source.impl_.cell)
        return fail(MStatus::kInvalidParameter, "the data handle is empty");
    if (isNumeric()) {
        double v[4];
        for (int k = 0; k < 4; ++k) v[k] = source.number(k);
        setNumbers(v, 4);
    } else {
        impl_.cell->data = source.impl_.cell->data;
    }
    return MStatus::kSuccess;
}

void MDataHandle::setClean() {
    if (impl_.cell) ehost::setDirtyDeep(*impl_.cell, false);
}

MDataHandle MDataHandle::child(const MObject& attribute) {
    MDataHandle h;
    auto a = ehost::api::attrOf(attribute);
    if (a && impl_.attr && a->parent == impl_.attr && impl_.cell) {
        h.impl_ = impl_;
        h.impl_.attr = a.get();
        // A compound's child has a cell of its own; a tuple's shares the tuple's.
        if (impl_.attr->kind == AttrKind::Compound) {
            const auto k = static_cast<size_t>(a->childIndex);
            if (k >= impl_.cell->kids.size()) return MDataHandle();
            h.impl_.cell = &impl_.cell->kids[k];
        }
    }
    return h;
}

MDataHandle MDataHandle::child(const MPlug& plug) {
    return child(plug.attribute());
}

// ---------------------------------------------------------------- MArrayDataHandle

MDataHandle MArrayDataHandle::inputValue(MStatus* status) {
    MDataHandle h;
    if (impl_.position >= impl_.indices.size()) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter, "array data handle is past its last element"));
        return h;
    }
    setStatus(status, handleFor(impl_.node, impl_.attr, impl_.indices[impl_.position], true, h));
    return h;
}

MDataHandle MArrayDataHandle::outputValue(MStatus* status) {
    MDataHandle h;
    if (impl_.position >= impl_.indices.size()) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter, "array data handle is past its last element"));
        return h;
    }
    setStatus(status, handleFor(impl_.node, impl_.attr, impl_.indices[impl_.position], false, h));
    return h;
}

MStatus MArrayDataHandle::next() {
    if (impl_.position >= impl_.indices.size()) return MStatus::kFailure;
    ++impl_.position;
    return impl_.position < impl_.indices.size() ? MStatus::kSuccess : MStatus::kFailure;
}

unsigned int MArrayDataHandle::elementCount(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return static_cast<unsigned>(impl_.indices.size());
}

unsigned int MArrayDataHandle::elementIndex(MStatus* status) {
    bool ok = impl_.position < impl_.indices.size();
    setStatus(status, ok ? MStatus::kSuccess : MStatus(MStatus::kFailure));
    return ok ? static_cast<unsigned>(impl_.indices[impl_.position]) : 0;
}

MStatus MArrayDataHandle::jumpToElement(unsigned int logicalIndex) {
    for (size_t i = 0; i < impl_.indices.size(); ++i)
        if (impl_.indices[i] == static_cast<int>(logicalIndex)) {
            impl_.position = static_cast<unsigned>(i);
            return MStatus::kSuccess;
        }
    return fail(MStatus::kInvalidParameter, "no element " + std::to_string(logicalIndex));
}

MStatus MArrayDataHandle::jumpToArrayElement(unsigned int position) {
    if (position >= impl_.indices.size())
        return fail(MStatus::kInvalidParameter, "position out of range");
    impl_.position = position;
    return MStatus::kSuccess;
}

MStatus MArrayDataHandle::setAllClean() {
    if (!impl_.node) return MStatus::kFailure;
    for (int idx : impl_.indices)
        if (auto* c = impl_.node->cell({impl_.attr, idx}, false)) c->dirty = false;
    if (auto* whole = impl_.node->cell({impl_.attr, -1}, false)) whole->dirty = false;
    return MStatus::kSuccess;
}

MStatus MArrayDataHandle::setClean() {
    return setAllClean();
}

// ---------------------------------------------------------------- MEvaluationNode

MObject MEvaluationNode::dependencyNode(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return impl_.node;
}

bool MEvaluationNode::dirtyPlugExists(const MObject& attribute, MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    auto a = ehost::api::attrOf(attribute);
    for (const auto& p : impl_.dirty)
        if (ehost::api::plugAddr(p).attr == a.get()) return true;
    return false;
}

MPlug MEvaluationNode::dirtyPlug(const MObject& attribute, MStatus* status) const {
    auto a = ehost::api::attrOf(attribute);
    for (const auto& p : impl_.dirty)
        if (ehost::api::plugAddr(p).attr == a.get()) {
            setStatus(status, MStatus::kSuccess);
            return p;
        }
    setStatus(status, MStatus(MStatus::kNotFound));
    return MPlug();
}

MEvaluationNodeIterator MEvaluationNode::iterator(MStatus* status) const {
    return MEvaluationNodeIterator(*this, status);
}

MEvaluationNodeIterator::MEvaluationNodeIterator(const MEvaluationNode& node, MStatus* status)
    : node_(&node) {
    setStatus(status, MStatus::kSuccess);
}

bool MEvaluationNodeIterator::isDone(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return position_ >= node_->impl_.dirty.size();
}

MStatus MEvaluationNodeIterator::next() {
    if (position_ < node_->impl_.dirty.size()) ++position_;
    return MStatus::kSuccess;
}

MPlug MEvaluationNodeIterator::plug(MStatus* status) const {
    bool ok = position_ < node_->impl_.dirty.size();
    setStatus(status, ok ? MStatus::kSuccess : MStatus(MStatus::kFailure));
    return ok ? node_->impl_.dirty[position_] : MPlug();
}

MStatus MEvaluationNodeIterator::reset() {
    position_ = 0;
    return MStatus::kSuccess;
}

namespace ehost::api {

MDataBlock makeDataBlock(Node& node) {
    MDataBlock b;
    ApiAccess::impl(b).node = &node;
    return b;
}

MEvaluationNode makeEvaluationNode(const NodePtr& node, const std::vector<PlugAddr>& dirty) {
    MEvaluationNode e;
    auto& i = ApiAccess::impl(e);
    i.node = wrap(node);
    for (const auto& p : dirty) i.dirty.push_back(makePlug(node, p));
    return e;
}

}  // namespace ehost::api
