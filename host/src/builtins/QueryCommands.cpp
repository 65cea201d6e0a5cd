// nodeType, objExists, isConnected, listConnections, attributeQuery and print.

#include <maya/MDoubleArray.h>
#include <maya/MStringArray.h>

#include <algorithm>
#include <cctype>
#include <iostream>

#include "host/src/builtins/Builtin.h"
#include "host/src/core/MessageLog.h"
#include "host/src/dag/Dag.h"
#include "host/src/dag/Resolve.h"
#include "host/src/dag/Selection.h"
#include "host/src/dg/Data.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"

namespace ehost {

namespace {

std::string nameOf(const Node& n, bool full) {
    if (full)
        if (auto* d = dynamic_cast<const DagNode*>(&n)) return d->fullPath();
    return n.name;
}

std::string plugText(const Node& n, const PlugAddr& p, bool full) {
    return nameOf(n, full) + "." + plugName(p);
}

//! The plug a "node.attr" text names; false with the host's reason otherwise.
bool plugNamed(const std::string& text, SelItem& out, std::string& why) {
    std::vector<SelItem> items;
    if (!resolveName(text, items, why)) return false;
    if (items.size() != 1 || !items[0].plug.attr) {
        why = "\"" + text + "\" is not an attribute";
        return false;
    }
    out = items[0];
    return true;
}

//! The types a node type is, from the most general to itself.
std::vector<std::string> inheritance(const NodeClass& cls) {
    std::vector<std::string> chain;
    for (const NodeClass* c = &cls; c; c = c->base) chain.push_back(c->typeName);
    std::reverse(chain.begin(), chain.end());
    std::vector<std::string> implied;
    if (cls.role != NodeRole::Depend) implied.push_back("dagNode");
    if (cls.role == NodeRole::Shape || cls.role == NodeRole::Locator) implied.push_back("shape");
    for (auto it = implied.rbegin(); it != implied.rend(); ++it)
        if (std::find(chain.begin(), chain.end(), *it) == chain.end())
            chain.insert(chain.begin(), *it);
    return chain;
}

// ---------------------------------------------------------------- nodeType

MSyntax nodeTypeSyntax() {
    MSyntax s;
    s.addFlag("-api", "-apiType");
    s.addFlag("-d", "-derived");
    s.addFlag("-i", "-inherited");
    s.addFlag("-itn", "-isTypeName");
    s.setObjectType(MSyntax::kStringObjects, 0, 1);
    return s;
}

class NodeTypeCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        const MStringArray names = objectNames(db);
        if (names.length() == 0) return notEnoughObjects();
        const NodeClass* cls = nullptr;
        MFn::Type kind = MFn::kInvalid;
        if (db.isFlagSet("-itn")) {
            cls = theRegistry().findClass(names[0].str());
            if (!cls) return error("Unknown object type: " + names[0].str());
            kind = cls->kind;
        } else {
            std::vector<SelItem> items;
            if (MStatus st = resolveObjects(names, items); !st) return st;
            cls = items.front().node->cls;
            kind = items.front().node->apiType();
        }
        if (db.isFlagSet("-api")) {
            setResult(MString(kindName(kind)));
        } else if (db.isFlagSet("-d")) {
            MStringArray out;
            for (const auto& c : theRegistry().classes())
                if (c->isA(cls->typeName)) out.append(MString(c->typeName));
            setResult(out);
        } else if (db.isFlagSet("-i")) {
            MStringArray out;
            for (const auto& t : inheritance(*cls)) out.append(MString(t));
            setResult(out);
        } else {
            setResult(MString(cls->typeName));
        }
        return MStatus::kSuccess;
    }
};

// ---------------------------------------------------------------- objExists

MSyntax objExistsSyntax() {
    MSyntax s;
    s.addArg(MSyntax::kString);
    return s;
}

class ObjExistsCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        MString name;
        if (!db.getCommandArgument(0, name)) return notEnoughObjects();
        std::vector<SelItem> items;
        std::string why;
        setResult(resolveName(name.str(), items, why) && !items.empty());
        return MStatus::kSuccess;
    }
};

