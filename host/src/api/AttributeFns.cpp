#include <maya/MFnAttribute.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnGenericAttribute.h>
#include <maya/MFnMatrixAttribute.h>
#include <maya/MFnMessageAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnUnitAttribute.h>

#include <algorithm>
#include <cctype>
#include <type_traits>

#include "host/src/dg/Api.h"
#include "host/src/dg/AttrBuild.h"

using ehost::Attribute;
using ehost::AttrKind;
using ehost::api::fail;
using ehost::api::setStatus;

// ---------------------------------------------------------------- MFnBase

bool MFnBase::hasObj(MFn::Type kind) const {
    return ehost::kindIsA(kind, type());
}

bool MFnBase::hasObj(const MObject& object) const {
    return !object.isNull() && object.hasFn(type());
}

MObject MFnBase::object(MStatus* status) const {
    setStatus(status, obj_.isNull()
                          ? MStatus(MStatus::kInvalidParameter, "function set has no object")
                          : MStatus(MStatus::kSuccess));
    return obj_;
}

MStatus MFnBase::setObject(MObject& object) {
    return attach(object);
}
MStatus MFnBase::setObject(const MObject& object) {
    return attach(object);
}

MStatus MFnBase::attach(const MObject& object) {
    if (object.isNull()) {
        obj_ = MObject();
        return fail(MStatus::kInvalidParameter, "the object is null");
    }
    if (!object.hasFn(type())) {
        obj_ = MObject();
        return fail(MStatus::kInvalidParameter, std::string("object of kind ") +
                                                    object.apiTypeStr() +
                                                    " is not compatible with this function set (" +
                                                    ehost::kindName(type()) + ")");
    }
    obj_ = object;
    return MStatus::kSuccess;
}

// ---------------------------------------------------------------- MFnAttribute

namespace {

Attribute* attrOf(const MObject& o) {
    return ehost::ApiAccess::as<Attribute>(o).get();
}

bool validAttrName(const MString& name) {
    const std::string& s = name.str();
    if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0]))) return false;
    return std::all_of(s.begin(), s.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

template <class F>
MStatus editFlag(const MObject& o, F f) {
    Attribute* a = attrOf(o);
    if (!a) return fail(MStatus::kInvalidParameter, "function set has no attribute");
    f(*a);
    return MStatus::kSuccess;
}

template <class F>
bool readFlag(const MObject& o, MStatus* status, F f) {
    Attribute* a = attrOf(o);
    setStatus(status, a ? MStatus(MStatus::kSuccess)
                        : fail(MStatus::kInvalidParameter, "function set has no attribute"));
    return a ? f(*a) : false;
}

}  // namespace

MFnAttribute::MFnAttribute(const MObject& attribute, MStatus* status) {
    setStatus(status, attach(attribute));
}

MObject MFnAttribute::make(int kind, const MString& fullName, const MString& briefName,
                           MStatus* status) {
    if (!validAttrName(fullName) || (briefName.length() && !validAttrName(briefName))) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter, "invalid attribute name \"" + fullName.str() +
                                                       "\" / \"" + briefName.str() + "\""));
        obj_ = MObject();
        return MObject();
    }
    auto a = std::make_shared<Attribute>();
    a->kind = static_cast<AttrKind>(kind);
    a->name = fullName.str();
    a->shortName = briefName.length() ? briefName.str() : fullName.str();
    obj_ = ehost::api::wrap(a);
    setStatus(status, MStatus::kSuccess);
    return obj_;
}

MString MFnAttribute::name(MStatus* status) const {
    Attribute* a = attrOf(obj_);
    setStatus(status, a ? MStatus(MStatus::kSuccess)
                        : fail(MStatus::kInvalidParameter, "function set has no attribute"));
    return a ? MString(a->name) : MString();
}

