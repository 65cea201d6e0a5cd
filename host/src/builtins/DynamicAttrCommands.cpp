// addAttr and deleteAttr: dynamic attributes of nodes, undoably.
//
// A compound (-at compound -nc N) or a tuple (-at double3 ...) is complete
// once its children have been added with -parent; only then does it appear on
// the node, as the host does it.

#include <maya/MArgList.h>

#include <map>
#include <memory>

#include "host/src/builtins/Builtin.h"
#include "host/src/core/StatusText.h"
#include "host/src/dag/Resolve.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/Data.h"
#include "host/src/dg/DynamicAttributes.h"
#include "host/src/dg/Scene.h"

namespace ehost {

namespace {

// ---------------------------------------------------------------- attribute types

//! What -attributeType names: a number, a tuple of numbers, or another kind.
struct AttributeType {
    AttrKind kind = AttrKind::Numeric;
    MFnNumericData::Type numeric = MFnNumericData::kDouble;
    bool angle = false;
    unsigned tupleSize = 0;  // tuples: the number of children they wait for
};

bool attributeTypeNamed(const std::string& name, AttributeType& out) {
    static const std::map<std::string, MFnNumericData::Type> numbers = {
        {"bool", MFnNumericData::kBoolean},  {"long", MFnNumericData::kInt},
        {"short", MFnNumericData::kShort},   {"byte", MFnNumericData::kByte},
        {"char", MFnNumericData::kChar},     {"float", MFnNumericData::kFloat},
        {"double", MFnNumericData::kDouble}, {"doubleLinear", MFnNumericData::kDouble},
        {"time", MFnNumericData::kDouble}};
    static const std::map<std::string, std::pair<MFnNumericData::Type, unsigned>> tuples = {
        {"float2", {MFnNumericData::k2Float, 2}},      {"float3", {MFnNumericData::k3Float, 3}},
        {"double2", {MFnNumericData::k2Double, 2}},    {"double3", {MFnNumericData::k3Double, 3}},
        {"long2", {MFnNumericData::k2Int, 2}},         {"long3", {MFnNumericData::k3Int, 3}},
        {"short2", {MFnNumericData::k2Short, 2}},      {"short3", {MFnNumericData::k3Short, 3}},
        {"reflectance", {MFnNumericData::k3Float, 3}}, {"spectrum", {MFnNumericData::k3Float, 3}}};
    out = AttributeType{};
    if (auto it = numbers.find(name); it != numbers.end()) {
        out.numeric = it->second;
        return true;
    }
    if (name == "doubleAngle") {
        out.angle = true;
        return true;
    }
    if (auto it = tuples.find(name); it != tuples.end()) {
        out.numeric = it->second.first;
        out.tupleSize = it->second.second;
        return true;
    }
    if (name == "enum")
        out.kind = AttrKind::Enum;
    else if (name == "message")
        out.kind = AttrKind::Message;
    else if (name == "matrix" || name == "fltMatrix")
        out.kind = AttrKind::Matrix;
    else if (name == "compound")
        out.kind = AttrKind::Compound;
    else
        return false;
    return true;
}

bool dataTypeNamed(const std::string& name, MFnData::Type& out) {
    for (MFnData::Type t :
         {MFnData::kString, MFnData::kStringArray, MFnData::kMatrix, MFnData::kDoubleArray,
          MFnData::kFloatArray, MFnData::kIntArray, MFnData::kPointArray, MFnData::kVectorArray,
          MFnData::kMesh, MFnData::kComponentList})
        if (name == dataTypeName(t)) {
            out = t;
            return true;
        }
    return false;
}

//! "a:b:c" (values 0, 1, 2) or "a=3:b=7"; an entry without a value follows the last.
bool enumFields(const std::string& text, std::vector<std::pair<std::string, int>>& out,
                std::string& why) {
    int next = 0;
    size_t from = 0;
    while (from <= text.size()) {
        const size_t colon = text.find(':', from);
        std::string entry =
            text.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
        from = colon == std::string::npos ? text.size() + 1 : colon + 1;
        if (entry.empty()) continue;
        const size_t eq = entry.find('=');
        std::string field = entry.substr(0, eq);
        if (eq != std::string::npos) {
            const std::string value = entry.substr(eq + 1);
            if (value.empty() || value.size() > 9 ||
                value.find_first_not_of("-0123456789") != std::string::npos ||
                value.find('-', 1) != std::string::npos || value == "-") {
                why = "bad enum value \"" + value + "\" in \"" + text + "\"";
                return false;
            }
            next = std::stoi(value);
        }
        if (field.empty()) {
            why = "an enum field has no name in \"" + text + "\"";
            return false;
        }
        out.emplace_back(field, next++);
    }
    if (out.empty()) {
        why = "an enum attribute needs its fields (-enumName \"a:b:c\")";
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- compounds waiting for children

//! A compound or tuple that has fewer children than it was declared with.
struct Pending {
    NodePtr node;
    AttrPtr attr;
    unsigned needed = 0;
    std::string parentName;  // the pending compound it goes into, or "" for the node
};

//! The compounds waiting, by node and name. They are part of the command
//! layer's state: an addAttr with -parent finds the compound an earlier one
//! declared.
std::vector<std::shared_ptr<Pending>>& pendingCompounds() {
    static std::vector<std::shared_ptr<Pending>> pending;
    // Compounds of nodes that left the scene wait for nothing any more.
    std::erase_if(pending, [](const auto& p) { return !p->node->alive; });
    return pending;
}

std::shared_ptr<Pending> pendingNamed(const Node& node, const std::string& name) {
    for (const auto& p : pendingCompounds())
        if (p->node.get() == &node && (p->attr->name == name || p->attr->shortName == name))
            return p;
    return nullptr;
}

//! One step of an addAttr, undone in reverse and redone in order.
struct Step {
    enum Kind { Declare, AppendChild, Complete, AddToNode } kind;
    std::shared_ptr<Pending> pending;  // Declare, AppendChild (the parent), Complete
    AttrPtr attr;                      // AppendChild (the child), AddToNode
    NodePtr node;                      // AddToNode
};

MStatus doStep(const Step& s) {
    auto& pending = pendingCompounds();
    switch (s.kind) {
        case Step::Declare:
            pending.push_back(s.pending);
            return MStatus::kSuccess;
        case Step::AppendChild: {
            Attribute& parent = *s.pending->attr;
            s.attr->parent = &parent;
            s.attr->childIndex = static_cast<int>(parent.children.size());
            parent.children.push_back(s.attr);
            return MStatus::kSuccess;
        }
        case Step::Complete:
            std::erase(pending, s.pending);
            return MStatus::kSuccess;
        case Step::AddToNode:
            return addDynamicAttribute(*s.node, s.attr);
    }
    return MStatus::kFailure;
}

void undoStep(const Step& s) {
    auto& pending = pendingCompounds();
    switch (s.kind) {
        case Step::Declare:
            std::erase(pending, s.pending);
            break;
        case Step::AppendChild: {
            auto& kids = s.pending->attr->children;
            if (!kids.empty() && kids.back() == s.attr) kids.pop_back();
            s.attr->parent = nullptr;
            s.attr->childIndex = -1;
            break;
        }
        case Step::Complete:
            pending.push_back(s.pending);
            break;
        case Step::AddToNode:
            removeDynamicAttribute(*s.node, s.attr.get(), nullptr);
            break;
    }
}

// ---------------------------------------------------------------- addAttr

MSyntax addAttrSyntax() {
    MSyntax s;
    s.addFlag("-ln", "-longName", MSyntax::kString);
    s.addFlag("-sn", "-shortName", MSyntax::kString);
    s.addFlag("-nn", "-niceName", MSyntax::kString);
    s.addFlag("-at", "-attributeType", MSyntax::kString);
    s.addFlag("-dt", "-dataType", MSyntax::kString);
    s.makeFlagMultiUse("-dt");
    s.addFlag("-dv", "-defaultValue", MSyntax::kDouble);
    s.addFlag("-min", "-minValue", MSyntax::kDouble);
    s.addFlag("-max", "-maxValue", MSyntax::kDouble);
    s.addFlag("-smn", "-softMinValue", MSyntax::kDouble);
    s.addFlag("-smx", "-softMaxValue", MSyntax::kDouble);
    s.addFlag("-hnv", "-hasMinValue", MSyntax::kBoolean);
    s.addFlag("-hxv", "-hasMaxValue", MSyntax::kBoolean);
    s.addFlag("-hsn", "-hasSoftMinValue", MSyntax::kBoolean);
    s.addFlag("-hsx", "-hasSoftMaxValue", MSyntax::kBoolean);
    s.addFlag("-en", "-enumName", MSyntax::kString);
    s.addFlag("-k", "-keyable", MSyntax::kBoolean);
    s.addFlag("-h", "-hidden", MSyntax::kBoolean);
    s.addFlag("-s", "-storable", MSyntax::kBoolean);
    s.addFlag("-r", "-readable", MSyntax::kBoolean);
    s.addFlag("-w", "-writable", MSyntax::kBoolean);
    s.addFlag("-ci", "-cachedInternally", MSyntax::kBoolean);
    s.addFlag("-is", "-internalSet", MSyntax::kBoolean);
    s.addFlag("-im", "-indexMatters", MSyntax::kBoolean);
    s.addFlag("-m", "-multi");
    s.addFlag("-uac", "-usedAsColor");
    s.addFlag("-nc", "-numberOfChildren", MSyntax::kUnsigned);
    s.addFlag("-p", "-parent", MSyntax::kString);
    s.setObjectType(MSyntax::kStringObjects, 0);
    s.useSelectionAsDefault(true);
    return s;
}

class AddAttrCommand : public BuiltinCommand {
public:
    bool isUndoable() const override { return !steps_.empty(); }

    MStatus run(const MArgDatabase& db) override {
        std::vector<SelItem> items;
        if (MStatus st = objectsOrSelection(db, items); !st) return st;
        std::vector<NodePtr> nodes;
        for (const auto& i : items)
            if (std::find(nodes.begin(), nodes.end(), i.node) == nodes.end())
                nodes.push_back(i.node);
        for (const NodePtr& n : nodes) {
            MStatus st = addTo(db, n);
            if (!st) {
                undoIt();
                steps_.clear();
                return st;
            }
        }
        return MStatus::kSuccess;
    }

    MStatus undoIt() override {
        for (auto it = steps_.rbegin(); it != steps_.rend(); ++it) undoStep(*it);
        return MStatus::kSuccess;
    }

    MStatus redoIt() override {
        for (const Step& s : steps_)
            if (MStatus st = doStep(s); !st) return st;
        return MStatus::kSuccess;
    }

private:
    MStatus addTo(const MArgDatabase& db, const NodePtr& node) {
        AttrPtr attr;
        unsigned needed = 0;
        if (MStatus st = build(db, *node, attr, needed); !st) return st;
        std::string parentName;
        if (db.isFlagSet("-p")) {
            MString p;
            db.getFlagArgument("-p", 0, p);
            parentName = p.str();
        }
        if (needed > 0)
            return take({Step::Declare,
                         std::make_shared<Pending>(Pending{node, attr, needed, parentName}),
                         nullptr, nullptr});
        return place(node, attr, parentName);
    }

    //! Puts a complete attribute where it goes: on the node, or into the
    //! compound waiting for it (which may complete that compound in turn).
    MStatus place(const NodePtr& node, const AttrPtr& attr, const std::string& parentName) {
        if (parentName.empty()) {
            if (MStatus st = take({Step::AddToNode, nullptr, attr, node}); !st)
                return error(statusText(st));
            return MStatus::kSuccess;
        }
        auto parent = pendingNamed(*node, parentName);
        if (!parent) {
            if (node->cls->find(parentName))
                return error("attribute " + parentName + " of " + node->name +
                             " is complete: it takes no more children");
            return error("node " + node->name + " has no compound attribute " + parentName +
                         " waiting for children");
        }
        const Attribute& p = *parent->attr;
        if (p.kind == AttrKind::Numeric &&
            (attr->kind != AttrKind::Numeric || attr->isCompound() || attr->isAngle != p.isAngle))
            return error("a child of " + p.name + " (" + numericTypeName(p.numericType) +
                         ") must be a number");
        for (const auto& k : p.children)
            if (k->name == attr->name || k->shortName == attr->shortName)
                return error("compound " + p.name + " has a child named " + attr->name +
                             " already");
        take({Step::AppendChild, parent, attr, nullptr});
        if (parent->attr->children.size() < parent->needed) return MStatus::kSuccess;
        take({Step::Complete, parent, nullptr, nullptr});
        if (p.kind == AttrKind::Numeric) tupleDefaults(*parent->attr);
        return place(node, parent->attr, parent->parentName);
    }

    MStatus take(Step step) {
        MStatus st = doStep(step);
        if (st) steps_.push_back(std::move(step));
        return st;
    }

    //! A tuple's values start from its children's defaults.
    static void tupleDefaults(Attribute& tuple) {
        for (size_t k = 0; k < tuple.children.size() && k < 4; ++k)
            tuple.defaults[k] = tuple.children[k]->defaults[0];
    }

    std::string names(const MArgDatabase& db, std::string& longName, std::string& shortName) {
        MString ln, sn;
        if (db.isFlagSet("-ln")) db.getFlagArgument("-ln", 0, ln);
        if (db.isFlagSet("-sn")) db.getFlagArgument("-sn", 0, sn);
        if (!ln.length() && !sn.length()) return "a new attribute needs -longName or -shortName";
        longName = ln.length() ? ln.str() : sn.str();
        shortName = sn.length() ? sn.str() : longName;
        for (const std::string* n : {&longName, &shortName}) {
            std::string why;
            if (!Scene::validName(*n, &why)) return "invalid attribute name: " + why;
        }
        return "";
    }

    MStatus build(const MArgDatabase& db, const Node& node, AttrPtr& out, unsigned& needed) {
        std::string longName, shortName;
        if (std::string why = names(db, longName, shortName); !why.empty()) return error(why);
        for (const std::string* n : {&longName, &shortName})
            if (node.cls->find(*n) || pendingNamed(node, *n))
                return error("node " + node.name + " already has an attribute named " + *n);
        if (db.isFlagSet("-at") && db.isFlagSet("-dt"))
            return error("-attributeType and -dataType cannot be used together");

        auto a = std::make_shared<Attribute>();
        a->name = longName;
        a->shortName = shortName;
        if (db.isFlagSet("-dt")) {
            const unsigned uses = db.numberOfFlagUses("-dt");
            std::vector<MFnData::Type> types;
            for (unsigned u = 0; u < uses; ++u) {
                MArgList l;
                db.getFlagArgumentList("-dt", u, l);
                MFnData::Type t;
                if (!dataTypeNamed(l.asString(0).str(), t))
                    return error("unknown data type \"" + l.asString(0).str() + "\"");
                types.push_back(t);
            }
            if (types.size() == 1) {
                a->kind = AttrKind::Typed;
                a->dataType = types[0];
            } else {
                a->kind = AttrKind::Generic;
                a->acceptedData = types;
            }
        } else {
            MString typeName("double");
            if (db.isFlagSet("-at")) db.getFlagArgument("-at", 0, typeName);
            AttributeType type;
            if (!attributeTypeNamed(typeName.str(), type))
                return error("unknown attribute type \"" + typeName.str() + "\"");
            a->kind = type.kind;
            a->numericType = type.kind == AttrKind::Enum ? MFnNumericData::kShort : type.numeric;
            a->isAngle = type.angle;
            needed = type.tupleSize;
            if (type.kind == AttrKind::Compound) {
                if (!db.isFlagSet("-nc"))
                    return error("a compound attribute needs -numberOfChildren");
                db.getFlagArgument("-nc", 0, needed);
                if (needed == 0) return error("a compound attribute needs at least one child");
            } else if (db.isFlagSet("-nc") && !type.tupleSize) {
                return error("-numberOfChildren applies to compound attributes");
            }
            if (type.kind == AttrKind::Enum) {
                MString fields;
                if (db.isFlagSet("-en")) db.getFlagArgument("-en", 0, fields);
                std::string why;
                if (!enumFields(fields.str(), a->enumFields, why)) return error(why);
                a->defaults[0] = a->enumFields.front().second;
            }
        }
        if (MStatus st = numbersOf(db, *a); !st) return st;
        if (MStatus st = flagsOf(db, *a); !st) return st;
        out = a;
        return MStatus::kSuccess;
    }

    MStatus numbersOf(const MArgDatabase& db, Attribute& a) {
        const bool number =
            (a.kind == AttrKind::Numeric && !a.isCompound()) || a.kind == AttrKind::Enum;
        for (const char* flag : {"-dv", "-min", "-max", "-smn", "-smx"})
            if (db.isFlagSet(flag) &&
                (!number || (a.kind == AttrKind::Numeric && numericComponents(a.numericType) > 1)))
                return error(std::string(flag) + " applies to attributes of one number");
        if (!number) return MStatus::kSuccess;
        if (db.isFlagSet("-dv")) {
            double v = 0;
            db.getFlagArgument("-dv", 0, v);
            if (a.isAngle) v = v * 3.14159265358979323846 / 180.0;
            if (!holdsNumber(a.numericType, v))
                return error(cannotHoldText(a.name + " default", a.numericType, v));
            a.defaults[0] = storeAsNumeric(a.numericType, v);
        }
        struct L {
            const char* value;
            const char* has;
            Attribute::Limit Attribute::*limit;
        };
        for (const L& l :
             {L{"-min", "-hnv", &Attribute::min}, L{"-max", "-hxv", &Attribute::max},
              L{"-smn", "-hsn", &Attribute::softMin}, L{"-smx", "-hsx", &Attribute::softMax}}) {
            Attribute::Limit& limit = a.*(l.limit);
            if (db.isFlagSet(l.value)) {
                limit.set = true;
                db.getFlagArgument(l.value, 0, limit.value);
            }
            if (db.isFlagSet(l.has)) {
                bool on = false;
                db.getFlagArgument(l.has, 0, on);
                limit.set = on;
            }
        }
        if (a.min.set && a.max.set && a.min.value > a.max.value)
            return error("the minimum of " + a.name + " is above its maximum");
        return MStatus::kSuccess;
    }

    MStatus flagsOf(const MArgDatabase& db, Attribute& a) {
        struct F {
            const char* flag;
            bool Attribute::*field;
        };
        for (const F& f : {F{"-k", &Attribute::keyable}, F{"-h", &Attribute::hidden},
                           F{"-s", &Attribute::storable}, F{"-r", &Attribute::readable},
                           F{"-w", &Attribute::writable}, F{"-ci", &Attribute::cached},
                           F{"-is", &Attribute::internal}, F{"-im", &Attribute::indexMatters}})
            if (db.isFlagSet(f.flag)) {
                bool on = false;
                db.getFlagArgument(f.flag, 0, on);
                a.*(f.field) = on;
            }
        if (db.isFlagSet("-m")) {
            if (db.isFlagSet("-p"))
                return error("attribute " + a.name +
                             " is a child: only the top of an attribute can be an array here");
            a.array = true;
        }
        if (a.kind == AttrKind::Message && !db.isFlagSet("-s")) a.storable = false;
        return MStatus::kSuccess;
    }

    std::vector<Step> steps_;
};

// ---------------------------------------------------------------- deleteAttr

MSyntax deleteAttrSyntax() {
    MSyntax s;
    s.addFlag("-at", "-attribute", MSyntax::kString);
    s.addFlag("-n", "-name", MSyntax::kString);
    s.setObjectType(MSyntax::kStringObjects, 0);
    return s;
}

class DeleteAttrCommand : public ModifierCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        std::vector<std::string> targets;
        MString attr;
        if (db.isFlagSet("-at")) db.getFlagArgument("-at", 0, attr);
        MStringArray objects = objectNames(db);
        if (db.isFlagSet("-n")) {
            MString n;
            db.getFlagArgument("-n", 0, n);
            objects.append(n);
        }
        for (unsigned i = 0; i < objects.length(); ++i) {
            const std::string o = objects[i].str();
            if (o.find('.') != std::string::npos) {
                if (attr.length())
                    return error("name the attribute either in " + o + " or with -attribute");
                targets.push_back(o);
            } else {
                if (!attr.length())
                    return error("-attribute names the attribute of " + o + " to delete");
                targets.push_back(o + "." + attr.str());
            }
        }
        if (targets.empty()) return error("name the attribute to delete (node.attribute)");
        for (const std::string& t : targets) {
            std::vector<SelItem> items;
            std::string why;
            if (!resolveName(t, items, why)) return error(why);
            for (const SelItem& item : items) {
                if (!item.plug.attr) return error(t + " is not an attribute");
                const Attribute* a = item.plug.attr;
                if (!a->dynamic)
                    return error(item.node->name + "." + a->name +
                                 " belongs to the node's type: only attributes added with addAttr "
                                 "can be deleted");
                if (a->parent)
                    return error(item.node->name + "." + a->name + " is a child of " +
                                 a->parent->name + ": delete the whole attribute");
                modifier.removeAttribute(api::wrap(item.node), api::wrap(api::share(a)));
            }
        }
        return applyModifier();
    }
};

void add(Commands& c) {
    addBuiltin<AddAttrCommand>(c, "addAttr", addAttrSyntax);
    addBuiltin<DeleteAttrCommand>(c, "deleteAttr", deleteAttrSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace

}  // namespace ehost
