#include <maya/MAngle.h>
#include <maya/MDataHandle.h>
#include <maya/MDistance.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

#include <cmath>

#include "host/src/core/Guard.h"
#include "host/src/core/Saturate.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/Data.h"

using ehost::AttrKind;
using ehost::Cell;
using ehost::PlugAddr;
using ehost::api::fail;
using ehost::api::setStatus;

namespace {

const auto& I(const MPlug& p) {
    return ehost::ApiAccess::impl(p);
}

PlugAddr addrOf(const MPlug& p) {
    return PlugAddr{I(p).attr.get(), I(p).index};
}

//! Why a plug cannot be used, or success.
MStatus usable(const MPlug& p) {
    if (!I(p).node || !I(p).attr) return fail(MStatus::kInvalidParameter, "the plug is null");
    if (!I(p).node->alive)
        return fail(MStatus::kInvalidParameter,
                    "the plug's node " + I(p).node->name + " is no longer in the scene");
    // A dynamic attribute may have been removed since the plug was made.
    if (I(p).attr->dynamic && I(p).node->cls->indexOf(I(p).attr.get()) < 0)
        return fail(MStatus::kInvalidParameter,
                    "node " + I(p).node->name + " no longer has attribute " + I(p).attr->name);
    return MStatus::kSuccess;
}

//! Usable and holding one value (not a whole array).
MStatus valued(const MPlug& p) {
    MStatus st = usable(p);
    if (!st) return st;
    const ehost::Attribute* root = I(p).attr->root();
    if (root->array && I(p).index < 0)
        return fail(MStatus::kInvalidParameter,
                    p.name().str() + " is an array: read or write one of its elements");
    return MStatus::kSuccess;
}

//! Holding one value that may be written: not locked.
MStatus settable(const MPlug& p) {
    MStatus st = valued(p);
    if (!st) return st;
    if (I(p).node->isLocked(addrOf(p)))
        return fail(MStatus::kFailure, "the plug " + p.name().str() + " is locked");
    return MStatus::kSuccess;
}

bool isNumeric(const ehost::Attribute* a) {
    return a->kind == AttrKind::Numeric || a->kind == AttrKind::Enum;
}

MStatus readNumber(const MPlug& p, double& out) {
    MStatus st = valued(p);
    if (!st) return st;
    const ehost::Attribute* a = I(p).attr.get();
    if (!isNumeric(a) && a->kind != AttrKind::Generic)
        return fail(MStatus::kInvalidParameter, p.name().str() + " does not hold a number");
    if (a->isCompound())
        return fail(MStatus::kInvalidParameter,
                    p.name().str() + " holds several numbers: read its children");
    const Cell& c = ehost::evaluate(*I(p).node, addrOf(p), &st);
    out = a->inTuple() ? c.num[a->childIndex] : c.num[0];
    return MStatus::kSuccess;
}

MStatus writeNumber(const MPlug& p, double value) {
    MStatus st = settable(p);
    if (!st) return st;
    const ehost::Attribute* a = I(p).attr.get();
    if (!isNumeric(a) && a->kind != AttrKind::Generic)
        return fail(MStatus::kInvalidParameter, p.name().str() + " does not take a number");
    if (a->isCompound())
        return fail(MStatus::kInvalidParameter,
                    p.name().str() + " takes several numbers: write its children");
    ehost::writeNumeric(*I(p).node, addrOf(p), &value, 1);
    return MStatus::kSuccess;
}

template <class T>
T asValue(const MPlug& p, MStatus* status) {
    double v = 0;
    MStatus st = readNumber(p, v);
    setStatus(status, st);
    if constexpr (std::is_same_v<T, bool>)
        return v != 0;
    else if constexpr (std::is_integral_v<T>)
        return ehost::saturatingCast<T>(v);
    else
        return static_cast<T>(v);
}

template <class T>
MStatus readInto(const MPlug& p, T& value) {
    MStatus st;
    value = asValue<T>(p, &st);
    return st;
}

}  // namespace

MPlug::MPlug(const MObject& node, const MObject& attribute) {
    auto n = ehost::api::nodeOf(node);
    auto a = ehost::api::attrOf(attribute);
    if (n && a && n->cls->indexOf(a.get()) >= 0) {
        impl_.node = n;
        impl_.attr = a;
    }
}

