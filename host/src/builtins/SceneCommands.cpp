// createNode, delete, rename, duplicate, connectAttr, disconnectAttr,
// constructionHistory.

#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "host/src/builtins/Builtin.h"
#include "host/src/core/StatusText.h"
#include "host/src/dag/DagOps.h"
#include "host/src/dag/Resolve.h"
#include "host/src/dag/Selection.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"
#include "host/src/nodes/Duplicate.h"
#include "host/src/nodes/History.h"
#include "host/src/nodes/MeshShape.h"

namespace ehost {

namespace {

//! The active selection before a command changed it, to put back on undo.
struct SelectionMemo {
    void save() { items = theSelection().items; }
    void restore() {
        auto& sel = theSelection().items;
        sel.clear();
        for (const auto& i : items)
            if (i.node->alive) sel.push_back(i);
    }
    std::vector<SelItem> items;
};

// ---------------------------------------------------------------- createNode

MSyntax createNodeSyntax() {
    MSyntax s;
    s.addArg(MSyntax::kString);
    s.addFlag("-n", "-name", MSyntax::kString);
    s.addFlag("-p", "-parent", MSyntax::kString);
    s.addFlag("-ss", "-skipSelect");
    return s;
}

class CreateNodeCommand : public ModifierCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        MStatus st;
        MString type, wanted, parentName;
        db.getCommandArgument(0, type);
        if (db.isFlagSet("-n")) db.getFlagArgument("-n", 0, wanted);
        NodeClass* cls = theRegistry().findClass(type.str());
        if (!cls) return error("Unknown object type: " + type.str());
        MObject parent;
        if (db.isFlagSet("-p")) {
            db.getFlagArgument("-p", 0, parentName);
            Node* p = resolveNode(parentName.str());
            if (!p) return error("No object matches name: " + parentName.str());
            parent = api::wrap(p->self());
        }
        std::string why;
        if (wanted.length() && !Scene::validName(wanted.str(), &why)) return error(why);
        MObject made = modifier.createNode(type, parent, &st);
        if (!st) return error(st.errorString().str());
        if (st = applyModifier(); !st) return st;
        // A shape made without a parent comes under a new transform.
        NodePtr top = api::nodeOf(made);
        node = top;
        if (top->cls != cls)
            if (auto* d = dynamic_cast<DagNode*>(top.get()); d && !d->children.empty())
                node = d->children.front();
        if (wanted.length() && node->name != wanted.str()) theScene().rename(*node, wanted.str());
        skipSelect = db.isFlagSet("-ss");
        memo.save();
        select();
        setResult(MString(node->name));
        return MStatus::kSuccess;
    }
    MStatus undoIt() override {
        modifier.undoIt();
        memo.restore();
        return MStatus::kSuccess;
    }
    MStatus redoIt() override {
        MStatus st = modifier.doIt();
        select();
        return st;
    }

private:
    void select() {
        if (skipSelect || !node || !node->alive) return;
        auto& sel = theSelection().items;
        sel.clear();
        sel.push_back(SelItem{node, nullptr, {}});
    }
    NodePtr node;
    bool skipSelect = false;
    SelectionMemo memo;
};

// ---------------------------------------------------------------- delete

MSyntax deleteSyntax() {
    MSyntax s;
    s.addFlag("-ch", "-constructionHistory");
    s.setObjectType(MSyntax::kStringObjects, 0);
    s.useSelectionAsDefault(true);
    return s;
}

class DeleteCommand : public BuiltinCommand {
public:
    bool isUndoable() const override { return true; }
    MStatus run(const MArgDatabase& db) override {
        std::vector<SelItem> items;
        if (MStatus st = objectsOrSelection(db, items); !st) return st;
        history = db.isFlagSet("-ch");
        for (const auto& i : items) {
            if (i.component)
                return error("deleting components is not supported: " + itemStrings(i).front());
            targets.push_back(i.node);
        }
        return redoIt();
    }
    MStatus redoIt() override {
        if (history) {
            edits.clear();
            for (MeshShape* shape : historyShapes()) edits.push_back(deleteHistory(*shape));
            return MStatus::kSuccess;
        }
        std::vector<Node*> nodes;
        for (auto& n : targets)
            if (n->alive) nodes.push_back(n.get());
        removal = removeNodes(nodes);
        return MStatus::kSuccess;
    }
    MStatus undoIt() override {
        if (history) {
            for (auto it = edits.rbegin(); it != edits.rend(); ++it) restoreHistory(*it);
            return MStatus::kSuccess;
        }
        restore(removal);
        return MStatus::kSuccess;
    }

private:
    //! The meshes whose history goes: a named transform stands for its shapes,
    //! as in the host.
    std::vector<MeshShape*> historyShapes() const {
        std::vector<MeshShape*> shapes;
        auto add = [&](Node* n) {
            auto* shape = dynamic_cast<MeshShape*>(n);
            if (shape && std::find(shapes.begin(), shapes.end(), shape) == shapes.end())
                shapes.push_back(shape);
        };
        for (const auto& n : targets) {
            add(n.get());
            if (n->cls->role == NodeRole::Transform)
                for (const auto& child : static_cast<DagNode&>(*n).children) add(child.get());
        }
        return shapes;
    }