MString MFnAttribute::shortName(MStatus* status) const {
    Attribute* a = attrOf(obj_);
    setStatus(status, a ? MStatus(MStatus::kSuccess)
                        : fail(MStatus::kInvalidParameter, "function set has no attribute"));
    return a ? MString(a->shortName) : MString();
}

MObject MFnAttribute::parent(MStatus* status) const {
    Attribute* a = attrOf(obj_);
    setStatus(status, a ? MStatus(MStatus::kSuccess)
                        : fail(MStatus::kInvalidParameter, "function set has no attribute"));
    return a && a->parent ? ehost::api::wrap(ehost::api::share(a->parent)) : MObject();
}

bool MFnAttribute::accepts(MFnData::Type t, MStatus* status) const {
    return readFlag(obj_, status, [&](Attribute& a) { return a.accepts(t); });
}

#define FLAG(getter, setter, field)                                          \
    bool MFnAttribute::getter(MStatus* status) const {                       \
        return readFlag(obj_, status, [](Attribute& a) { return a.field; }); \
    }                                                                        \
    MStatus MFnAttribute::setter(bool state) {                               \
        return editFlag(obj_, [&](Attribute& a) {                            \
            a.field = state;                                                 \
            for (auto& c : a.children) c->field = state;                     \
        });                                                                  \
    }

FLAG(isReadable, setReadable, readable)
FLAG(isWritable, setWritable, writable)
FLAG(isConnectable, setConnectable, connectable)
FLAG(isStorable, setStorable, storable)
FLAG(isCached, setCached, cached)
FLAG(indexMatters, setIndexMatters, indexMatters)
FLAG(isKeyable, setKeyable, keyable)
FLAG(isChannelBoxFlagSet, setChannelBox, channelBox)
FLAG(isHidden, setHidden, hidden)
FLAG(isWorldSpace, setWorldSpace, world)
FLAG(usesArrayDataBuilder, setUsesArrayDataBuilder, usesArrayDataBuilder)
FLAG(internal, setInternal, internal)
#undef FLAG

bool MFnAttribute::isArray(MStatus* status) const {
    return readFlag(obj_, status, [](Attribute& a) { return a.array; });
}

MStatus MFnAttribute::setArray(bool state) {
    // Only the top of an attribute can be an array.
    Attribute* a = attrOf(obj_);
    if (a && a->parent && state)
        return fail(MStatus::kNotImplemented,
                    "attribute " + a->name + " is a child of " + a->parent->name +
                        ": only the top of an attribute can be an array here");
    return editFlag(obj_, [&](Attribute& x) { x.array = state; });
}

bool MFnAttribute::isDynamic(MStatus* status) const {
    return readFlag(obj_, status, [](Attribute& a) { return a.dynamic; });
}

MStatus MFnAttribute::setUsedAsColor(bool) {
    return editFlag(obj_, [](Attribute&) {});
}
MStatus MFnAttribute::setAffectsWorldSpace(bool) {
    return editFlag(obj_, [](Attribute&) {});
}
MStatus MFnAttribute::setAffectsAppearance(bool) {
    return editFlag(obj_, [](Attribute&) {});
}
MStatus MFnAttribute::setDisconnectBehavior(DisconnectBehavior) {
    return editFlag(obj_, [](Attribute&) {});
}
MStatus MFnAttribute::setNiceNameOverride(const MString&) {
    return editFlag(obj_, [](Attribute&) {});
}

// ---------------------------------------------------------------- numeric

MFnNumericAttribute::MFnNumericAttribute(const MObject& attribute, MStatus* status) {
    setStatus(status, attach(attribute));
}