MStatus MPlug::setAttribute(MObject& attribute) {
    auto a = ehost::api::attrOf(attribute);
    if (!impl_.node || !a || impl_.node->cls->indexOf(a.get()) < 0)
        return fail(MStatus::kInvalidParameter, "attribute does not belong to the plug's node");
    impl_.attr = a;
    impl_.index = -1;
    return MStatus::kSuccess;
}

MObject MPlug::attribute(MStatus* status) const {
    setStatus(status, impl_.attr ? MStatus::kSuccess
                                 : fail(MStatus::kInvalidParameter, "the plug is null"));
    return impl_.attr ? ehost::api::wrap(impl_.attr) : MObject();
}

MObject MPlug::node(MStatus* status) const {
    setStatus(status, impl_.node ? MStatus::kSuccess
                                 : fail(MStatus::kInvalidParameter, "the plug is null"));
    return impl_.node ? ehost::api::wrap(impl_.node) : MObject();
}

MString MPlug::name(MStatus* status) const {
    setStatus(status, usable(*this));
    if (!impl_.node || !impl_.attr) return MString();
    return MString(impl_.node->name + "." + ehost::plugName(addrOf(*this), true));
}

MString MPlug::partialName(bool includeNodeName, bool, bool, bool, bool, bool useLongNames,
                           MStatus* status) const {
    setStatus(status, usable(*this));
    if (!impl_.node || !impl_.attr) return MString();
    std::string s = ehost::plugName(addrOf(*this), useLongNames);
    return MString(includeNodeName ? impl_.node->name + "." + s : s);
}

MString MPlug::info(MStatus* status) const {
    return name(status);
}

bool MPlug::isNull(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return !impl_.node || !impl_.attr;
}

bool MPlug::isArray(MStatus* status) const {
    setStatus(status, usable(*this));
    return impl_.attr && impl_.attr->array && impl_.index < 0;
}

bool MPlug::isElement(MStatus* status) const {
    setStatus(status, usable(*this));
    return impl_.attr && impl_.attr->array && impl_.index >= 0;
}

bool MPlug::isCompound(MStatus* status) const {
    setStatus(status, usable(*this));
    return impl_.attr && impl_.attr->isCompound();
}

bool MPlug::isChild(MStatus* status) const {
    setStatus(status, usable(*this));
    return impl_.attr && impl_.attr->parent;
}

bool MPlug::isSource(MStatus* status) const {
    MPlugArray plugs;
    return connectedTo(plugs, false, true, status);
}

bool MPlug::isDestination(MStatus* status) const {
    MPlugArray plugs;
    return connectedTo(plugs, true, false, status);
}

bool MPlug::isConnected(MStatus* status) const {
    MPlugArray plugs;
    return connectedTo(plugs, true, true, status);
}

bool MPlug::isKeyable(MStatus* status) const {
    MStatus st = usable(*this);
    setStatus(status, st);
    return st && impl_.node->isKeyable(addrOf(*this));
}

bool MPlug::isLocked(MStatus* status) const {
    MStatus st = usable(*this);
    setStatus(status, st);
    return st && impl_.node->isLocked(addrOf(*this));
}

bool MPlug::isNetworked(MStatus* status) const {
    return isConnected(status);
}
bool MPlug::isDynamic(MStatus* status) const {
    setStatus(status, usable(*this));
    return impl_.attr && impl_.attr->dynamic;
}
bool MPlug::isFromReferencedFile(MStatus* status) const {
    setStatus(status, usable(*this));
    return false;
}
MStatus MPlug::setLocked(bool locked) {
    MStatus st = usable(*this);
    if (!st) return st;
    auto& states = impl_.node->plugStates;
    ehost::PlugState& s = states[addrOf(*this)];
    s.locked = locked;
    if (s.plain()) states.erase(addrOf(*this));
    return MStatus::kSuccess;
}

namespace {

//! Elements exist where a value was stored or a connection was made.
const std::vector<int>& existingElements(const MPlug& array) {
    const auto& plug = ehost::ApiAccess::impl(array);
    const ehost::Node& node = *plug.node;
    const std::size_t links = node.inputs.size() + node.outputs.size();
    if (plug.elements && plug.elementsAt == node.changeStamp && plug.elementsLinks == links)
        return *plug.elements;
    std::vector<int> ids = node.elementIndices(plug.attr.get());
    for (auto& [addr, src] : node.inputs)
        if (addr.attr->root() == plug.attr.get() && addr.index >= 0) ids.push_back(addr.index);
    for (auto& [addr, dst] : node.outputs)
        if (addr.attr->root() == plug.attr.get() && addr.index >= 0) ids.push_back(addr.index);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    plug.elements = std::make_shared<const std::vector<int>>(std::move(ids));
    plug.elementsAt = node.changeStamp;
    plug.elementsLinks = links;
    return *plug.elements;
}

}  // namespace

