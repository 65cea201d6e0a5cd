// setAttr and getAttr.

#include <maya/MAngle.h>
#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnFloatArrayData.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnMatrixData.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MFnStringArrayData.h>
#include <maya/MFnStringData.h>
#include <maya/MFnVectorArrayData.h>

#include <cmath>

#include "host/src/builtins/Builtin.h"
#include "host/src/command/ArgConvert.h"
#include "host/src/dag/ComponentListData.h"
#include "host/src/dag/Resolve.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/Data.h"

namespace ehost {

namespace {

bool resolvePlug(const std::string& text, MPlug& plug, std::string& why) {
    std::vector<SelItem> items;
    if (!resolveName(text, items, why)) return false;
    if (items.size() != 1 || !items[0].plug.attr) {
        why = "\"" + text + "\" does not name an attribute";
        return false;
    }
    plug = api::makePlug(items[0].node, items[0].plug);
    return true;
}

bool isNumericAttr(const Attribute* a) {
    return a->kind == AttrKind::Numeric || a->kind == AttrKind::Enum;
}

//! Reads count numbers from values[from...]; false with a reason otherwise.
bool numbers(const std::vector<std::string>& values, size_t from, size_t count,
             std::vector<double>& out, std::string& why) {
    if (values.size() < from + count) {
        why = "expected " + std::to_string(count) + " value(s), got " +
              std::to_string(values.size() - std::min(from, values.size()));
        return false;
    }
    for (size_t i = from; i < from + count; ++i) {
        double d;
        bool b;
        if (parseNumber(values[i], d))
            out.push_back(d);
        else if (parseBool(values[i], b))
            out.push_back(b ? 1 : 0);
        else {
            why = "\"" + values[i] + "\" is not a number";
            return false;
        }
    }
    return true;
}

//! "N v v v ..." with N items of size each; returns the items' numbers.
bool countedNumbers(const std::vector<std::string>& values, size_t size, std::vector<double>& out,
                    std::string& why) {
    unsigned n = 0;
    if (values.empty() || !parseUnsigned(values[0], n)) {
        why = "an array value starts with its element count";
        return false;
    }
    if (values.size() != 1 + static_cast<size_t>(n) * size) {
        why = "expected " + std::to_string(n) + " element(s) of " + std::to_string(size) +
              " value(s), got " + std::to_string(values.size() - 1) + " value(s)";
        return false;
    }
    return numbers(values, 1, static_cast<size_t>(n) * size, out, why);
}

//! The data object the values make for a typed value ("pointArray", "string"...).
bool typedValue(const std::string& type, const std::vector<std::string>& values, MObject& out,
                std::string& why) {
    std::vector<double> v;
    if (type == "string") {
        if (values.size() != 1) {
            why = "a string value takes one argument";
            return false;
        }
        out = MFnStringData().create(MString(values[0]));
        return true;
    }
    // A component list ("vtx[2:5]" ...) is held as the strings that name it,
    // as the modelling nodes keep them.
    if (type == "stringArray" || type == "componentList") {
        unsigned n = 0;
        if (values.empty() || !parseUnsigned(values[0], n) || values.size() != n + 1u) {
            why = "a " + std::string(type == "stringArray" ? "string array" : "component list") +
                  " is its count followed by that many strings";
            return false;
        }
        MStringArray a;
        for (unsigned i = 0; i < n; ++i) a.append(MString(values[i + 1]));
        out = MFnStringArrayData().create(a);
        return true;
    }
    if (type == "pointArray" || type == "vectorArray") {
        size_t size = type == "pointArray" ? 4 : 3;
        if (!countedNumbers(values, size, v, why)) return false;
        if (size == 4) {
            MPointArray a;
            for (size_t i = 0; i < v.size(); i += 4)
                a.append(MPoint(v[i], v[i + 1], v[i + 2], v[i + 3]));
            out = MFnPointArrayData().create(a);
        } else {
            MVectorArray a;
            for (size_t i = 0; i < v.size(); i += 3) a.append(MVector(v[i], v[i + 1], v[i + 2]));
            out = MFnVectorArrayData().create(a);
        }
        return true;
    }
    if (type == "Int32Array" || type == "doubleArray" || type == "floatArray") {
        if (!countedNumbers(values, 1, v, why)) return false;
        if (type == "Int32Array") {
            MIntArray a;
            for (double d : v) {
                if (d != std::trunc(d) || std::fabs(d) > 2147483647.0) {
                    why = "Int32Array values must be whole numbers";
                    return false;
                }
                a.append(static_cast<int>(d));
            }
            out = MFnIntArrayData().create(a);
        } else if (type == "doubleArray") {
            MDoubleArray a;
            for (double d : v) a.append(d);
            out = MFnDoubleArrayData().create(a);
        } else {
            MFloatArray a;
            for (double d : v) a.append(static_cast<float>(d));
            out = MFnFloatArrayData().create(a);
        }
        return true;
    }
    if (type == "matrix") {
        if (!numbers(values, 0, 16, v, why) || values.size() != 16) {
            if (why.empty()) why = "a matrix takes 16 values";
            return false;
        }
        MMatrix m;
        for (int k = 0; k < 16; ++k) m[k / 4][k % 4] = v[k];
        out = MFnMatrixData().create(m);
        return true;
    }
    why = "unsupported value type \"" + type + "\"";
    return false;
}

MSyntax setAttrSyntax() {
    MSyntax s;
    s.addFlag("-type", "-type", MSyntax::kString);
    s.addFlag("-l", "-lock", MSyntax::kBoolean);
    s.addFlag("-k", "-keyable", MSyntax::kBoolean);
    s.addFlag("-cb", "-channelBox", MSyntax::kBoolean);
    s.setObjectType(MSyntax::kStringObjects, 1);
    return s;
}

class SetAttrCommand : public ModifierCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        const MStringArray objects = objectNames(db);
        std::string why;
        MPlug plug;
        if (!resolvePlug(objects[0].str(), plug, why)) return error(why);
        std::vector<std::string> values;
        for (unsigned i = 1; i < objects.length(); ++i) values.push_back(objects[i].str());
        PlugRef ref = api::plugRef(plug);
        // -lock, -keyable and -channelBox change the plug; with no value that is all.
        const bool states = db.isFlagSet("-l") || db.isFlagSet("-k") || db.isFlagSet("-cb");
        if (states) {
            node_ = ref.node->self();
            addr_ = ref.addr;
            auto it = node_->plugStates.find(addr_);
            before_ = it == node_->plugStates.end() ? PlugState{} : it->second;
            after_ = before_;
            bool on = false;
            if (db.isFlagSet("-l")) after_.locked = db.getFlagArgument("-l", 0, on) && on;
            if (db.isFlagSet("-k")) after_.keyable = db.getFlagArgument("-k", 0, on) && on;
            if (db.isFlagSet("-cb")) after_.channelBox = db.getFlagArgument("-cb", 0, on) && on;
            // An unlock comes before the value, a lock after it.
            if (!after_.locked) applyState(after_);
        }
        if (values.empty() && states) {
            applyState(after_);
            return MStatus::kSuccess;
        }
        if (plug.isDestination() || ref.node->isLocked(ref.addr)) {
            if (states) applyState(before_);
            return error("The attribute '" + plug.name().str() +
                         "' is locked or connected and cannot be modified.");
        }
        MStatus st = setValue(db, plug, values, why);
        if (states) applyState(st ? after_ : before_);
        return st;
    }