MObject MFnNumericAttribute::create(const MString& fullName, const MString& briefName,
                                    MFnNumericData::Type unitType, double defaultValue,
                                    MStatus* status) {
    if (unitType == MFnNumericData::kInvalid || unitType == MFnNumericData::kLast ||
        unitType == MFnNumericData::kAddr) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               "invalid numeric type for attribute " + fullName.str()));
        return MObject();
    }
    MObject o = make(static_cast<int>(AttrKind::Numeric), fullName, briefName, status);
    Attribute* a = attrOf(o);
    if (!a) return o;
    a->numericType = unitType;
    int n = ehost::numericComponents(unitType);
    if (n > 1) {
        // Tuples get one child per component, named after the parent.
        MFnNumericData::Type childType =
            (unitType == MFnNumericData::k2Float || unitType == MFnNumericData::k3Float)
                ? MFnNumericData::kFloat
            : (unitType == MFnNumericData::k2Int || unitType == MFnNumericData::k3Int)
                ? MFnNumericData::kInt
            : (unitType == MFnNumericData::k2Short || unitType == MFnNumericData::k3Short)
                ? MFnNumericData::kShort
                : MFnNumericData::kDouble;
        std::vector<ehost::AttrPtr> kids;
        for (int k = 0; k < n; ++k)
            kids.push_back(ehost::numericAttr(a->name + std::to_string(k),
                                              a->shortName + std::to_string(k), childType,
                                              defaultValue));
        auto compound = ehost::compoundAttr(a->name, a->shortName, std::move(kids));
        compound->numericType = unitType;
        obj_ = ehost::api::wrap(compound);
        return obj_;
    }
    a->defaults[0] = ehost::storeAsNumeric(unitType, defaultValue);
    return o;
}

MObject MFnNumericAttribute::create(const MString& fullName, const MString& briefName,
                                    const MObject& child1, const MObject& child2,
                                    const MObject& child3, MStatus* status) {
    std::vector<ehost::AttrPtr> kids;
    for (const MObject* c : {&child1, &child2, &child3}) {
        if (c->isNull()) continue;
        auto k = ehost::api::attrOf(*c);
        if (!k || k->kind != AttrKind::Numeric || k->isCompound() || k->parent) {
            setStatus(status,
                      fail(MStatus::kInvalidParameter,
                           "children of " + fullName.str() + " must be plain numeric attributes"));
            return MObject();
        }
        kids.push_back(k);
    }
    if (kids.size() < 2 || !validAttrName(fullName)) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               "a numeric compound needs a valid name and 2 or 3 children"));
        return MObject();
    }
    auto compound = ehost::compoundAttr(
        fullName.str(), briefName.length() ? briefName.str() : fullName.str(), kids);
    obj_ = ehost::api::wrap(compound);
    setStatus(status, MStatus::kSuccess);
    return obj_;
}

MObject MFnNumericAttribute::createColor(const MString& fullName, const MString& briefName,
                                         MStatus* status) {
    const std::string f = fullName.str(), b = briefName.str();
    std::vector<ehost::AttrPtr> kids;
    for (const char* s : {"R", "G", "B"})
        kids.push_back(ehost::numericAttr(f + s, b + s, MFnNumericData::kFloat, 0));
    if (!validAttrName(fullName)) {
        setStatus(status, fail(MStatus::kInvalidParameter, "invalid attribute name " + f));
        return MObject();
    }
    obj_ = ehost::api::wrap(ehost::compoundAttr(f, b.empty() ? f : b, kids));
    setStatus(status, MStatus::kSuccess);
    return obj_;
}

MObject MFnNumericAttribute::createPoint(const MString& fullName, const MString& briefName,
                                         MStatus* status) {
    const std::string f = fullName.str(), b = briefName.str();
    std::vector<ehost::AttrPtr> kids;
    for (const char* s : {"X", "Y", "Z"})
        kids.push_back(ehost::numericAttr(f + s, b + s, MFnNumericData::kFloat, 0));
    if (!validAttrName(fullName)) {
        setStatus(status, fail(MStatus::kInvalidParameter, "invalid attribute name " + f));
        return MObject();
    }
    obj_ = ehost::api::wrap(ehost::compoundAttr(f, b.empty() ? f : b, kids));
    setStatus(status, MStatus::kSuccess);
    return obj_;
}