unsigned int MPlug::numElements(MStatus* status) const {
    MStatus st = usable(*this);
    if (st && !(impl_.attr->array && impl_.index < 0))
        st = fail(MStatus::kInvalidParameter, name().str() + " is not an array plug");
    setStatus(status, st);
    if (!st) return 0;
    return static_cast<unsigned>(existingElements(*this).size());
}

unsigned int MPlug::evaluateNumElements(MStatus* status) const {
    // A computed array has the elements its node gives it.
    if (usable(*this) && impl_.attr->array && impl_.index < 0)
        ehost::evaluate(*impl_.node, addrOf(*this));
    return numElements(status);
}

int MPlug::getExistingArrayAttributeIndices(MIntArray& indices, MStatus* status) const {
    indices.clear();
    unsigned n = numElements(status);
    for (unsigned i = 0; i < n; ++i)
        indices.append(static_cast<int>(elementByPhysicalIndex(i).logicalIndex()));
    return static_cast<int>(indices.length());
}

unsigned int MPlug::numChildren(MStatus* status) const {
    setStatus(status, usable(*this));
    return impl_.attr ? static_cast<unsigned>(impl_.attr->children.size()) : 0;
}

unsigned int MPlug::numConnectedElements(MStatus* status) const {
    MStatus st = usable(*this);
    setStatus(status, st);
    if (!st) return 0;
    std::vector<int> ids;
    for (auto& [addr, src] : impl_.node->inputs)
        if (addr.attr->root() == impl_.attr.get() && addr.index >= 0) ids.push_back(addr.index);
    for (auto& [addr, dst] : impl_.node->outputs)
        if (addr.attr->root() == impl_.attr.get() && addr.index >= 0) ids.push_back(addr.index);
    std::sort(ids.begin(), ids.end());
    return static_cast<unsigned>(std::unique(ids.begin(), ids.end()) - ids.begin());
}

MPlug MPlug::child(const MObject& attribute, MStatus* status) const {
    auto a = ehost::api::attrOf(attribute);
    if (!impl_.attr || !a || a->parent != impl_.attr.get()) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter, "not a child attribute of " + name().str()));
        return MPlug();
    }
    MPlug p(*this);
    p.impl_.attr = a;
    setStatus(status, MStatus::kSuccess);
    return p;
}

MPlug MPlug::child(unsigned int index, MStatus* status) const {
    if (!impl_.attr || index >= impl_.attr->children.size()) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter,
                       "child " + std::to_string(index) + " does not exist on " + name().str()));
        return MPlug();
    }
    MPlug p(*this);
    p.impl_.attr = impl_.attr->children[index];
    setStatus(status, MStatus::kSuccess);
    return p;
}

MPlug MPlug::parent(MStatus* status) const {
    if (!impl_.attr || !impl_.attr->parent) {
        setStatus(status, fail(MStatus::kInvalidParameter, name().str() + " is not a child plug"));
        return MPlug();
    }
    MPlug p(*this);
    p.impl_.attr = ehost::api::share(impl_.attr->parent);
    setStatus(status, MStatus::kSuccess);
    return p;
}

MPlug MPlug::array(MStatus* status) const {
    if (!impl_.attr || !impl_.attr->array || impl_.index < 0) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter, name().str() + " is not an array element"));
        return MPlug();
    }
    MPlug p(*this);
    p.impl_.index = -1;
    setStatus(status, MStatus::kSuccess);
    return p;
}

MPlug MPlug::elementByLogicalIndex(unsigned int logicalIndex, MStatus* status) const {
    MStatus st = usable(*this);
    if (st && !(impl_.attr->array && impl_.index < 0))
        st = fail(MStatus::kInvalidParameter, name().str() + " is not an array plug");
    if (st && logicalIndex > 0x7fffffffu)
        st = fail(MStatus::kInvalidParameter, "logical index out of range");
    setStatus(status, st);
    if (!st) return MPlug();
    MPlug p(*this);
    p.impl_.index = static_cast<int>(logicalIndex);
    return p;
}