// ---------------------------------------------------------------- isConnected

MSyntax isConnectedSyntax() {
    MSyntax s;
    s.addArg(MSyntax::kString);
    s.addArg(MSyntax::kString);
    s.addFlag("-iuc", "-ignoreUnitConversion");
    return s;
}

class IsConnectedCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        MString a, b;
        if (!db.getCommandArgument(0, a) || !db.getCommandArgument(1, b))
            return error("needs a source and a destination attribute");
        SelItem src, dst;
        std::string why;
        if (!plugNamed(a.str(), src, why) || !plugNamed(b.str(), dst, why)) return error(why);
        auto it = dst.node->inputs.find(dst.plug);
        setResult(it != dst.node->inputs.end() && it->second.node == src.node.get() &&
                  it->second.addr == src.plug);
        return MStatus::kSuccess;
    }
};

// ---------------------------------------------------------------- listConnections

MSyntax listConnectionsSyntax() {
    MSyntax s;
    s.addFlag("-s", "-source", MSyntax::kBoolean);
    s.addFlag("-d", "-destination", MSyntax::kBoolean);
    s.addFlag("-p", "-plugs", MSyntax::kBoolean);
    s.addFlag("-c", "-connections", MSyntax::kBoolean);
    s.addFlag("-sh", "-shapes", MSyntax::kBoolean);
    s.addFlag("-t", "-type", MSyntax::kString);
    s.addFlag("-et", "-exactType", MSyntax::kBoolean);
    s.addFlag("-scn", "-skipConversionNodes", MSyntax::kBoolean);
    s.addFlag("-fnn", "-fullNodeName", MSyntax::kBoolean);
    s.setObjectType(MSyntax::kStringObjects, 0);
    return s;
}

class ListConnectionsCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        auto flag = [&](const char* f, bool otherwise) {
            bool v = otherwise;
            if (db.isFlagSet(f)) db.getFlagArgument(f, 0, v);
            return v;
        };
        const bool sources = flag("-s", true), destinations = flag("-d", true);
        const bool plugs = flag("-p", false), pairs = flag("-c", false);
        const bool shapes = flag("-sh", false), exact = flag("-et", false);
        const bool full = flag("-fnn", false);
        MString type;
        if (db.isFlagSet("-t")) db.getFlagArgument("-t", 0, type);

        std::vector<SelItem> items;
        const MStringArray names = objectNames(db);
        if (names.length() == 0)
            items = theSelection().items;
        else if (MStatus st = resolveObjects(names, items); !st)
            return st;

        MStringArray out;
        for (const auto& item : items) {
            for (const auto& c : connections(*item.node)) {
                if (c.incoming ? !sources : !destinations) continue;
                if (item.plug.attr && !within(c.local, item.plug)) continue;
                const Node& other = *c.other.node;
                if (type.length() &&
                    !(exact ? other.cls->typeName == type.str() : other.cls->isA(type.str())))
                    continue;
                if (pairs) out.append(MString(plugText(*item.node, c.local, full)));
                if (plugs) {
                    out.append(MString(plugText(other, c.other.addr, full)));
                } else {
                    // A shape stands for its transform unless shapes are asked for.
                    const Node* shown = &other;
                    if (!shapes && (other.cls->role == NodeRole::Shape ||
                                    other.cls->role == NodeRole::Locator))
                        if (auto* d = dynamic_cast<const DagNode*>(&other);
                            d && d->parent && !d->parent->isWorld())
                            shown = d->parent;
                    out.append(MString(nameOf(*shown, full)));
                }
            }
        }
        setResult(out);
        return MStatus::kSuccess;
    }