MFnNumericData::Type MFnNumericAttribute::unitType(MStatus* status) const {
    Attribute* a = attrOf(obj_);
    setStatus(status, a ? MStatus(MStatus::kSuccess)
                        : fail(MStatus::kInvalidParameter, "function set has no attribute"));
    return a ? a->numericType : MFnNumericData::kInvalid;
}

namespace {

template <class T>
MStatus readDefault(const MObject& o, T& value) {
    Attribute* a = attrOf(o);
    if (!a) return fail(MStatus::kInvalidParameter, "function set has no attribute");
    if constexpr (std::is_same_v<T, bool>)
        value = a->defaults[0] != 0;
    else
        value = static_cast<T>(a->defaults[0]);
    return MStatus::kSuccess;
}

}  // namespace

MStatus MFnNumericAttribute::setDefaults(const double* values, int count) {
    Attribute* a = attrOf(obj_);
    if (!a) return fail(MStatus::kInvalidParameter, "function set has no attribute");
    if (a->isCompound()) {
        if (count != static_cast<int>(a->children.size()))
            return fail(MStatus::kInvalidParameter, "attribute " + a->name + " takes " +
                                                        std::to_string(a->children.size()) +
                                                        " default values");
        for (int k = 0; k < count; ++k) {
            a->children[k]->defaults[0] =
                ehost::storeAsNumeric(a->children[k]->numericType, values[k]);
            a->defaults[k] = a->children[k]->defaults[0];
        }
        return MStatus::kSuccess;
    }
    if (count != 1)
        return fail(MStatus::kInvalidParameter,
                    "attribute " + a->name + " takes one default value");
    a->defaults[0] = ehost::storeAsNumeric(a->numericType, values[0]);
    return MStatus::kSuccess;
}

MStatus MFnNumericAttribute::setDefault(bool value) {
    double v = value ? 1 : 0;
    return setDefaults(&v, 1);
}
MStatus MFnNumericAttribute::setDefault(int value) {
    double v = value;
    return setDefaults(&v, 1);
}
MStatus MFnNumericAttribute::setDefault(float value) {
    double v = value;
    return setDefaults(&v, 1);
}
MStatus MFnNumericAttribute::setDefault(double value) {
    return setDefaults(&value, 1);
}
MStatus MFnNumericAttribute::setDefault(int a, int b) {
    double v[2] = {double(a), double(b)};
    return setDefaults(v, 2);
}
MStatus MFnNumericAttribute::setDefault(float a, float b) {
    double v[2] = {a, b};
    return setDefaults(v, 2);
}
MStatus MFnNumericAttribute::setDefault(double a, double b) {
    double v[2] = {a, b};
    return setDefaults(v, 2);
}
MStatus MFnNumericAttribute::setDefault(int a, int b, int c) {
    double v[3] = {double(a), double(b), double(c)};
    return setDefaults(v, 3);
}
MStatus MFnNumericAttribute::setDefault(float a, float b, float c) {
    double v[3] = {a, b, c};
    return setDefaults(v, 3);
}
MStatus MFnNumericAttribute::setDefault(double a, double b, double c) {
    double v[3] = {a, b, c};
    return setDefaults(v, 3);
}

MStatus MFnNumericAttribute::getDefault(bool& value) {
    return readDefault(obj_, value);
}
MStatus MFnNumericAttribute::getDefault(int& value) {
    return readDefault(obj_, value);
}
MStatus MFnNumericAttribute::getDefault(float& value) {
    return readDefault(obj_, value);
}
MStatus MFnNumericAttribute::getDefault(double& value) {
    return readDefault(obj_, value);
}