    MStatus undoIt() override {
        MStatus st = ModifierCommand::undoIt();
        if (node_) applyState(before_);
        return st;
    }
    MStatus redoIt() override {
        if (node_ && !after_.locked) applyState(after_);
        MStatus st = ModifierCommand::redoIt();
        if (node_) applyState(after_);
        return st;
    }

private:
    void applyState(const PlugState& s) {
        if (s.plain())
            node_->plugStates.erase(addr_);
        else
            node_->plugStates[addr_] = s;
    }

    MStatus setValue(const MArgDatabase& db, const MPlug& plug,
                     const std::vector<std::string>& values, std::string& why) {
        PlugRef ref = api::plugRef(plug);
        const Attribute* a = ref.addr.attr;
        if (a->root()->array && ref.addr.index < 0)
            return error(plug.name().str() + " is an array: set one of its elements");
        if (db.isFlagSet("-type")) {
            MString type;
            db.getFlagArgument("-type", 0, type);
            std::string t = type.str();
            bool tuple = t == "double2" || t == "double3" || t == "float2" || t == "float3" ||
                         t == "long2" || t == "long3" || t == "short2" || t == "short3";
            if (!tuple) {
                MObject data;
                if (!typedValue(t, values, data, why)) return error(plug.name().str() + ": " + why);
                auto d = api::dataOf(data);
                if (!a->accepts(d->dataType()))
                    return error(plug.name().str() + " does not hold " + t + " values");
                modifier.newPlugValue(plug, data);
                return applyModifier();
            }
        }
        if (a->kind == AttrKind::Typed && a->dataType == MFnData::kString) {
            MObject data;
            if (!typedValue("string", values, data, why))
                return error(plug.name().str() + ": " + why);
            modifier.newPlugValue(plug, data);
            return applyModifier();
        }
        if (!isNumericAttr(a))
            return error(plug.name().str() + " needs -type to say what kind of value it takes");
        size_t count = a->isCompound() ? a->children.size() : 1;
        std::vector<double> v;
        if (a->kind == AttrKind::Enum && values.size() == 1) {
            for (auto& [field, value] : a->enumFields)
                if (field == values[0]) v.push_back(value);
        }
        if (v.empty() && !numbers(values, 0, count, v, why))
            return error(plug.name().str() + ": " + why);
        if (values.size() != count)
            return error(plug.name().str() + " takes " + std::to_string(count) + " value(s)");
        // The scene reader's rule: a value the attribute would change is refused.
        for (size_t k = 0; k < count; ++k) {
            const MFnNumericData::Type t =
                a->isCompound() ? a->children[k]->numericType : a->numericType;
            if (!holdsNumber(t, v[k])) return error(cannotHoldText(plug.name().str(), t, v[k]));
        }
        // Angles are written in degrees.
        if (a->isAngle)
            for (double& d : v) d = MAngle(d, MAngle::kDegrees).asRadians();
        if (count == 1) {
            modifier.newPlugValueDouble(plug, v[0]);
        } else {
            MFnNumericData fn;
            MObject data =
                fn.create(count == 2 ? MFnNumericData::k2Double : MFnNumericData::k3Double);
            if (count == 2)
                fn.setData(v[0], v[1]);
            else
                fn.setData(v[0], v[1], v[2]);
            modifier.newPlugValue(plug, data);
        }
        return applyModifier();
    }

