// listRelatives and parent.

#include <maya/MStringArray.h>

#include <algorithm>
#include <functional>

#include "host/src/builtins/Builtin.h"
#include "host/src/builtins/TransformEdit.h"
#include "host/src/core/MessageLog.h"
#include "host/src/dag/Dag.h"
#include "host/src/dag/Resolve.h"
#include "host/src/dag/Selection.h"
#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/Scene.h"

namespace ehost {

namespace {

bool isShape(const Node& n) {
    return n.cls->role == NodeRole::Shape || n.cls->role == NodeRole::Locator;
}

bool isIntermediate(DagNode& n) {
    return evaluate(n, {dagAttributes().intermediateObject.get(), -1}).num[0] != 0;
}

std::vector<std::string> typeFilter(const MArgDatabase& db, const char* flag) {
    std::vector<std::string> types;
    for (unsigned u = 0; u < db.numberOfFlagUses(flag); ++u) {
        MArgList l;
        db.getFlagArgumentList(flag, u, l);
        types.push_back(l.asString(0).str());
    }
    return types;
}

bool ofAnyType(const Node& n, const std::vector<std::string>& types) {
    return types.empty() || std::any_of(types.begin(), types.end(),
                                        [&](const std::string& t) { return n.cls->isA(t); });
}

// ---------------------------------------------------------------- listRelatives

MSyntax listRelativesSyntax() {
    MSyntax s;
    s.addFlag("-c", "-children");
    s.addFlag("-ad", "-allDescendents");
    s.addFlag("-s", "-shapes");
    s.addFlag("-p", "-parent");
    s.addFlag("-ap", "-allParents");
    s.addFlag("-pa", "-path");
    s.addFlag("-f", "-fullPath");
    s.addFlag("-ni", "-noIntermediate");
    s.addFlag("-typ", "-type", MSyntax::kString);
    s.makeFlagMultiUse("-typ");
    s.setObjectType(MSyntax::kStringObjects, 0);
    return s;
}

class ListRelativesCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        int modes = 0;
        for (const char* f : {"-c", "-ad", "-p", "-ap"}) modes += db.isFlagSet(f) ? 1 : 0;
        if (modes > 1 || (db.isFlagSet("-s") && (db.isFlagSet("-p") || db.isFlagSet("-ap"))))
            return error(
                "the flags -children, -allDescendents, -shapes, -parent and -allParents cannot "
                "be combined");
        std::vector<SelItem> items;
        const MStringArray names = objectNames(db);
        if (names.length() == 0)
            items = theSelection().items;
        else if (MStatus st = resolveObjects(names, items); !st)
            return st;

        const bool parents = db.isFlagSet("-p") || db.isFlagSet("-ap");
        const bool shapes = db.isFlagSet("-s");
        const bool all = db.isFlagSet("-ad");
        const bool noIntermediate = db.isFlagSet("-ni");
        const auto types = typeFilter(db, "-typ");
        std::vector<DagNode*> found;
        auto keep = [&](DagNode* n) {
            if (shapes && !isShape(*n)) return;
            if (noIntermediate && isShape(*n) && isIntermediate(*n)) return;
            if (!ofAnyType(*n, types)) return;
            if (std::find(found.begin(), found.end(), n) == found.end()) found.push_back(n);
        };
        for (const auto& item : items) {
            auto* d = dynamic_cast<DagNode*>(item.node.get());
            if (!d || !d->alive || item.plug.attr) continue;
            if (parents) {
                // The parent of components is their object.
                if (item.component)
                    keep(d);
                else if (d->parent && !d->parent->isWorld())
                    keep(d->parent);
                continue;
            }
            // The children of components are nothing.
            if (item.component) continue;
            if (all)
                addDescendents(*d, keep);
            else
                for (auto& c : d->children) keep(static_cast<DagNode*>(c.get()));
        }
        const bool full = db.isFlagSet("-f");
        MStringArray out;
        for (DagNode* n : found) out.append(MString(full ? n->fullPath() : n->name));
        setResult(out);
        return MStatus::kSuccess;
    }

private:
    //! Every node below, the deepest first, as the host lists them: the
    //! depth-first order reversed.
    static void addDescendents(DagNode& top, const std::function<void(DagNode*)>& keep) {
        std::vector<DagNode*> order;
        std::function<void(DagNode&)> walk = [&](DagNode& n) {
            for (auto& c : n.children) {
                auto* d = static_cast<DagNode*>(c.get());
                order.push_back(d);
                walk(*d);
            }
        };
        walk(top);
        for (auto it = order.rbegin(); it != order.rend(); ++it) keep(*it);
    }
};