// Value limits are a user-interface matter in the host; the embedded host keeps no limits.
MStatus MFnNumericAttribute::setMin(double value) {
    return editFlag(obj_, [value](Attribute& a) { a.min = {true, value}; });
}
MStatus MFnNumericAttribute::setMax(double value) {
    return editFlag(obj_, [value](Attribute& a) { a.max = {true, value}; });
}
MStatus MFnNumericAttribute::setSoftMin(double value) {
    return editFlag(obj_, [value](Attribute& a) { a.softMin = {true, value}; });
}
MStatus MFnNumericAttribute::setSoftMax(double value) {
    return editFlag(obj_, [value](Attribute& a) { a.softMax = {true, value}; });
}

// ---------------------------------------------------------------- typed

MFnTypedAttribute::MFnTypedAttribute(const MObject& attribute, MStatus* status) {
    setStatus(status, attach(attribute));
}

MObject MFnTypedAttribute::create(const MString& fullName, const MString& briefName,
                                  MFnData::Type t, MStatus* status) {
    return create(fullName, briefName, t, MObject::kNullObj, status);
}

MObject MFnTypedAttribute::create(const MString& fullName, const MString& briefName,
                                  MFnData::Type t, const MObject& defaultData, MStatus* status) {
    if (t == MFnData::kInvalid || t == MFnData::kLast || t == MFnData::kNumeric) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               "invalid data type for attribute " + fullName.str()));
        return MObject();
    }
    MObject o = make(static_cast<int>(AttrKind::Typed), fullName, briefName, status);
    Attribute* a = attrOf(o);
    if (!a) return o;
    a->dataType = t;
    if (!defaultData.isNull()) {
        MStatus st = setDefault(defaultData);
        if (!st) {
            setStatus(status, st);
            return MObject();
        }
    }
    return o;
}

MFnData::Type MFnTypedAttribute::attrType(MStatus* status) const {
    Attribute* a = attrOf(obj_);
    setStatus(status, a ? MStatus(MStatus::kSuccess)
                        : fail(MStatus::kInvalidParameter, "function set has no attribute"));
    return a ? a->dataType : MFnData::kInvalid;
}

MStatus MFnTypedAttribute::getDefault(MObject& defaultData) {
    Attribute* a = attrOf(obj_);
    if (!a) return fail(MStatus::kInvalidParameter, "function set has no attribute");
    defaultData = a->defaultData ? ehost::api::wrap(a->defaultData->clone()) : MObject();
    return MStatus::kSuccess;
}

MStatus MFnTypedAttribute::setDefault(const MObject& defaultData) {
    Attribute* a = attrOf(obj_);
    if (!a) return fail(MStatus::kInvalidParameter, "function set has no attribute");
    auto d = ehost::api::dataOf(defaultData);
    if (!d || !a->accepts(d->dataType()))
        return fail(MStatus::kInvalidParameter, "default of " + a->name + " must be " +
                                                    ehost::dataTypeName(a->dataType) + " data");
    a->defaultData = d->clone();
    return MStatus::kSuccess;
}

// ---------------------------------------------------------------- generic

MFnGenericAttribute::MFnGenericAttribute(const MObject& attribute, MStatus* status) {
    setStatus(status, attach(attribute));
}

MObject MFnGenericAttribute::create(const MString& fullName, const MString& briefName,
                                    MStatus* status) {
    return make(static_cast<int>(AttrKind::Generic), fullName, briefName, status);
}

MStatus MFnGenericAttribute::addAccept(MFnData::Type t) {
    return editFlag(obj_, [&](Attribute& a) {
        if (std::find(a.acceptedData.begin(), a.acceptedData.end(), t) == a.acceptedData.end())
            a.acceptedData.push_back(t);
    });
}

MStatus MFnGenericAttribute::addAccept(MFnNumericData::Type t) {
    return editFlag(obj_, [&](Attribute& a) { a.acceptedNumeric.push_back(t); });
}

MStatus MFnGenericAttribute::removeAccept(MFnData::Type t) {
    return editFlag(obj_, [&](Attribute& a) {
        a.acceptedData.erase(std::remove(a.acceptedData.begin(), a.acceptedData.end(), t),
                             a.acceptedData.end());
    });
}

