// select and ls.

#include <maya/MGlobal.h>
#include <maya/MStringArray.h>

#include <algorithm>
#include <functional>

#include "host/src/builtins/Builtin.h"
#include "host/src/core/Events.h"
#include "host/src/dag/Dag.h"
#include "host/src/dag/Resolve.h"
#include "host/src/dag/Selection.h"
#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/Scene.h"

namespace ehost {

namespace {

MSyntax selectSyntax() {
    MSyntax s;
    s.addFlag("-r", "-replace");
    s.addFlag("-add", "-add");
    s.addFlag("-d", "-deselect");
    s.addFlag("-tgl", "-toggle");
    s.addFlag("-cl", "-clear");
    s.addFlag("-ne", "-noExpand");
    s.addFlag("-af", "-addFirst");
    s.addFlag("-hi", "-hierarchy");
    s.setObjectType(MSyntax::kStringObjects, 0);
    return s;
}

//! The DAG objects at and below the items, depth first (select -hierarchy).
std::vector<SelItem> withDescendents(const std::vector<SelItem>& items) {
    std::vector<SelItem> out;
    std::function<void(const NodePtr&)> walk = [&](const NodePtr& n) {
        addItem(out, SelItem{n, nullptr, {}});
        for (auto& c : static_cast<DagNode&>(*n).children) walk(c);
    };
    for (const auto& i : items) {
        if (!i.component && !i.plug.attr && dynamic_cast<DagNode*>(i.node.get()))
            walk(i.node);
        else
            addItem(out, i);
    }
    return out;
}

class SelectCommand : public BuiltinCommand {
public:
    bool isUndoable() const override { return true; }
    MStatus run(const MArgDatabase& db) override {
        const MStringArray names = objectNames(db);
        std::vector<SelItem> items;
        if (MStatus st = resolveObjects(names, items); !st) return st;
        if (db.isFlagSet("-hi")) items = withDescendents(items);
        before = theSelection().items;
        std::vector<SelItem> sel = before;
        if (db.isFlagSet("-cl")) {
            sel.clear();
        } else if (db.isFlagSet("-d")) {
            for (const auto& i : items)
                sel.erase(std::remove_if(sel.begin(), sel.end(),
                                         [&](const SelItem& s) { return s.sameTarget(i); }),
                          sel.end());
        } else if (db.isFlagSet("-tgl")) {
            for (const auto& i : items) {
                auto it = std::find_if(sel.begin(), sel.end(),
                                       [&](const SelItem& s) { return s.sameTarget(i); });
                if (it != sel.end())
                    sel.erase(it);
                else
                    addItem(sel, i);
            }
        } else if (db.isFlagSet("-add")) {
            for (const auto& i : items) addItem(sel, i);
        } else if (db.isFlagSet("-af")) {
            std::vector<SelItem> head;
            for (const auto& i : items) addItem(head, i);
            for (const auto& s : sel)
                if (std::none_of(head.begin(), head.end(),
                                 [&](const SelItem& h) { return h.sameTarget(s); }))
                    head.push_back(s);
            sel = std::move(head);
        } else {
            if (names.length() == 0 && !db.isFlagSet("-r")) return notEnoughObjects();
            sel.clear();
            for (const auto& i : items) addItem(sel, i);
        }
        after = sel;
        return redoIt();
    }
    MStatus redoIt() override { return apply(after); }
    MStatus undoIt() override { return apply(before); }

private:
    static MStatus apply(const std::vector<SelItem>& items) {
        auto& sel = theSelection().items;
        sel.clear();
        for (const auto& i : items)
            if (i.node->alive) sel.push_back(i);
        theEvents().fire("SelectionChanged");
        return MStatus::kSuccess;
    }
    std::vector<SelItem> before, after;
};

MSyntax lsSyntax() {
    MSyntax s;
    s.addFlag("-sl", "-selection");
    s.addFlag("-os", "-orderedSelection");
    s.addFlag("-typ", "-type", MSyntax::kString);
    s.makeFlagMultiUse("-typ");
    s.addFlag("-et", "-exactType", MSyntax::kString);
    s.makeFlagMultiUse("-et");
    s.addFlag("-l", "-long");
    s.addFlag("-sn", "-shortNames");
    s.addFlag("-dag", "-dagObjects");
    s.addFlag("-tr", "-transforms");
    s.addFlag("-s", "-shapes");
    s.addFlag("-io", "-intermediateObjects");
    s.addFlag("-ni", "-noIntermediate");
    s.addFlag("-v", "-visible");
    s.addFlag("-iv", "-invisible");
    s.addFlag("-o", "-objectsOnly");
    s.addFlag("-fl", "-flatten");
    s.addFlag("-st", "-showType");
    s.addFlag("-hd", "-head", MSyntax::kUnsigned);
    s.addFlag("-tl", "-tail", MSyntax::kUnsigned);
    s.setObjectType(MSyntax::kStringObjects, 0);
    return s;
}

class LsCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        std::vector<SelItem> items;
        const MStringArray names = objectNames(db);
        const bool dag = db.isFlagSet("-dag");
        if (db.isFlagSet("-sl") || db.isFlagSet("-os")) {
            items = theSelection().items;
        } else if (names.length()) {
            for (unsigned i = 0; i < names.length(); ++i) {
                std::string why;
                // Unmatched names are simply not listed, as the host does.
                resolveName(names[i].str(), items, why);
            }
        } else if (dag) {
            // Every DAG object, depth first from the world.
            for (auto& c : theWorld().children) addTree(items, *c);
        } else {
            for (const auto& n : theScene().nodes()) items.push_back(SelItem{n, nullptr, {}});
        }
        // With objects named, -dag lists them and everything below them.
        if (dag && names.length() && !db.isFlagSet("-sl")) {
            std::vector<SelItem> expanded;
            for (const auto& i : items) {
                if (!i.component && !i.plug.attr && dynamic_cast<DagNode*>(i.node.get()))
                    addTree(expanded, *i.node);
                else
                    expanded.push_back(i);
            }
            items = std::move(expanded);
        }
        const auto types = flagStrings(db, "-typ"), exact = flagStrings(db, "-et");
        const bool longNames = db.isFlagSet("-l") && !db.isFlagSet("-sn");
        std::vector<std::string> out;
        for (const auto& i : items) {
            if (!i.node->alive || !keep(*i.node, types, exact, db)) continue;
            SelItem shown = i;
            if (db.isFlagSet("-o")) shown = SelItem{i.node, nullptr, {}};
            std::vector<std::string> strings = itemStrings(shown, longNames);
            if (db.isFlagSet("-fl") && shown.component) strings = flattened(shown, longNames);
            for (const auto& s : strings) {
                if (std::find(out.begin(), out.end(), s) != out.end()) continue;
                out.push_back(s);
            }
        }
        if (db.isFlagSet("-hd")) {
            unsigned n = 0;
            db.getFlagArgument("-hd", 0, n);
            if (out.size() > n) out.resize(n);
        }
        if (db.isFlagSet("-tl")) {
            unsigned n = 0;
            db.getFlagArgument("-tl", 0, n);
            if (out.size() > n) out.erase(out.begin(), out.end() - n);
        }
        MStringArray result;
        for (const auto& s : out) {
            result.append(MString(s));
            if (db.isFlagSet("-st")) result.append(MString(typeOfListed(s)));
        }
        setResult(result);
        return MStatus::kSuccess;
    }

private:
    static void addTree(std::vector<SelItem>& items, Node& n) {
        addItem(items, SelItem{n.self(), nullptr, {}}, false);
        if (auto* d = dynamic_cast<DagNode*>(&n))
            for (auto& c : d->children) addTree(items, *c);
    }