    std::vector<NodePtr> targets;
    bool history = false;
    Removal removal;
    std::vector<HistoryRemoval> edits;
};

// ---------------------------------------------------------------- rename

MSyntax renameSyntax() {
    MSyntax s;
    s.addArg(MSyntax::kString);
    s.addArg(MSyntax::kString);
    s.addFlag("-is", "-ignoreShape");
    s.addFlag("-uid", "-uuid");
    return s;
}

//! The name with "Shape" before its trailing digits: pCube1 -> pCubeShape1.
std::string shapeNameFor(const std::string& transform) {
    size_t end = transform.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(transform[end - 1]))) --end;
    return transform.substr(0, end) + "Shape" + transform.substr(end);
}

//! "#" in a new name stands for the first number that makes it unique.
std::string numbered(const std::string& wanted) {
    const size_t hash = wanted.find('#');
    if (hash == std::string::npos) return wanted;
    const std::string head = wanted.substr(0, hash), tail = wanted.substr(hash + 1);
    for (long long n = 1;; ++n) {
        std::string name = head + std::to_string(n) + tail;
        if (!theScene().find(name)) return name;
    }
}

// rename [-ignoreShape] [object] newName: with one name, the first selected
// object is renamed. A transform's shapes named after it follow it.
class RenameCommand : public ModifierCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        MString first, second;
        db.getCommandArgument(0, first);
        const bool twoNames = db.getCommandArgument(1, second);
        if (db.isFlagSet("-uid"))
            return error("nodes have no UUIDs in the embedded host: -uuid is not supported");
        Node* n = nullptr;
        std::string wanted;
        if (twoNames) {
            n = resolveNode(first.str());
            if (!n) return error("No object matches name: " + first.str());
            wanted = second.str();
        } else {
            const auto& sel = theSelection().items;
            if (sel.empty()) return error("No object to rename: name one or select one");
            n = sel.front().node.get();
            wanted = first.str();
        }
        if (wanted.find('#') != std::string::npos) {
            std::string probe = wanted;
            std::replace(probe.begin(), probe.end(), '#', '1');
            std::string why;
            if (!Scene::validName(probe, &why) || std::count(wanted.begin(), wanted.end(), '#') > 1)
                return error(why.empty() ? "a new name takes one \"#\"" : why);
            wanted = numbered(wanted);
        }
        std::string why;
        if (!Scene::validName(wanted, &why)) return error(why);
        const std::string old = n->name;
        modifier.renameNode(api::wrap(n->self()), MString(wanted));
        if (MStatus st = applyModifier(); !st) return st;
        if (!db.isFlagSet("-is")) renameShapes(*n, old);
        setResult(MString(n->name));
        return MStatus::kSuccess;
    }

    MStatus undoIt() override {
        if (shapeRenames_) shapeRenames_->undoIt();
        return ModifierCommand::undoIt();
    }
    MStatus redoIt() override {
        MStatus st = ModifierCommand::redoIt();
        if (st && shapeRenames_) shapeRenames_->doIt();
        return st;
    }

private:
    //! Renames the shapes named after the transform (pCubeShape1 of pCube1),
    //! in the same undo step.
    void renameShapes(Node& transform, const std::string& oldName) {
        auto* t = dynamic_cast<DagNode*>(&transform);
        if (!t || transform.cls->role != NodeRole::Transform || transform.name == oldName) return;
        auto shapes = std::make_unique<MDGModifier>();
        bool any = false;
        for (const NodePtr& c : t->children)
            if (c->cls->role == NodeRole::Shape && c->name == shapeNameFor(oldName)) {
                shapes->renameNode(api::wrap(c), MString(shapeNameFor(transform.name)));
                any = true;
            }
        if (!any) return;
        shapes->doIt();
        shapeRenames_ = std::move(shapes);
    }
    std::unique_ptr<MDGModifier> shapeRenames_;
};

// ---------------------------------------------------------------- duplicate

MSyntax duplicateSyntax() {
    MSyntax s;
    s.addFlag("-n", "-name", MSyntax::kString);
    s.addFlag("-rr", "-returnRootsOnly");
    s.addFlag("-po", "-parentOnly");
    s.addFlag("-f", "-fullPath");
    s.addFlag("-rc", "-renameChildren");
    s.setObjectType(MSyntax::kStringObjects, 0);
    s.useSelectionAsDefault(true);
    return s;
}