MPlug MPlug::elementByPhysicalIndex(unsigned int physicalIndex, MStatus* status) const {
    MStatus st;
    unsigned n = numElements(&st);
    if (st && physicalIndex >= n)
        st = fail(MStatus::kInvalidParameter, "element " + std::to_string(physicalIndex) + " of " +
                                                  name().str() + " does not exist (" +
                                                  std::to_string(n) + " elements)");
    setStatus(status, st);
    if (!st) return MPlug();
    MPlug p(*this);
    p.impl_.index = existingElements(*this)[physicalIndex];
    p.impl_.elements.reset();
    return p;
}

unsigned int MPlug::logicalIndex(MStatus* status) const {
    bool ok = impl_.attr && impl_.attr->root()->array && impl_.index >= 0;
    setStatus(status,
              ok ? MStatus::kSuccess : fail(MStatus::kInvalidParameter, "not an array element"));
    return ok ? static_cast<unsigned>(impl_.index) : 0;
}

bool MPlug::connectedTo(MPlugArray& plugs, bool asDst, bool asSrc, MStatus* status) const {
    plugs.clear();
    MStatus st = usable(*this);
    setStatus(status, st);
    if (!st) return false;
    PlugAddr a = addrOf(*this);
    if (asDst) {
        auto it = impl_.node->inputs.find(a);
        if (it != impl_.node->inputs.end())
            plugs.append(ehost::api::makePlug(it->second.node->self(), it->second.addr));
    }
    if (asSrc) {
        auto range = impl_.node->outputs.equal_range(a);
        for (auto it = range.first; it != range.second; ++it)
            plugs.append(ehost::api::makePlug(it->second.node->self(), it->second.addr));
    }
    return plugs.length() > 0;
}

MPlug MPlug::source(MStatus* status) const {
    MPlugArray plugs;
    connectedTo(plugs, true, false, status);
    return plugs.length() ? plugs[0] : MPlug();
}

bool MPlug::destinations(MPlugArray& plugs, MStatus* status) const {
    return connectedTo(plugs, false, true, status);
}

// ---------------------------------------------------------------- values

MStatus MPlug::getValue(MObject& value, const MDGContext&) const {
    MStatus st;
    value = asMObject(&st);
    return st;
}

MStatus MPlug::getValue(double& value, const MDGContext&) const {
    return readNumber(*this, value);
}

MStatus MPlug::getValue(float& value, const MDGContext&) const {
    return readInto(*this, value);
}

MStatus MPlug::getValue(int& value, const MDGContext&) const {
    return readInto(*this, value);
}

MStatus MPlug::getValue(short& value, const MDGContext&) const {
    return readInto(*this, value);
}

MStatus MPlug::getValue(bool& value, const MDGContext&) const {
    return readInto(*this, value);
}

MStatus MPlug::getValue(char& value, const MDGContext&) const {
    return readInto(*this, value);
}

MStatus MPlug::getValue(MString& value, const MDGContext&) const {
    MStatus st;
    value = asString(&st);
    return st;
}

MStatus MPlug::getValue(MAngle& value, const MDGContext&) const {
    double v = 0;
    MStatus st = readNumber(*this, v);
    if (st) value = MAngle(v, MAngle::kRadians);
    return st;
}

MStatus MPlug::getValue(MDistance& value, const MDGContext&) const {
    double v = 0;
    MStatus st = readNumber(*this, v);
    if (st) value = MDistance(v);
    return st;
}

MObject MPlug::asMObject(MStatus* status) const {
    return ehost::guardEntry(status, "MPlug::asMObject", MObject(), [&] {
        MStatus st = valued(*this);
        if (!st) {
            setStatus(status, st);
            return MObject();
        }
        const ehost::Attribute* a = impl_.attr.get();
        const Cell& c = ehost::evaluate(*impl_.node, addrOf(*this), &st);
        setStatus(status, MStatus::kSuccess);
        if (isNumeric(a) && a->isCompound()) {
            auto d = std::make_shared<ehost::NumericData>(a->numericType);
            std::copy(c.num, c.num + 4, d->v);
            return ehost::api::wrap(d);
        }
        if (isNumeric(a) || a->kind == AttrKind::Message) {
            setStatus(status, fail(MStatus::kInvalidParameter,
                                   name().str() + " does not hold a data object"));
            return MObject();
        }
        // Readers get their own copy: editing it must not change the plug.
        return c.data ? ehost::api::wrap(c.data->clone()) : MObject();
    });
}