MStatus MFnGenericAttribute::removeAccept(MFnNumericData::Type t) {
    return editFlag(obj_, [&](Attribute& a) {
        a.acceptedNumeric.erase(std::remove(a.acceptedNumeric.begin(), a.acceptedNumeric.end(), t),
                                a.acceptedNumeric.end());
    });
}

// ---------------------------------------------------------------- message, matrix, enum, unit

MFnMessageAttribute::MFnMessageAttribute(const MObject& attribute, MStatus* status) {
    setStatus(status, attach(attribute));
}

MObject MFnMessageAttribute::create(const MString& fullName, const MString& briefName,
                                    MStatus* status) {
    MObject o = make(static_cast<int>(AttrKind::Message), fullName, briefName, status);
    if (Attribute* a = attrOf(o)) a->storable = false;
    return o;
}

MFnMatrixAttribute::MFnMatrixAttribute(const MObject& attribute, MStatus* status) {
    setStatus(status, attach(attribute));
}

MObject MFnMatrixAttribute::create(const MString& fullName, const MString& briefName, Type,
                                   MStatus* status) {
    MObject o = make(static_cast<int>(AttrKind::Matrix), fullName, briefName, status);
    if (Attribute* a = attrOf(o)) a->dataType = MFnData::kMatrix;
    return o;
}

MFnEnumAttribute::MFnEnumAttribute(const MObject& attribute, MStatus* status) {
    setStatus(status, attach(attribute));
}

MObject MFnEnumAttribute::create(const MString& fullName, const MString& briefName,
                                 short defaultValue, MStatus* status) {
    MObject o = make(static_cast<int>(AttrKind::Enum), fullName, briefName, status);
    if (Attribute* a = attrOf(o)) {
        a->numericType = MFnNumericData::kShort;
        a->defaults[0] = defaultValue;
    }
    return o;
}

MStatus MFnEnumAttribute::addField(const MString& name, short value) {
    return editFlag(obj_, [&](Attribute& a) { a.enumFields.push_back({name.str(), value}); });
}

MString MFnEnumAttribute::fieldName(short value, MStatus* status) const {
    Attribute* a = attrOf(obj_);
    if (a)
        for (auto& [n, v] : a->enumFields)
            if (v == value) {
                setStatus(status, MStatus::kSuccess);
                return MString(n);
            }
    setStatus(status,
              fail(MStatus::kInvalidParameter, "no field with value " + std::to_string(value)));
    return MString();
}

short MFnEnumAttribute::fieldIndex(const MString& name, MStatus* status) const {
    Attribute* a = attrOf(obj_);
    if (a)
        for (auto& [n, v] : a->enumFields)
            if (n == name.str()) {
                setStatus(status, MStatus::kSuccess);
                return static_cast<short>(v);
            }
    setStatus(status, fail(MStatus::kInvalidParameter, "no field named " + name.str()));
    return 0;
}

MStatus MFnEnumAttribute::setDefault(short value) {
    return editFlag(obj_, [&](Attribute& a) { a.defaults[0] = value; });
}

MFnUnitAttribute::MFnUnitAttribute(const MObject& attribute, MStatus* status) {
    setStatus(status, attach(attribute));
}

MObject MFnUnitAttribute::create(const MString& fullName, const MString& briefName, Type unitType,
                                 double defaultValue, MStatus* status) {
    MObject o = make(static_cast<int>(AttrKind::Numeric), fullName, briefName, status);
    if (Attribute* a = attrOf(o)) {
        a->numericType = MFnNumericData::kDouble;
        a->isAngle = unitType == kAngle;
        a->defaults[0] = defaultValue;
    }
    return o;
}

MFnUnitAttribute::Type MFnUnitAttribute::unitType(MStatus* status) const {
    Attribute* a = attrOf(obj_);
    setStatus(status, a ? MStatus(MStatus::kSuccess)
                        : fail(MStatus::kInvalidParameter, "function set has no attribute"));
    return a && a->isAngle ? kAngle : kDistance;
}