class DuplicateCommand : public BuiltinCommand {
public:
    bool isUndoable() const override { return true; }
    MStatus run(const MArgDatabase& db) override {
        std::vector<SelItem> items;
        MStatus st = objectsOrSelection(db, items);
        if (!st) return st;
        MString wanted;
        if (db.isFlagSet("-n")) {
            db.getFlagArgument("-n", 0, wanted);
            std::string why;
            if (!Scene::validName(wanted.str(), &why)) return error(why);
        }
        MStringArray result;
        memo.save();
        theSelection().items.clear();
        for (const auto& i : items) {
            auto* d = dynamic_cast<DagNode*>(i.node.get());
            if (!d || i.component)
                return failAll("only DAG objects can be duplicated: " + i.node->name);
            NodePtr top = duplicateDag(*d, &st, db.isFlagSet("-po"));
            if (!top) return failAll(st.errorString().str());
            made.push_back(top);
            if (wanted.length() && items.size() == 1) theScene().rename(*top, wanted.str());
            // Children always get names of their own (-renameChildren asks for that).
            auto* copy = static_cast<DagNode*>(top.get());
            result.append(MString(db.isFlagSet("-f") ? copy->fullPath() : top->name));
            theSelection().items.push_back(SelItem{top, nullptr, {}});
        }
        setResult(result);
        return MStatus::kSuccess;
    }
    MStatus undoIt() override {
        std::vector<Node*> nodes;
        for (auto& n : made) nodes.push_back(n.get());
        removal = removeNodes(nodes);
        memo.restore();
        return MStatus::kSuccess;
    }
    MStatus redoIt() override {
        restore(removal);
        auto& sel = theSelection().items;
        sel.clear();
        for (auto& n : made) sel.push_back(SelItem{n, nullptr, {}});
        return MStatus::kSuccess;
    }

private:
    MStatus failAll(const std::string& text) {
        undoIt();
        return error(text);
    }
    std::vector<NodePtr> made;
    Removal removal;
    SelectionMemo memo;
};

// ---------------------------------------------------------------- connectAttr / disconnectAttr

MSyntax connectSyntax() {
    MSyntax s;
    s.addArg(MSyntax::kString);
    s.addArg(MSyntax::kString);
    s.addFlag("-f", "-force");
    return s;
}

bool plugNamed(const std::string& text, MPlug& plug, std::string& why) {
    std::vector<SelItem> items;
    if (!resolveName(text, items, why)) return false;
    if (items.size() != 1 || !items[0].plug.attr) {
        why = "\"" + text + "\" is not an attribute";
        return false;
    }
    plug = api::makePlug(items[0].node, items[0].plug);
    return true;
}

//! The source and destination plugs of connectAttr and disconnectAttr, with
//! their names as given.
struct PlugPair {
    MString a, b;
    MPlug src, dst;

    bool read(const MArgDatabase& db, std::string& why) {
        db.getCommandArgument(0, a);
        db.getCommandArgument(1, b);
        return plugNamed(a.str(), src, why) && plugNamed(b.str(), dst, why);
    }
};

class ConnectAttrCommand : public ModifierCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        PlugPair plugs;
        std::string why;
        if (!plugs.read(db, why)) return error(why);
        const MPlug &src = plugs.src, &dst = plugs.dst;
        if (db.isFlagSet("-f")) {
            MPlug old = dst.source();
            if (!old.isNull()) modifier.disconnect(old, dst);
        }
        PlugRef s = api::plugRef(src), d = api::plugRef(dst);
        if (!(db.isFlagSet("-f") && d.node->inputs.count(d.addr))) {
            if (MStatus st = canConnect(s, d); !st) return error(statusText(st));
        }
        modifier.connect(src, dst);
        MStatus st = modifier.doIt();
        if (!st) {
            modifier.undoIt();
            return error(st.errorString().str());
        }
        setResult(MString("Connected " + src.name().str() + " to " + dst.name().str() + "."));
        return MStatus::kSuccess;
    }
};

class DisconnectAttrCommand : public ModifierCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        PlugPair plugs;
        std::string why;
        if (!plugs.read(db, why)) return error(why);
        if (!(plugs.dst.source() == plugs.src))
            return error("There is no connection from " + plugs.a.str() + " to " + plugs.b.str());
        modifier.disconnect(plugs.src, plugs.dst);
        return applyModifier();
    }
};

MSyntax disconnectSyntax() {
    MSyntax s;
    s.addArg(MSyntax::kString);
    s.addArg(MSyntax::kString);
    return s;
}

// ---------------------------------------------------------------- constructionHistory

MSyntax historySyntax() {
    MSyntax s;
    s.addFlag("-tgl", "-toggle", MSyntax::kBoolean);
    s.enableQuery(true);
    return s;
}

class HistoryToggleCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        if (db.isQuery()) {
            setResult(historyRecording() ? 1 : 0);
            return MStatus::kSuccess;
        }
        if (!db.isFlagSet("-tgl")) return error("use -toggle on|off, or -query -toggle");
        bool on = true;
        db.getFlagArgument("-tgl", 0, on);
        setHistoryRecording(on);
        return MStatus::kSuccess;
    }
};

void add(Commands& c) {
    addBuiltin<CreateNodeCommand>(c, "createNode", createNodeSyntax);
    addBuiltin<DeleteCommand>(c, "delete", deleteSyntax);
    addBuiltin<RenameCommand>(c, "rename", renameSyntax);
    addBuiltin<DuplicateCommand>(c, "duplicate", duplicateSyntax);
    addBuiltin<ConnectAttrCommand>(c, "connectAttr", connectSyntax);
    addBuiltin<DisconnectAttrCommand>(c, "disconnectAttr", disconnectSyntax);
    addBuiltin<HistoryToggleCommand>(c, "constructionHistory", historySyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