MObject MPlug::asMObject(const MDGContext&, MStatus* status) const {
    return asMObject(status);
}
double MPlug::asDouble(MStatus* status) const {
    return asValue<double>(*this, status);
}
double MPlug::asDouble(const MDGContext&, MStatus* status) const {
    return asDouble(status);
}
float MPlug::asFloat(MStatus* status) const {
    return asValue<float>(*this, status);
}
float MPlug::asFloat(const MDGContext&, MStatus* status) const {
    return asFloat(status);
}
int MPlug::asInt(MStatus* status) const {
    return asValue<int>(*this, status);
}
int MPlug::asInt(const MDGContext&, MStatus* status) const {
    return asInt(status);
}
short MPlug::asShort(MStatus* status) const {
    return asValue<short>(*this, status);
}
short MPlug::asShort(const MDGContext&, MStatus* status) const {
    return asShort(status);
}
bool MPlug::asBool(MStatus* status) const {
    return asValue<bool>(*this, status);
}
bool MPlug::asBool(const MDGContext&, MStatus* status) const {
    return asBool(status);
}
char MPlug::asChar(MStatus* status) const {
    return asValue<char>(*this, status);
}

MString MPlug::asString(MStatus* status) const {
    MStatus st = valued(*this);
    if (!st) {
        setStatus(status, st);
        return MString();
    }
    const Cell& c = ehost::evaluate(*impl_.node, addrOf(*this));
    auto* s = dynamic_cast<const ehost::StringData*>(c.data.get());
    if (impl_.attr->kind == AttrKind::Typed && impl_.attr->dataType == MFnData::kString) {
        setStatus(status, MStatus::kSuccess);
        return s ? s->value : MString();
    }
    if (s) {
        setStatus(status, MStatus::kSuccess);
        return s->value;
    }
    setStatus(status, fail(MStatus::kInvalidParameter, name().str() + " does not hold a string"));
    return MString();
}

MString MPlug::asString(const MDGContext&, MStatus* status) const {
    return asString(status);
}

MDataHandle MPlug::asMDataHandle(MStatus* status) const {
    MStatus st = valued(*this);
    setStatus(status, st);
    MDataHandle h;
    if (!st) return h;
    auto& hi = ehost::ApiAccess::impl(h);
    ehost::evaluate(*impl_.node, addrOf(*this));
    hi.node = impl_.node.get();
    hi.attr = impl_.attr.get();
    hi.index = impl_.index;
    hi.cell = impl_.node->cell(addrOf(*this), true);
    return h;
}

MDataHandle MPlug::asMDataHandle(const MDGContext&, MStatus* status) const {
    return asMDataHandle(status);
}
void MPlug::destructHandle(MDataHandle&) const {}

MStatus MPlug::setValue(const MObject& value) const {
    return ehost::guardEntry("MPlug::setValue", [&]() -> MStatus {
        MStatus st = settable(*this);
        if (!st) return st;
        const ehost::Attribute* a = impl_.attr.get();
        if (value.isNull()) {
            if (isNumeric(a) || a->kind == AttrKind::Message)
                return fail(MStatus::kInvalidParameter,
                            name().str() + " cannot hold a null data object");
            ehost::writeData(*impl_.node, addrOf(*this), nullptr);
            return MStatus::kSuccess;
        }
        ehost::DataPtr data = ehost::api::dataOf(value);
        if (!data) return fail(MStatus::kInvalidParameter, "the value is not a data object");
        if (auto* num = dynamic_cast<const ehost::NumericData*>(data.get()); num && isNumeric(a)) {
            int n = std::max(1, ehost::numericComponents(num->numericType));
            ehost::writeNumeric(*impl_.node, addrOf(*this), num->v, n);
            return MStatus::kSuccess;
        }
        if (!a->accepts(data->dataType()))
            return fail(MStatus::kInvalidParameter, name().str() + " does not accept " +
                                                        ehost::dataTypeName(data->dataType()) +
                                                        " data");
        // The plug keeps its own copy: the caller may go on editing the object.
        ehost::writeData(*impl_.node, addrOf(*this), data->clone());
        return MStatus::kSuccess;
    });
}

