// polyMergeVertex, polyBridgeEdge, polyAverageVertex and polyEvaluate.
//
// The edit commands accept -ch for the host's sake: a mesh with history
// always gets a modifier node (its edit must survive re-evaluation), and a
// mesh without history is edited directly (see MeshEdit.h).

#include <maya/MBoundingBox.h>
#include <maya/MDoubleArray.h>
#include <maya/MStringArray.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "host/src/builtins/Builtin.h"
#include "host/src/builtins/MeshEdit.h"
#include "host/src/builtins/MeshTargets.h"
#include "host/src/dg/Data.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"
#include "host/src/mesh/ops/MeshOps.h"
#include "host/src/nodes/PolyNodes.h"

namespace ehost {

namespace {

MSyntax editSyntax(const std::function<void(MSyntax&)>& flags) {
    MSyntax s;
    flags(s);
    s.addFlag("-ch", "-constructionHistory", MSyntax::kBoolean);
    s.setObjectType(MSyntax::kStringObjects, 0);
    s.useSelectionAsDefault(true);
    return s;
}

//! One mesh's edit, checked before anything in the scene changes.
struct PlannedEdit {
    std::shared_ptr<MeshShape> shape;
    ComponentList components;
    std::shared_ptr<const MeshGeometry> result;
};

//! What the modelling edit commands share: the components of each named
//! mesh, the edit checked on every mesh first (so that a refusal changes
//! nothing), then one MeshEdit per mesh. The result lists the nodes made.
class PolyEditCommand : public BuiltinCommand {
public:
    bool isUndoable() const override { return true; }
    MStatus run(const MArgDatabase& db) override {
        std::string why;
        if (!readParameters(db, why)) return error(why);
        std::vector<PlannedEdit> plans;
        if (!plan(db, plans, why)) return error(why);
        MStringArray made;
        for (auto& p : plans) {
            edits_.emplace_back();
            MStatus st = apply(p, edits_.back(), made);
            if (!st) {
                edits_.pop_back();  // a refused edit has taken itself back
                undoIt();
                return error(st.errorString().str());
            }
        }
        setResult(made);
        return MStatus::kSuccess;
    }
    MStatus undoIt() override {
        for (auto it = edits_.rbegin(); it != edits_.rend(); ++it) it->undo();
        return MStatus::kSuccess;
    }
    MStatus redoIt() override {
        for (auto& e : edits_) e.redo();
        return MStatus::kSuccess;
    }

protected:
    //! Reads and checks the command's own flags.
    virtual bool readParameters(const MArgDatabase& db, std::string& why) = 0;
    //! The components a whole mesh stands for; false with a reason when it cannot.
    virtual bool wholeMesh(const MeshGeometry& mesh, ComponentList& out, std::string& why) = 0;
    virtual MeshStatus edit(const MeshGeometry& in, const ComponentList& components,
                            MeshGeometry& out) = 0;
    virtual const char* nodeType() const = 0;
    //! Writes the parameters on a new modifier node.
    virtual void configure(Node& node) = 0;

    //! Reads an integer flag (by its long name) that must lie in [lowest, highest].
    static bool integerFlag(const MArgDatabase& db, const char* flag, int lowest, int highest,
                            int& value, std::string& why) {
        if (!db.isFlagSet(flag)) return true;
        db.getFlagArgument(flag, 0, value);
        if (value >= lowest && value <= highest) return true;
        why = std::string(flag) + " must be between " + std::to_string(lowest) + " and " +
              std::to_string(highest);
        return false;
    }
    static void write(Node& node, const AttrPtr& attr, double value) {
        writeNumeric(node, {attr.get(), -1}, &value, 1);
    }

private:
    bool plan(const MArgDatabase& db, std::vector<PlannedEdit>& plans, std::string& why) {
        std::vector<MeshPick> meshes;
        if (!meshPicksOrSelection(objectNames(db), meshes, why)) return false;
        if (meshes.empty()) {
            why = "nothing to edit: name mesh components or select them";
            return false;
        }
        for (auto& m : meshes) {
            PlannedEdit p{m.shape, m.components, nullptr};
            auto shown = m.shape->output();
            if (m.whole) {
                ComponentList all;
                if (!wholeMesh(*shown, all, why)) {
                    why = m.shape->name + ": " + why;
                    return false;
                }
                p.components = all;
            }
            auto result = std::make_shared<MeshGeometry>();
            if (MeshStatus ms = edit(*shown, p.components, *result); !ms) {
                why = m.shape->name + ": " + ms.error;
                return false;
            }
            p.result = std::move(result);
            plans.push_back(std::move(p));
        }
        return true;
    }