    NodePtr node_;
    PlugAddr addr_;
    PlugState before_, after_;
};

// ---------------------------------------------------------------- getAttr

MSyntax getAttrSyntax() {
    MSyntax s;
    s.addFlag("-s", "-size");
    s.addFlag("-typ", "-type");
    s.addFlag("-l", "-lock");
    s.addFlag("-k", "-keyable");
    s.addFlag("-cb", "-channelBox");
    s.addFlag("-se", "-settable");
    s.addFlag("-mi", "-multiIndices");
    s.addFlag("-as", "-asString");
    s.addFlag("-sl", "-silent");
    s.setObjectType(MSyntax::kStringObjects, 1, 1);
    return s;
}

class GetAttrCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        std::string why;
        MPlug plug;
        if (!resolvePlug(objectNames(db)[0].str(), plug, why)) return error(why);
        PlugRef ref = api::plugRef(plug);
        const Attribute* a = ref.addr.attr;
        if (db.isFlagSet("-s")) return size(plug, a);
        if (db.isFlagSet("-l")) return answer(ref.node->isLocked(ref.addr));
        if (db.isFlagSet("-k")) return answer(ref.node->isKeyable(ref.addr));
        if (db.isFlagSet("-cb")) return answer(ref.node->isInChannelBox(ref.addr));
        if (db.isFlagSet("-se"))
            return answer(a->writable && !ref.node->isLocked(ref.addr) && !plug.isDestination());
        if (db.isFlagSet("-mi")) return multiIndices(plug, a, db.isFlagSet("-sl"));
        if (a->root()->array && ref.addr.index < 0)
            return error(plug.name().str() + " is an array: use -size or name an element");
        MStatus st;
        const Cell& c = evaluate(*ref.node, ref.addr, &st);
        if (db.isFlagSet("-typ")) {
            setResult(MString(typeOf(a, c)));
            return MStatus::kSuccess;
        }
        if (db.isFlagSet("-as") && a->kind == AttrKind::Enum) {
            // The enum's field name, or nothing for a value without one.
            for (const auto& [field, value] : a->enumFields)
                if (value == static_cast<int>(c.num[0])) {
                    setResult(MString(field));
                    return MStatus::kSuccess;
                }
            setResult(MString());
            return MStatus::kSuccess;
        }
        if (isNumericAttr(a)) return numeric(a, c);
        return data(plug, a, c);
    }