MStatus MPlug::setValue(double value) const {
    return writeNumber(*this, value);
}
MStatus MPlug::setValue(float value) const {
    return writeNumber(*this, value);
}
MStatus MPlug::setValue(int value) const {
    return writeNumber(*this, value);
}
MStatus MPlug::setValue(short value) const {
    return writeNumber(*this, value);
}
MStatus MPlug::setValue(bool value) const {
    return writeNumber(*this, value ? 1.0 : 0.0);
}
MStatus MPlug::setValue(char value) const {
    return writeNumber(*this, value);
}
MStatus MPlug::setValue(const MAngle& value) const {
    return writeNumber(*this, value.asRadians());
}
MStatus MPlug::setValue(const MDistance& value) const {
    return writeNumber(*this, value.value());
}

MStatus MPlug::setValue(const MString& value) const {
    MStatus st = settable(*this);
    if (!st) return st;
    if (!impl_.attr->accepts(MFnData::kString))
        return fail(MStatus::kInvalidParameter, name().str() + " does not take a string");
    ehost::writeData(*impl_.node, addrOf(*this), std::make_shared<ehost::StringData>(value));
    return MStatus::kSuccess;
}

MStatus MPlug::setValue(MDataHandle& handle) const {
    MStatus st = settable(*this);
    if (!st) return st;
    auto& hi = ehost::ApiAccess::impl(handle);
    if (!hi.cell) return fail(MStatus::kInvalidParameter, "the data handle is empty");
    const ehost::Attribute* a = impl_.attr.get();
    if (isNumeric(a)) {
        double vals[4];
        if (hi.attr && hi.attr->inTuple())
            vals[0] = hi.cell->num[hi.attr->childIndex];
        else
            std::copy(hi.cell->num, hi.cell->num + 4, vals);
        ehost::writeNumeric(*impl_.node, addrOf(*this), vals, std::max(1, a->components()));
        return MStatus::kSuccess;
    }
    if (hi.cell->data && !a->accepts(hi.cell->data->dataType()))
        return fail(MStatus::kInvalidParameter,
                    name().str() + " does not accept the handle's data");
    ehost::writeData(*impl_.node, addrOf(*this), hi.cell->data ? hi.cell->data->clone() : nullptr);
    return MStatus::kSuccess;
}

bool MPlug::operator==(const MPlug& other) const {
    return impl_.node == other.impl_.node && impl_.attr == other.impl_.attr &&
           impl_.index == other.impl_.index;
}

bool MPlug::operator==(const MObject& attribute) const {
    return impl_.attr && impl_.attr == ehost::api::attrOf(attribute);
}

// ---------------------------------------------------------------- MPlugArray

MStatus MPlugArray::set(const MPlug& plug, unsigned int index) {
    if (index >= v_.size()) return MStatus(MStatus::kInvalidParameter, "index out of range");
    v_[index] = plug;
    return MStatus::kSuccess;
}

MStatus MPlugArray::remove(unsigned int index) {
    if (index >= v_.size()) return MStatus(MStatus::kInvalidParameter, "index out of range");
    v_.erase(v_.begin() + index);
    return MStatus::kSuccess;
}

MStatus MPlugArray::insert(const MPlug& plug, unsigned int index) {
    if (index > v_.size()) return MStatus(MStatus::kInvalidParameter, "index out of range");
    v_.insert(v_.begin() + index, plug);
    return MStatus::kSuccess;
}

// ---------------------------------------------------------------- engine side

namespace ehost::api {

MObject wrap(const ObjectPtr& obj) {
    return ApiAccess::wrap(obj);
}
NodePtr nodeOf(const MObject& obj) {
    return ApiAccess::as<Node>(obj);
}
AttrPtr attrOf(const MObject& obj) {
    return ApiAccess::as<Attribute>(obj);
}
DataPtr dataOf(const MObject& obj) {
    return ApiAccess::as<Data>(obj);
}

AttrPtr share(const Attribute* attr) {
    return attr ? std::static_pointer_cast<Attribute>(
                      const_cast<Attribute*>(attr)->shared_from_this())
                : nullptr;
}

MPlug makePlug(const NodePtr& node, const PlugAddr& addr) {
    MPlug p;
    auto& i = ApiAccess::impl(p);
    i.node = node;
    i.attr = share(addr.attr);
    i.index = addr.index;
    return p;
}

PlugRef plugRef(const MPlug& plug) {
    const auto& i = ApiAccess::impl(plug);
    return PlugRef{i.node.get(), PlugAddr{i.attr.get(), i.index}};
}

NodePtr plugNode(const MPlug& plug) {
    return ApiAccess::impl(plug).node;
}
PlugAddr plugAddr(const MPlug& plug) {
    return addrOf(plug);
}

}  // namespace ehost::api