    MStatus apply(PlannedEdit& p, MeshEdit& record, MStringArray& made) {
        if (!p.shape->hasHistory()) return record.replaceOwnGeometry(p.shape, p.result);
        NodeClass* cls = theRegistry().findClass(nodeType());
        MStatus st;
        NodePtr node = theScene().create(*cls, std::string(nodeType()) + "1", &st);
        if (!node) return st;
        MStringArray components;
        for (const auto& s : p.components.toStrings()) components.append(MString(s));
        writeData(*node, {polyModifierAttributes().inputComponents.get(), -1},
                  std::make_shared<StringArrayData>(components));
        configure(*node);
        st = record.insertModifier(p.shape, node);
        if (!st) {
            if (node->alive) removeNodes({node.get()});
            return st;
        }
        made.append(MString(node->name));
        return st;
    }

    std::vector<MeshEdit> edits_;
};

ComponentList allVertices(const MeshGeometry& mesh) {
    ComponentList all;
    std::vector<int> ids(mesh.numVertices());
    for (int v = 0; v < mesh.numVertices(); ++v) ids[v] = v;
    all.vertices = std::move(ids);
    return all;
}

// ---------------------------------------------------------------- polyMergeVertex

MSyntax mergeSyntax() {
    return editSyntax([](MSyntax& s) {
        s.addFlag("-d", "-distance", MSyntax::kDouble);
        s.addFlag("-am", "-alwaysMergeTwoVertices", MSyntax::kBoolean);
    });
}

class PolyMergeVertexCommand : public PolyEditCommand {
protected:
    bool readParameters(const MArgDatabase& db, std::string& why) override {
        if (db.isFlagSet("-d")) db.getFlagArgument("-d", 0, distance_);
        if (db.isFlagSet("-am")) db.getFlagArgument("-am", 0, alwaysMergeTwo_);
        if (distance_ >= 0 && std::isfinite(distance_)) return true;
        why = "-distance must be a finite number of at least 0";
        return false;
    }
    bool wholeMesh(const MeshGeometry& mesh, ComponentList& out, std::string&) override {
        out = allVertices(mesh);
        return true;
    }
    MeshStatus edit(const MeshGeometry& in, const ComponentList& c, MeshGeometry& out) override {
        return mergeComponents(in, c, distance_, alwaysMergeTwo_, out);
    }
    const char* nodeType() const override { return "polyMergeVert"; }
    void configure(Node& node) override {
        write(node, polyMergeVertAttributes().distance, distance_);
        write(node, polyMergeVertAttributes().alwaysMergeTwoVertices, alwaysMergeTwo_ ? 1 : 0);
    }

private:
    double distance_ = 0;
    bool alwaysMergeTwo_ = false;
};

// ---------------------------------------------------------------- polyBridgeEdge

MSyntax bridgeSyntax() {
    return editSyntax([](MSyntax& s) {
        s.addFlag("-dv", "-divisions", MSyntax::kLong);
        s.addFlag("-d", "-direction", MSyntax::kLong);
    });
}

class PolyBridgeEdgeCommand : public PolyEditCommand {
protected:
    bool readParameters(const MArgDatabase& db, std::string& why) override {
        if (!integerFlag(db, "-divisions", 0, kMaxDivisions, divisions_, why)) return false;
        int direction = 0;
        if (!integerFlag(db, "-direction", 0, 0, direction, why)) {
            why = "only -direction 0 (pairing by the shortest bridge) is supported";
            return false;
        }
        return true;
    }
    bool wholeMesh(const MeshGeometry&, ComponentList&, std::string& why) override {
        why = "name the border edges to bridge";
        return false;
    }
    MeshStatus edit(const MeshGeometry& in, const ComponentList& c, MeshGeometry& out) override {
        return bridgeComponents(in, c, divisions_, out);
    }
    const char* nodeType() const override { return "polyBridgeEdge"; }
    void configure(Node& node) override {
        write(node, polyBridgeEdgeAttributes().divisions, divisions_);
    }

private:
    int divisions_ = 0;
};

// ---------------------------------------------------------------- polyAverageVertex

MSyntax averageSyntax() {
    return editSyntax([](MSyntax& s) { s.addFlag("-i", "-iterations", MSyntax::kLong); });
}

class PolyAverageVertexCommand : public PolyEditCommand {
protected:
    bool readParameters(const MArgDatabase& db, std::string& why) override {
        return integerFlag(db, "-iterations", 0, kMaxIterations, iterations_, why);
    }
    bool wholeMesh(const MeshGeometry& mesh, ComponentList& out, std::string&) override {
        out = allVertices(mesh);
        return true;
    }
    MeshStatus edit(const MeshGeometry& in, const ComponentList& c, MeshGeometry& out) override {
        return averageComponents(in, c, iterations_, out);
    }
    const char* nodeType() const override { return "polyAverageVertex"; }
    void configure(Node& node) override {
        write(node, polyAverageVertexAttributes().iterations, iterations_);
    }

private:
    int iterations_ = 1;
};

// ---------------------------------------------------------------- polyEvaluate

MSyntax evaluateSyntax() {
    MSyntax s;
    s.addFlag("-v", "-vertex");
    s.addFlag("-e", "-edge");
    s.addFlag("-f", "-face");
    s.addFlag("-uv", "-uvcoord");
    s.addFlag("-t", "-triangle");
    s.addFlag("-b", "-boundingBox");
    s.addFlag("-b2", "-boundingBox2d");
    s.addFlag("-bc", "-boundingBoxComponent");
    s.addFlag("-ae", "-accurateEvaluation");
    s.setObjectType(MSyntax::kStringObjects, 0);
    s.useSelectionAsDefault(true);
    return s;
}

//! The bounding boxes polyEvaluate reports: in world space "xmin xmax ymin
//! ymax zmin zmax", of the UVs "umin umax vmin vmax"; zeros for a box that
//! cannot be made (no components, no UVs), so that positions stay fixed.
MDoubleArray evaluateBoxes(const MArgDatabase& db, const std::vector<MeshPick>& meshes) {
    MDoubleArray out;
    auto range = [&](bool any, std::initializer_list<std::pair<double, double>> axes) {
        for (const auto& [lo, hi] : axes) {
            out.append(any ? lo : 0.0);
            out.append(any ? hi : 0.0);
        }
    };
    auto worldBox = [&](bool componentsOnly) {
        MBoundingBox box;
        bool any = false;
        for (const MeshPick& m : meshes) {
            if (componentsOnly && m.whole) continue;
            auto mesh = m.shape->output();
            const MMatrix w = m.shape->worldMatrix();
            auto add = [&](int v) {
                Vec3 p = mesh->point(v);
                box.expand(MPoint(p.x, p.y, p.z) * w);
                any = true;
            };
            if (componentsOnly)
                for (int v : m.components.vertexIds(*mesh)) add(v);
            else
                for (int v = 0; v < mesh->numVertices(); ++v) add(v);
        }
        range(any,
              {{box.min().x, box.max().x}, {box.min().y, box.max().y}, {box.min().z, box.max().z}});
    };
    if (db.isFlagSet("-b")) worldBox(false);
    if (db.isFlagSet("-b2")) {
        float umin = 0, umax = 0, vmin = 0, vmax = 0;
        bool any = false;
        for (const MeshPick& m : meshes) {
            auto mesh = m.shape->output();
            for (int i = 0; i < mesh->numUVs(); ++i) {
                float u, v;
                mesh->getUV(i, u, v);
                umin = any ? std::min(umin, u) : u;
                umax = any ? std::max(umax, u) : u;
                vmin = any ? std::min(vmin, v) : v;
                vmax = any ? std::max(vmax, v) : v;
                any = true;
            }
        }
        range(any, {{umin, umax}, {vmin, vmax}});
    }
    if (db.isFlagSet("-bc")) worldBox(true);
    return out;
}

class PolyEvaluateCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        std::vector<MeshPick> meshes;
        std::string why;
        if (!meshPicksOrSelection(objectNames(db), meshes, why)) return error(why);
        if (meshes.empty()) return error("No objects were specified or selected.");
        const bool boxes = db.isFlagSet("-b") || db.isFlagSet("-b2") || db.isFlagSet("-bc");
        struct Count {
            const char* flag;
            const char* name;
            std::function<int(const MeshGeometry&)> of;
        };
        const Count counts[] = {
            {"-v", "vertex", [](const MeshGeometry& m) { return m.numVertices(); }},
            {"-e", "edge", [](const MeshGeometry& m) { return m.numEdges(); }},
            {"-f", "face", [](const MeshGeometry& m) { return m.numFaces(); }},
            {"-uv", "uvcoord", [](const MeshGeometry& m) { return m.numUVs(); }},
            {"-t", "triangle",
             [](const MeshGeometry& m) { return m.numFaceVertices() - 2 * m.numFaces(); }},
        };
        std::vector<const Count*> asked;
        for (const Count& c : counts)
            if (db.isFlagSet(c.flag)) asked.push_back(&c);
        if (boxes) {
            if (!asked.empty()) return error("counts cannot be mixed with bounding boxes");
            setResult(evaluateBoxes(db, meshes));
            return MStatus::kSuccess;
        }
        if (asked.empty())
            for (const Count& c : counts) asked.push_back(&c);
        std::vector<int> totals(asked.size(), 0);
        for (const MeshPick& m : meshes) {
            auto mesh = m.shape->output();
            for (size_t k = 0; k < asked.size(); ++k) totals[k] += asked[k]->of(*mesh);
        }
        if (asked.size() == 1) {
            setResult(totals[0]);
            return MStatus::kSuccess;
        }
        // Several counts read as "name=value" items, like the host's.
        MStringArray out;
        for (size_t k = 0; k < asked.size(); ++k)
            out.append(MString(std::string(asked[k]->name) + "=" + std::to_string(totals[k])));
        setResult(out);
        return MStatus::kSuccess;
    }
};

void add(Commands& c) {
    addBuiltin<PolyMergeVertexCommand>(c, "polyMergeVertex", mergeSyntax);
    addBuiltin<PolyBridgeEdgeCommand>(c, "polyBridgeEdge", bridgeSyntax);
    addBuiltin<PolyAverageVertexCommand>(c, "polyAverageVertex", averageSyntax);
    addBuiltin<PolyEvaluateCommand>(c, "polyEvaluate", evaluateSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
