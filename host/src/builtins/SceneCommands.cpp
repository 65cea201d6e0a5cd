// createNode, delete, rename, duplicate, connectAttr, disconnectAttr,
// constructionHistory.

#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>

#include <algorithm>

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
    return s;
}

class RenameCommand : public ModifierCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        MString from, to;
        if (!db.getCommandArgument(0, from) || !db.getCommandArgument(1, to))
            return error("needs the current name and the new name");
        Node* n = resolveNode(from.str());
        if (!n) return error("No object matches name: " + from.str());
        std::string why;
        if (!Scene::validName(to.str(), &why)) return error(why);
        modifier.renameNode(api::wrap(n->self()), to);
        if (MStatus st = applyModifier(); !st) return st;
        setResult(MString(n->name));
        return MStatus::kSuccess;
    }
};

// ---------------------------------------------------------------- duplicate

MSyntax duplicateSyntax() {
    MSyntax s;
    s.addFlag("-n", "-name", MSyntax::kString);
    s.addFlag("-rr", "-returnRootsOnly");
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
            NodePtr top = duplicateDag(*d, &st);
            if (!top) return failAll(st.errorString().str());
            made.push_back(top);
            if (wanted.length() && items.size() == 1) theScene().rename(*top, wanted.str());
            result.append(MString(top->name));
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