// ---------------------------------------------------------------- parent

MSyntax parentSyntax() {
    MSyntax s;
    s.addFlag("-a", "-absolute");
    s.addFlag("-r", "-relative");
    s.addFlag("-w", "-world");
    s.addFlag("-s", "-shape");
    s.addFlag("-add", "-addObject");
    s.addFlag("-rm", "-removeObject");
    s.addFlag("-nc", "-noConnections");
    s.addFlag("-nis", "-noInvScale");
    s.setObjectType(MSyntax::kStringObjects, 0);
    s.useSelectionAsDefault(true);
    return s;
}

class ParentCommand : public BuiltinCommand {
public:
    bool isUndoable() const override { return true; }

    MStatus run(const MArgDatabase& db) override {
        if (db.isFlagSet("-add") || db.isFlagSet("-rm"))
            return error("instancing is not supported: -addObject and -removeObject");
        if (db.isFlagSet("-a") && db.isFlagSet("-r"))
            return error("-absolute and -relative cannot be used together");
        std::vector<SelItem> items;
        if (MStatus st = objectsOrSelection(db, items); !st) return st;
        for (const auto& i : items)
            if (i.component || i.plug.attr)
                return error("Cannot parent components or attributes: " + itemStrings(i).front());

        DagNode* newParent = &theWorld();
        if (!db.isFlagSet("-w")) {
            if (items.size() < 2) return notEnoughObjects();
            newParent = dynamic_cast<DagNode*>(items.back().node.get());
            if (!newParent)
                return error("the new parent is not a DAG node: " + items.back().node->name);
            items.pop_back();
            if (newParent->cls->role != NodeRole::Transform)
                return error("the new parent must be a transform: " + newParent->name);
        }
        const bool shapeFlag = db.isFlagSet("-s");
        const bool relative = db.isFlagSet("-r");

        std::vector<DagNode*> children;
        for (const auto& i : items) {
            auto* d = dynamic_cast<DagNode*>(i.node.get());
            if (!d) return error("Only DAG objects can be parented: " + i.node->name);
            if (isShape(*d) && !shapeFlag)
                return error("Object " + d->name + " is a shape: use -shape (with -relative) to " +
                             "move a shape under another transform");
            if (isShape(*d) && newParent->isWorld())
                return error("a shape cannot be put under the world: " + d->name);
            for (DagNode* p = newParent; p; p = p->parent)
                if (p == d)
                    return error("Cannot parent " + d->name + " under its own descendant " +
                                 newParent->name);
            if (d->parent == newParent) {
                theMessages().warning("Object " + d->name + " is already a child of the parent.");
                continue;
            }
            if (std::find(children.begin(), children.end(), d) == children.end())
                children.push_back(d);
        }

        MStringArray result;
        for (DagNode* d : children) {
            Move m{d->self(), d->parent ? d->parent->self() : nullptr, childPosition(*d),
                   newParent->self()};
            MMatrix world = d->worldMatrix();
            reparent(*d, newParent);
            // Absolute (the default) keeps where the object is in the world.
            if (!relative && d->cls->role == NodeRole::Transform) {
                auto& t = static_cast<TransformNode&>(*d);
                int order = readChannels(t).order;
                channels_.set(t, channelsOf(localFor(t, world), order));
            }
            moves_.push_back(m);
            result.append(MString(d->name));
        }
        setResult(result);
        return MStatus::kSuccess;
    }

    MStatus undoIt() override {
        for (auto it = moves_.rbegin(); it != moves_.rend(); ++it)
            reparent(static_cast<DagNode&>(*it->node),
                     it->from ? static_cast<DagNode*>(it->from.get()) : &theWorld(), it->position);
        channels_.undo();
        return MStatus::kSuccess;
    }

    MStatus redoIt() override {
        for (const auto& m : moves_)
            reparent(static_cast<DagNode&>(*m.node), static_cast<DagNode*>(m.to.get()));
        channels_.redo();
        return MStatus::kSuccess;
    }

private:
    struct Move {
        NodePtr node, from;
        int position = -1;
        NodePtr to;
    };
    std::vector<Move> moves_;
    ChannelEdits channels_;
};

void add(Commands& c) {
    addBuiltin<ListRelativesCommand>(c, "listRelatives", listRelativesSyntax);
    addBuiltin<ParentCommand>(c, "parent", parentSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
