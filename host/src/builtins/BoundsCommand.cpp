// exactWorldBoundingBox.

#include <maya/MDoubleArray.h>

#include "host/src/builtins/Builtin.h"
#include "host/src/dag/Dag.h"

namespace ehost {

namespace {

MSyntax exactWorldBoundingBoxSyntax() {
    MSyntax s;
    s.addFlag("-ii", "-ignoreInvisible", MSyntax::kBoolean);
    s.addFlag("-ce", "-calculateExactly", MSyntax::kBoolean);
    s.setObjectType(MSyntax::kStringObjects, 0);
    s.useSelectionAsDefault(true);
    return s;
}

//! The world-space box fitting the geometry of the objects exactly:
//! "xmin ymin zmin xmax ymax zmax" (zeros when there is no geometry).
class ExactWorldBoundingBoxCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        std::vector<SelItem> items;
        if (MStatus st = objectsOrSelection(db, items); !st) return st;
        bool ignoreInvisible = false;
        if (db.isFlagSet("-ii")) db.getFlagArgument("-ii", 0, ignoreInvisible);
        // An empty box reads as zeros.
        MBoundingBox box;
        for (const auto& i : items) {
            auto* d = dynamic_cast<DagNode*>(i.node.get());
            if (!d) return error(i.node->name + " is not a DAG object");
            box.expand(worldBounds(*d, !ignoreInvisible));
        }
        MDoubleArray out;
        for (double v :
             {box.min().x, box.min().y, box.min().z, box.max().x, box.max().y, box.max().z})
            out.append(v);
        setResult(out);
        return MStatus::kSuccess;
    }
};

void add(Commands& c) {
    addBuiltin<ExactWorldBoundingBoxCommand>(c, "exactWorldBoundingBox",
                                             exactWorldBoundingBoxSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
