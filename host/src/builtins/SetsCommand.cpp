// sets: makes an object set, or edits membership (-forceElement moves a
// shape into a shading group, out of the one it was in).
//
// Membership is connections (see ObjectSet.h), so undo and redo replay the
// exact connections the edit made and broke.

#include <algorithm>

#include "host/src/builtins/Builtin.h"
#include "host/src/builtins/MeshTargets.h"
#include "host/src/dag/DagOps.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"
#include "host/src/nodes/ObjectSet.h"

namespace ehost {

namespace {

using Connection = std::pair<PlugRef, PlugRef>;

bool sameConnection(const Connection& a, const Connection& b) {
    return a.first == b.first && a.second == b.second;
}

std::vector<Connection> connectionsTouching(const std::vector<Node*>& nodes) {
    std::vector<Connection> out;
    for (Node* n : nodes)
        for (const auto& c : connectionsOf(*n))
            if (std::none_of(out.begin(), out.end(),
                             [&](const Connection& o) { return sameConnection(o, c); }))
                out.push_back(c);
    return out;
}

//! Connections of `from` missing in `to`.
std::vector<Connection> missing(const std::vector<Connection>& from,
                                const std::vector<Connection>& to) {
    std::vector<Connection> out;
    for (const auto& c : from)
        if (std::none_of(to.begin(), to.end(),
                         [&](const Connection& o) { return sameConnection(o, c); }))
            out.push_back(c);
    return out;
}

MSyntax setsSyntax() {
    MSyntax s;
    s.addFlag("-n", "-name", MSyntax::kString);
    s.addFlag("-fe", "-forceElement", MSyntax::kString);
    s.addFlag("-add", "-addElement", MSyntax::kString);
    s.addFlag("-em", "-empty");
    s.enableEdit(true);
    s.setObjectType(MSyntax::kStringObjects, 0);
    return s;
}

class SetsCommand : public BuiltinCommand {
public:
    bool isUndoable() const override { return true; }
    MStatus run(const MArgDatabase& db) override {
        const bool force = db.isFlagSet("-fe"), adding = db.isFlagSet("-add");
        if (force && adding) return error("-forceElement and -addElement cannot be used together");
        if (db.isEdit() && !force && !adding)
            return error("-edit needs -forceElement or -addElement");
        std::vector<Node*> members;
        std::string why;
        if (!readMembers(db, members, why)) return error(why);
        if (force || adding) return editSet(db, force ? "-fe" : "-add", members);
        return makeSet(db, members);
    }
    MStatus undoIt() override {
        for (const auto& c : made_)
            if (c.second.node->inputs.count(c.second.addr)) disconnect(c.first, c.second);
        for (const auto& c : broken_) connect(c.first, c.second);
        if (set_) removal_ = removeNodes({set_.get()});
        return MStatus::kSuccess;
    }
    MStatus redoIt() override {
        if (set_) restore(removal_);
        for (const auto& c : broken_)
            if (c.second.node->inputs.count(c.second.addr)) disconnect(c.first, c.second);
        for (const auto& c : made_) connect(c.first, c.second);
        return MStatus::kSuccess;
    }

private:
    //! The named objects, or the selection when none are named (not with -empty).
    static bool readMembers(const MArgDatabase& db, std::vector<Node*>& out, std::string& why) {
        const MStringArray names = objectNames(db);
        std::vector<Pick> picks;
        if (db.isFlagSet("-em")) {
            if (names.length() > 0) {
                why = "-empty makes a set without members: name none";
                return false;
            }
        } else if (!picksOrSelection(names, picks, why)) {
            return false;
        }
        for (const Pick& p : picks) {
            if (p.hasComponents) {
                why = "components cannot be set members here: name " + p.node->name + " itself";
                return false;
            }
            if (std::find(out.begin(), out.end(), p.node.get()) == out.end())
                out.push_back(p.node.get());
        }
        return true;
    }

    MStatus editSet(const MArgDatabase& db, const char* flag, const std::vector<Node*>& members) {
        MString setName;
        db.getFlagArgument(flag, 0, setName);
        Node* set = theScene().find(setName.str());
        if (!set || !set->alive || !set->cls->isA("objectSet"))
            return error("No object set matches name: " + setName.str());
        if (members.empty()) return notEnoughObjects();
        MStatus st = addMembers(*set, members);
        if (!st) return error(st.errorString().str());
        return MStatus::kSuccess;
    }

    MStatus makeSet(const MArgDatabase& db, const std::vector<Node*>& members) {
        MString wanted("set1");
        if (db.isFlagSet("-n")) {
            db.getFlagArgument("-n", 0, wanted);
            std::string why;
            if (!Scene::validName(wanted.str(), &why)) return error(why);
        }
        MStatus st;
        set_ = theScene().create(*theRegistry().findClass("objectSet"), wanted.str(), &st);
        if (!set_) return error(st.errorString().str());
        st = addMembers(*set_, members);
        if (!st) {
            undoIt();
            return error(st.errorString().str());
        }
        setResult(MString(set_->name));
        return MStatus::kSuccess;
    }

    //! Adds the members, keeping the connections this made and broke.
    MStatus addMembers(Node& set, const std::vector<Node*>& members) {
        std::vector<Node*> touched = members;
        touched.push_back(&set);
        const auto before = connectionsTouching(touched);
        MStatus st;
        for (Node* m : members)
            if (st = addSetMember(set, *m); !st) break;
        const auto after = connectionsTouching(touched);
        made_ = missing(after, before);
        broken_ = missing(before, after);
        return st;
    }

    NodePtr set_;
    Removal removal_;
    std::vector<Connection> made_, broken_;
};

void add(Commands& c) {
    addBuiltin<SetsCommand>(c, "sets", setsSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