private:
    struct Connection {
        PlugAddr local;
        PlugRef other;
        bool incoming;
    };

    //! The node's connections in the order of its attributes, each plug's
    //! input before its outputs.
    static std::vector<Connection> connections(Node& node) {
        std::vector<Connection> out;
        for (const auto& [addr, src] : node.inputs) out.push_back({addr, src, true});
        for (const auto& [addr, dst] : node.outputs) out.push_back({addr, dst, false});
        std::stable_sort(out.begin(), out.end(), [&](const Connection& a, const Connection& b) {
            int ia = node.cls->indexOf(a.local.attr), ib = node.cls->indexOf(b.local.attr);
            if (ia != ib) return ia < ib;
            if (a.local.index != b.local.index) return a.local.index < b.local.index;
            return a.incoming && !b.incoming;
        });
        return out;
    }

    //! Whether a connected plug is the plug asked about, or one of its elements.
    static bool within(const PlugAddr& local, const PlugAddr& asked) {
        if (local == asked) return true;
        return asked.index < 0 && asked.attr->array && local.attr == asked.attr;
    }
};

// ---------------------------------------------------------------- attributeQuery

MSyntax attributeQuerySyntax() {
    MSyntax s;
    s.addFlag("-n", "-node", MSyntax::kString);
    s.addFlag("-typ", "-type", MSyntax::kString);
    s.addFlag("-tex", "-typeExact", MSyntax::kString);
    // Questions with a yes or no answer (several are answered together).
    for (auto [sh, lg] :
         std::initializer_list<std::pair<const char*, const char*>>{{"-ex", "-exists"},
                                                                    {"-c", "-connectable"},
                                                                    {"-en", "-enum"},
                                                                    {"-h", "-hidden"},
                                                                    {"-ix", "-indexMatters"},
                                                                    {"-i", "-internal"},
                                                                    {"-k", "-keyable"},
                                                                    {"-msg", "-message"},
                                                                    {"-m", "-multi"},
                                                                    {"-r", "-readable"},
                                                                    {"-s", "-storable"},
                                                                    {"-w", "-writable"},
                                                                    {"-ch", "-channelBox"},
                                                                    {"-ca", "-cachedInternally"},
                                                                    {"-uac", "-usedAsColor"},
                                                                    {"-uaf", "-usedAsFilename"},
                                                                    {"-umb", "-usesMultiBuilder"},
                                                                    {"-ws", "-worldspace"},
                                                                    {"-mne", "-minExists"},
                                                                    {"-mxe", "-maxExists"},
                                                                    {"-sme", "-softMinExists"},
                                                                    {"-sxe", "-softMaxExists"},
                                                                    {"-re", "-rangeExists"},
                                                                    {"-sre", "-softRangeExists"}})
        s.addFlag(sh, lg);
    // Questions with other answers (one at a time).
    for (auto [sh, lg] :
         std::initializer_list<std::pair<const char*, const char*>>{{"-ln", "-longName"},
                                                                    {"-sn", "-shortName"},
                                                                    {"-nn", "-niceName"},
                                                                    {"-at", "-attributeType"},
                                                                    {"-lc", "-listChildren"},
                                                                    {"-lp", "-listParent"},
                                                                    {"-ls", "-listSiblings"},
                                                                    {"-nc", "-numberOfChildren"},
                                                                    {"-ld", "-listDefault"},
                                                                    {"-le", "-listEnum"},
                                                                    {"-min", "-minimum"},
                                                                    {"-max", "-maximum"},
                                                                    {"-smn", "-softMin"},
                                                                    {"-smx", "-softMax"},
                                                                    {"-ra", "-range"},
                                                                    {"-sr", "-softRange"}})
        s.addFlag(sh, lg);
    s.setObjectType(MSyntax::kStringObjects, 0, 1);
    return s;
}

std::string niceName(const std::string& name) {
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        bool upper = std::isupper(static_cast<unsigned char>(c));
        bool digit = std::isdigit(static_cast<unsigned char>(c));
        if (i > 0) {
            char p = name[i - 1];
            bool afterLower = std::islower(static_cast<unsigned char>(p));
            bool afterDigit = std::isdigit(static_cast<unsigned char>(p));
            if ((upper && (afterLower || afterDigit)) || (digit && !afterDigit)) out += ' ';
        }
        out += i == 0 ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
    }
    return out;
}