    static std::vector<std::string> flagStrings(const MArgDatabase& db, const char* flag) {
        std::vector<std::string> out;
        for (unsigned u = 0; u < db.numberOfFlagUses(flag); ++u) {
            MArgList l;
            db.getFlagArgumentList(flag, u, l);
            out.push_back(l.asString(0).str());
        }
        return out;
    }

    //! Each component element on its own ("m.vtx[3]").
    static std::vector<std::string> flattened(const SelItem& item, bool longNames) {
        std::vector<std::string> out;
        if (item.component->doubleIndexed()) return itemStrings(item, longNames);
        auto one = std::make_shared<Component>(item.component->kind);
        for (int e : item.component->elements) {
            one->elements = {e};
            for (const auto& s : itemStrings(SelItem{item.node, one, {}}, longNames))
                out.push_back(s);
        }
        return out;
    }

    static std::string typeOfListed(const std::string& listed) {
        std::vector<SelItem> items;
        std::string why;
        resolveName(listed, items, why);
        return items.empty() ? "" : items.front().node->cls->typeName;
    }

    static bool keep(const Node& n, const std::vector<std::string>& types,
                     const std::vector<std::string>& exact, const MArgDatabase& db) {
        if (!types.empty() && std::none_of(types.begin(), types.end(),
                                           [&](const std::string& t) { return n.cls->isA(t); }))
            return false;
        if (!exact.empty() && std::find(exact.begin(), exact.end(), n.cls->typeName) == exact.end())
            return false;
        auto* d = dynamic_cast<const DagNode*>(&n);
        if (db.isFlagSet("-dag") && !d) return false;
        if (db.isFlagSet("-tr") && n.cls->role != NodeRole::Transform) return false;
        if (db.isFlagSet("-s") && n.cls->role != NodeRole::Shape &&
            n.cls->role != NodeRole::Locator)
            return false;
        const bool io = db.isFlagSet("-io"), ni = db.isFlagSet("-ni");
        const bool visible = db.isFlagSet("-v"), invisible = db.isFlagSet("-iv");
        if (io || ni || visible || invisible) {
            if (!d) return !io && !visible && !invisible;
            auto& dn = const_cast<DagNode&>(*d);
            const auto& a = dagAttributes();
            bool intermediate = evaluate(dn, {a.intermediateObject.get(), -1}).num[0] != 0;
            if (io && !intermediate) return false;
            if (ni && intermediate) return false;
            bool shown = true;
            for (DagNode* p = &dn; p && !p->isWorld(); p = p->parent)
                if (evaluate(*p, {a.visibility.get(), -1}).num[0] == 0 ||
                    evaluate(*p, {a.intermediateObject.get(), -1}).num[0] != 0)
                    shown = false;
            if (visible && !shown) return false;
            if (invisible && shown) return false;
        }
        return true;
    }
};

void add(Commands& c) {
    addBuiltin<SelectCommand>(c, "select", selectSyntax);
    addBuiltin<LsCommand>(c, "ls", lsSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