MStatus MFnUnitAttribute::setDefault(double value) {
    return editFlag(obj_, [&](Attribute& a) { a.defaults[0] = value; });
}

// ---------------------------------------------------------------- compound

MFnCompoundAttribute::MFnCompoundAttribute(const MObject& attribute, MStatus* status) {
    setStatus(status, attach(attribute));
}

MObject MFnCompoundAttribute::create(const MString& fullName, const MString& briefName,
                                     MStatus* status) {
    return make(static_cast<int>(AttrKind::Compound), fullName, briefName, status);
}

namespace {

Attribute* compoundOf(const MObject& o, MStatus& st) {
    Attribute* a = attrOf(o);
    if (!a || a->kind != AttrKind::Compound) {
        st = fail(MStatus::kInvalidParameter, "function set has no compound attribute");
        return nullptr;
    }
    st = MStatus::kSuccess;
    return a;
}

}  // namespace

MStatus MFnCompoundAttribute::addChild(const MObject& child) {
    MStatus st;
    Attribute* a = compoundOf(obj_, st);
    if (!a) return st;
    auto c = ehost::api::attrOf(child);
    if (!c) return fail(MStatus::kInvalidParameter, "addChild: the object is not an attribute");
    if (a->inUse)
        return fail(MStatus::kInvalidParameter,
                    "compound " + a->name + " is on a node already: its children are fixed");
    if (c.get() == a || c->isAncestorOf(a))
        return fail(MStatus::kInvalidParameter,
                    "attribute " + c->name + " cannot be a child of itself");
    if (c->parent)
        return fail(MStatus::kInvalidParameter,
                    "attribute " + c->name + " is a child of " + c->parent->name + " already");
    if (c->inUse)
        return fail(MStatus::kInvalidParameter, "attribute " + c->name + " is on a node already");
    if (c->array)
        return fail(MStatus::kNotImplemented,
                    "attribute " + c->name +
                        " is an array: only the top of an attribute can be an array here");
    for (const auto& existing : a->children)
        if (existing->name == c->name || existing->shortName == c->shortName)
            return fail(MStatus::kInvalidParameter,
                        "compound " + a->name + " has a child named " + c->name + " already");
    c->parent = a;
    c->childIndex = static_cast<int>(a->children.size());
    a->children.push_back(c);
    return MStatus::kSuccess;
}

MStatus MFnCompoundAttribute::removeChild(const MObject& child) {
    MStatus st;
    Attribute* a = compoundOf(obj_, st);
    if (!a) return st;
    auto c = ehost::api::attrOf(child);
    if (!c || c->parent != a)
        return fail(MStatus::kInvalidParameter,
                    "removeChild: the attribute is not a child of " + a->name);
    if (a->inUse)
        return fail(MStatus::kInvalidParameter,
                    "compound " + a->name + " is on a node already: its children are fixed");
    a->children.erase(a->children.begin() + c->childIndex);
    c->parent = nullptr;
    c->childIndex = -1;
    for (size_t k = 0; k < a->children.size(); ++k)
        a->children[k]->childIndex = static_cast<int>(k);
    return MStatus::kSuccess;
}

unsigned int MFnCompoundAttribute::numChildren(MStatus* status) const {
    MStatus st;
    Attribute* a = compoundOf(obj_, st);
    setStatus(status, st);
    return a ? static_cast<unsigned>(a->children.size()) : 0;
}

MObject MFnCompoundAttribute::child(unsigned int index, MStatus* status) const {
    MStatus st;
    Attribute* a = compoundOf(obj_, st);
    if (a && index >= a->children.size())
        st = fail(MStatus::kInvalidParameter,
                  "compound " + a->name + " has no child " + std::to_string(index) + " (" +
                      std::to_string(a->children.size()) + " children)");
    setStatus(status, st);
    return st ? ehost::api::wrap(a->children[index]) : MObject();
}