private:
    MStatus answer(bool yes) {
        setResult(yes ? 1 : 0);
        return MStatus::kSuccess;
    }

    //! The logical indices of an array's existing elements.
    MStatus multiIndices(const MPlug& plug, const Attribute* a, bool silent) {
        if (!a->root()->array || api::plugRef(plug).addr.index >= 0) {
            if (silent) return MStatus::kSuccess;
            return error(plug.name().str() + " is not a multi attribute");
        }
        MIntArray indices;
        plug.getExistingArrayAttributeIndices(indices);
        setResult(indices);
        return MStatus::kSuccess;
    }

    static std::string typeOf(const Attribute* a, const Cell& c) {
        if (a->kind == AttrKind::Enum) return "enum";
        if (a->kind == AttrKind::Numeric) return numericTypeName(a->numericType);
        if (a->kind == AttrKind::Message) return "message";
        if (a->kind == AttrKind::Compound) return "TdataCompound";
        if (c.data) return dataTypeName(c.data->dataType());
        return a->kind == AttrKind::Typed ? dataTypeName(a->dataType) : "generic";
    }

    MStatus size(const MPlug& plug, const Attribute* a) {
        PlugRef ref = api::plugRef(plug);
        if (a->array && ref.addr.index < 0) {
            setResult(static_cast<int>(plug.evaluateNumElements()));
            return MStatus::kSuccess;
        }
        const Cell& c = evaluate(*ref.node, ref.addr);
        int n = 1;
        if (auto* p = dynamic_cast<const PointArrayData*>(c.data.get()))
            n = static_cast<int>(p->values.length());
        else if (auto* i = dynamic_cast<const IntArrayData*>(c.data.get()))
            n = static_cast<int>(i->values.length());
        else if (auto* f = dynamic_cast<const FloatArrayData*>(c.data.get()))
            n = static_cast<int>(f->values.length());
        else if (auto* d = dynamic_cast<const DoubleArrayData*>(c.data.get()))
            n = static_cast<int>(d->values.length());
        else if (auto* v = dynamic_cast<const VectorArrayData*>(c.data.get()))
            n = static_cast<int>(v->values.length());
        else if (auto* s = dynamic_cast<const StringArrayData*>(c.data.get()))
            n = static_cast<int>(s->values.length());
        else if (!c.data && a->kind == AttrKind::Typed)
            n = 0;
        setResult(n);
        return MStatus::kSuccess;
    }

    MStatus numeric(const Attribute* a, const Cell& c) {
        auto value = [&](int k) {
            double v = a->inTuple() ? c.num[a->childIndex] : c.num[k];
            return a->isAngle ? MAngle(v, MAngle::kRadians).asDegrees() : v;
        };
        if (a->isCompound()) {
            MDoubleArray out;
            for (size_t k = 0; k < a->children.size(); ++k) out.append(value(static_cast<int>(k)));
            setResult(out);
            return MStatus::kSuccess;
        }
        MFnNumericData::Type t = a->numericType;
        bool whole = a->kind == AttrKind::Enum || t == MFnNumericData::kBoolean ||
                     t == MFnNumericData::kInt || t == MFnNumericData::kShort ||
                     t == MFnNumericData::kChar || t == MFnNumericData::kByte;
        if (whole)
            setResult(static_cast<int>(value(0)));
        else
            setResult(value(0));
        return MStatus::kSuccess;
    }

    MStatus data(const MPlug& plug, const Attribute* a, const Cell& c) {
        const Data* d = c.data.get();
        if (!d) {
            if (a->kind == AttrKind::Typed && a->dataType == MFnData::kString) setResult(MString());
            return MStatus::kSuccess;
        }
        if (auto* s = dynamic_cast<const StringData*>(d)) {
            setResult(s->value);
        } else if (auto* p = dynamic_cast<const PointArrayData*>(d)) {
            MDoubleArray out;
            for (unsigned i = 0; i < p->values.length(); ++i)
                for (int k = 0; k < 4; ++k) out.append(p->values[i][k]);
            setResult(out);
        } else if (auto* v = dynamic_cast<const VectorArrayData*>(d)) {
            MDoubleArray out;
            for (unsigned i = 0; i < v->values.length(); ++i)
                for (int k = 0; k < 3; ++k) out.append(v->values[i][k]);
            setResult(out);
        } else if (auto* ia = dynamic_cast<const IntArrayData*>(d)) {
            setResult(ia->values);
        } else if (auto* fa = dynamic_cast<const FloatArrayData*>(d)) {
            MDoubleArray out;
            for (unsigned i = 0; i < fa->values.length(); ++i) out.append(fa->values[i]);
            setResult(out);
        } else if (auto* da = dynamic_cast<const DoubleArrayData*>(d)) {
            setResult(da->values);
        } else if (auto* sa = dynamic_cast<const StringArrayData*>(d)) {
            setResult(sa->values);
        } else if (auto* cl = dynamic_cast<const ComponentListData*>(d)) {
            MStringArray names;
            for (const std::string& n : cl->names()) names.append(MString(n));
            setResult(names);
        } else if (auto* m = dynamic_cast<const MatrixData*>(d)) {
            MDoubleArray out;
            for (int k = 0; k < 16; ++k) out.append(m->value[k / 4][k % 4]);
            setResult(out);
        } else {
            return error("cannot print the " + std::string(dataTypeName(d->dataType())) +
                         " value of " + plug.name().str());
        }
        return MStatus::kSuccess;
    }
};

void add(Commands& c) {
    addBuiltin<SetAttrCommand>(c, "setAttr", setAttrSyntax);
    addBuiltin<GetAttrCommand>(c, "getAttr", getAttrSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