std::string attributeType(const Attribute& a) {
    switch (a.kind) {
        case AttrKind::Typed:
            return "typed";
        case AttrKind::Generic:
            return "generic";
        case AttrKind::Message:
            return "message";
        case AttrKind::Matrix:
            return "matrix";
        case AttrKind::Enum:
            return "enum";
        case AttrKind::Compound:
            return "compound";
        case AttrKind::Numeric:
            break;
    }
    if (a.isCompound()) {
        // A compound of numbers is named by the kind and count of its children.
        std::string child = attributeType(*a.children.front());
        if (child == "doubleAngle" || child == "doubleLinear") child = "double";
        return child + std::to_string(a.children.size());
    }
    if (a.isAngle) return "doubleAngle";
    // Numbers without a name of their own (addresses) read as doubles.
    const std::string name = numericTypeName(a.numericType);
    return name == "unknown" ? "double" : name;
}

class AttributeQueryCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        const NodeClass* cls = nullptr;
        std::string owner;
        if (db.isFlagSet("-n")) {
            MString n;
            db.getFlagArgument("-n", 0, n);
            Node* node = resolveNode(n.str());
            if (!node) return error("No object matches name: " + n.str());
            cls = node->cls;
            owner = "node '" + node->name + "'";
        } else if (db.isFlagSet("-typ") || db.isFlagSet("-tex")) {
            const char* f = db.isFlagSet("-typ") ? "-typ" : "-tex";
            MString t;
            db.getFlagArgument(f, 0, t);
            cls = theRegistry().findClass(t.str());
            if (!cls) return error("Unknown object type: " + t.str());
            owner = "node type '" + cls->typeName + "'";
        } else {
            return error("Must specify a node (-node) or a node type (-type).");
        }
        const MStringArray names = objectNames(db);
        if (names.length() == 0) return error("No attribute was given.");
        const std::string attrName = names[0].str();
        const Attribute* a = cls->find(attrName);

        static const char* const questions[] = {"-ex",  "-c",   "-en",  "-h",   "-ix",  "-i",
                                                "-k",   "-msg", "-m",   "-r",   "-s",   "-w",
                                                "-ch",  "-ca",  "-uac", "-uaf", "-umb", "-ws",
                                                "-mne", "-mxe", "-sme", "-sxe", "-re",  "-sre"};
        static const char* const answers[] = {"-ln",  "-sn",  "-nn", "-at", "-lc",  "-lp",
                                              "-ls",  "-nc",  "-ld", "-le", "-min", "-max",
                                              "-smn", "-smx", "-ra", "-sr"};
        std::vector<const char*> asked, other;
        for (const char* f : questions)
            if (db.isFlagSet(f)) asked.push_back(f);
        for (const char* f : answers)
            if (db.isFlagSet(f)) other.push_back(f);
        if (other.size() > 1 || (other.size() == 1 && !asked.empty()))
            return error("only yes-or-no questions can be asked together");
        if (asked.empty() && other.empty()) return error("nothing was asked about " + attrName);

        if (!a) {
            if (asked.size() == 1 && std::string(asked[0]) == "-ex") {
                setResult(false);
                return MStatus::kSuccess;
            }
            return error("No attribute named '" + attrName + "' on " + owner + ".");
        }
        if (!asked.empty()) {
            bool all = true;
            for (const char* f : asked) all = all && answer(*a, f);
            setResult(all);
            return MStatus::kSuccess;
        }
        return report(*a, other.front());
    }

