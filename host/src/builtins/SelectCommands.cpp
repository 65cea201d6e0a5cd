// select and ls.

#include <maya/MGlobal.h>
#include <maya/MStringArray.h>

#include <algorithm>

#include "host/src/builtins/Builtin.h"
#include "host/src/core/Events.h"
#include "host/src/dag/Dag.h"
#include "host/src/dag/Resolve.h"
#include "host/src/dag/Selection.h"
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
    s.setObjectType(MSyntax::kStringObjects, 0);
    return s;
}

class SelectCommand : public BuiltinCommand {
public:
    bool isUndoable() const override { return true; }
    MStatus run(const MArgDatabase& db) override {
        const MStringArray names = objectNames(db);
        std::vector<SelItem> items;
        if (MStatus st = resolveObjects(names, items); !st) return st;
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
    s.addFlag("-typ", "-type", MSyntax::kString);
    s.makeFlagMultiUse("-typ");
    s.addFlag("-l", "-long");
    s.addFlag("-dag", "-dagObjects");
    s.addFlag("-tr", "-transforms");
    s.addFlag("-s", "-shapes");
    s.addFlag("-io", "-intermediateObjects");
    s.setObjectType(MSyntax::kStringObjects, 0);
    return s;
}

class LsCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        std::vector<SelItem> items;
        const MStringArray names = objectNames(db);
        if (db.isFlagSet("-sl")) {
            items = theSelection().items;
        } else if (names.length()) {
            for (unsigned i = 0; i < names.length(); ++i) {
                std::string why;
                // Unmatched names are simply not listed, as the host does.
                resolveName(names[i].str(), items, why);
            }
        } else {
            for (const auto& n : theScene().nodes()) items.push_back(SelItem{n, nullptr, {}});
        }
        std::vector<std::string> types;
        for (unsigned u = 0; u < db.numberOfFlagUses("-typ"); ++u) {
            MArgList l;
            db.getFlagArgumentList("-typ", u, l);
            types.push_back(l.asString(0).str());
        }
        bool longNames = db.isFlagSet("-l");
        MStringArray out;
        for (const auto& i : items) {
            if (!i.node->alive || !keep(*i.node, types, db)) continue;
            for (const auto& s : itemStrings(i, longNames)) out.append(MString(s));
        }
        setResult(out);
        return MStatus::kSuccess;
    }

private:
    static bool keep(const Node& n, const std::vector<std::string>& types, const MArgDatabase& db) {
        if (!types.empty() && std::none_of(types.begin(), types.end(),
                                           [&](const std::string& t) { return n.cls->isA(t); }))
            return false;
        bool dag = dynamic_cast<const DagNode*>(&n) != nullptr;
        if (db.isFlagSet("-dag") && !dag) return false;
        if (db.isFlagSet("-tr") && n.cls->role != NodeRole::Transform) return false;
        if (db.isFlagSet("-s") && n.cls->role != NodeRole::Shape &&
            n.cls->role != NodeRole::Locator)
            return false;
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