private:
    static bool answer(const Attribute& a, const std::string& f) {
        if (f == "-ex") return true;
        if (f == "-c") return a.connectable;
        if (f == "-en") return a.kind == AttrKind::Enum;
        if (f == "-h") return a.hidden;
        if (f == "-ix") return a.indexMatters;
        if (f == "-i") return a.internal;
        if (f == "-k") return a.keyable;
        if (f == "-msg") return a.kind == AttrKind::Message;
        if (f == "-m") return a.array;
        if (f == "-r") return a.readable;
        if (f == "-s") return a.storable;
        if (f == "-w") return a.writable;
        if (f == "-ch") return a.channelBox;
        if (f == "-ca") return a.cached;
        if (f == "-umb") return a.usesArrayDataBuilder;
        if (f == "-ws") return a.world;
        if (f == "-mne") return a.min.set;
        if (f == "-mxe") return a.max.set;
        if (f == "-sme") return a.softMin.set;
        if (f == "-sxe") return a.softMax.set;
        if (f == "-re") return a.min.set && a.max.set;
        if (f == "-sre") return a.softMin.set && a.softMax.set;
        return false;  // used as a colour or a file name: never, here
    }

    MStatus limits(const Attribute& a, std::initializer_list<const Attribute::Limit*> wanted) {
        MDoubleArray out;
        for (const auto* l : wanted) {
            if (!l->set) return error("attribute '" + a.name + "' has no such limit");
            out.append(l->value);
        }
        setResult(out);
        return MStatus::kSuccess;
    }

    MStatus report(const Attribute& a, const std::string& f) {
        MStringArray names;
        if (f == "-ln") {
            setResult(MString(a.name));
        } else if (f == "-sn") {
            setResult(MString(a.shortName.empty() ? a.name : a.shortName));
        } else if (f == "-nn") {
            setResult(MString(niceName(a.name)));
        } else if (f == "-at") {
            setResult(MString(attributeType(a)));
        } else if (f == "-lc") {
            for (const auto& c : a.children) names.append(MString(c->name));
            setResult(names);
        } else if (f == "-lp") {
            if (a.parent) names.append(MString(a.parent->name));
            setResult(names);
        } else if (f == "-ls") {
            if (a.parent)
                for (const auto& c : a.parent->children)
                    if (c.get() != &a) names.append(MString(c->name));
            setResult(names);
        } else if (f == "-nc") {
            setResult(static_cast<int>(a.children.size()));
        } else if (f == "-ld") {
            MDoubleArray out;
            if (a.isCompound())
                for (const auto& c : a.children) out.append(c->defaults[0]);
            else if (a.kind == AttrKind::Numeric || a.kind == AttrKind::Enum)
                out.append(a.defaults[0]);
            setResult(out);
        } else if (f == "-le") {
            if (a.kind != AttrKind::Enum) return error("attribute '" + a.name + "' is not an enum");
            std::string text;
            int expected = 0;
            for (const auto& [field, value] : a.enumFields) {
                if (!text.empty()) text += ":";
                text += field;
                if (value != expected) text += "=" + std::to_string(value);
                expected = value + 1;
            }
            names.append(MString(text));
            setResult(names);
        } else if (f == "-min") {
            return limits(a, {&a.min});
        } else if (f == "-max") {
            return limits(a, {&a.max});
        } else if (f == "-smn") {
            return limits(a, {&a.softMin});
        } else if (f == "-smx") {
            return limits(a, {&a.softMax});
        } else if (f == "-ra") {
            return limits(a, {&a.min, &a.max});
        } else if (f == "-sr") {
            return limits(a, {&a.softMin, &a.softMax});
        }
        return MStatus::kSuccess;
    }
};

// ---------------------------------------------------------------- print

MSyntax printSyntax() {
    MSyntax s;
    s.setObjectType(MSyntax::kStringObjects, 0);
    return s;
}

//! Writes its argument as it is, without adding a line end; the elements of
//! an array each on a line of their own.
class PrintCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        const MStringArray args = objectNames(db);
        if (args.length() == 0) return error("needs something to print");
        std::string text;
        if (args.length() == 1)
            text = args[0].str();
        else
            for (unsigned i = 0; i < args.length(); ++i) text += args[i].str() + "\n";
        theMessages().print(text);
        return MStatus::kSuccess;
    }
};

void add(Commands& c) {
    addBuiltin<NodeTypeCommand>(c, "nodeType", nodeTypeSyntax);
    addBuiltin<ObjExistsCommand>(c, "objExists", objExistsSyntax);
    addBuiltin<IsConnectedCommand>(c, "isConnected", isConnectedSyntax);
    addBuiltin<ListConnectionsCommand>(c, "listConnections", listConnectionsSyntax);
    addBuiltin<AttributeQueryCommand>(c, "attributeQuery", attributeQuerySyntax);
    addBuiltin<PrintCommand>(c, "print", printSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
