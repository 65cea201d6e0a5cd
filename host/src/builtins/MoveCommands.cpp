// move and pointPosition.
//
// move runs thousands of times in a row (one item per patch corner), so a
// vertex move costs what the vertex needs: components are counted on the
// shape's input geometry, the shown position of a vertex is its input point
// plus its tweak, and the move itself is MeshShape::setOutputPoint. Nothing
// evaluates or copies the whole mesh.

#include <maya/MDoubleArray.h>

#include <algorithm>
#include <map>

#include "host/src/builtins/Builtin.h"
#include "host/src/builtins/MeshTargets.h"
#include "host/src/dag/SpaceFrame.h"
#include "host/src/dg/MeshData.h"
#include "host/src/nodes/Transform.h"

namespace ehost {

namespace {

std::map<int, Cell>& tweaks(MeshShape& shape) {
    return shape.slot(shape.cls->slotOf(meshAttributes().pnts.get())).elements;
}

//! What the shape shows at a vertex: its input point plus its tweak, added
//! exactly as the shape's evaluation adds them.
Vec3 shownPoint(MeshShape& shape, int vertex) {
    const Vec3 p = shape.base()->point(vertex);
    auto& t = tweaks(shape);
    auto it = t.find(vertex);
    if (it == t.end()) return p;
    const double* d = it->second.num;
    if (d[0] == 0 && d[1] == 0 && d[2] == 0) return p;
    return {p.x + d[0], p.y + d[1], p.z + d[2]};
}

SpaceFrame frameOf(const DagNode& node, bool world) {
    return world ? SpaceFrame(node.worldMatrix()) : SpaceFrame();
}

struct Motion {
    Vec3 value;
    bool absolute = false;
    bool world = true;
};

// ---------------------------------------------------------------- vertex moves

//! The vertex moves of one shape, recorded so that undo and redo put back
//! exactly what was there.
class ShapeMoves {
public:
    ShapeMoves(std::shared_ptr<MeshShape> shape, std::vector<std::pair<int, Vec3>> targets)
        : shape_(std::move(shape)), targets_(std::move(targets)) {}

    MStatus apply() {
        if (shape_->hasHistory()) return applyAsTweaks();
        if (!shape_->hasTweaks()) return applyToOwnPoints();
        return applyWithSnapshot();
    }

    void undo() {
        if (mode_ == Mode::Tweaks) {
            auto& t = tweaks(*shape_);
            for (auto it = tweakChanges_.rbegin(); it != tweakChanges_.rend(); ++it) {
                if (it->existed)
                    std::copy(it->before, it->before + 3, t[it->vertex].num);
                else
                    t.erase(it->vertex);
            }
            propagateDirty(*shape_, {meshAttributes().pnts.get(), -1});
        } else if (mode_ == Mode::OwnPoints) {
            MeshGeometry* own = shape_->editOwnGeometry(nullptr);
            for (auto it = pointChanges_.rbegin(); it != pointChanges_.rend(); ++it)
                own->setPoint(it->vertex, it->before);
            shape_->ownGeometryEdited();
        } else {
            setOwn(ownBefore_, tweaksBefore_);
        }
    }

    void redo() {
        if (mode_ == Mode::Tweaks) {
            auto& t = tweaks(*shape_);
            for (const auto& c : tweakChanges_) {
                Cell& cell = t[c.vertex];
                std::copy(c.after, c.after + 3, cell.num);
                cell.dirty = false;
            }
            propagateDirty(*shape_, {meshAttributes().pnts.get(), -1});
        } else if (mode_ == Mode::OwnPoints) {
            MeshGeometry* own = shape_->editOwnGeometry(nullptr);
            for (const auto& c : pointChanges_) own->setPoint(c.vertex, c.after);
            shape_->ownGeometryEdited();
        } else {
            setOwn(ownAfter_, {});
        }
    }

private:
    enum class Mode { Tweaks, OwnPoints, Snapshot };
    struct TweakChange {
        int vertex;
        bool existed;
        double before[3], after[3];
    };
    struct PointChange {
        int vertex;
        Vec3 before, after;
    };

    MStatus applyAsTweaks() {
        mode_ = Mode::Tweaks;
        auto& t = tweaks(*shape_);
        for (const auto& [vertex, point] : targets_) {
            TweakChange c{vertex, false, {0, 0, 0}, {0, 0, 0}};
            if (auto it = t.find(vertex); it != t.end()) {
                c.existed = true;
                std::copy(it->second.num, it->second.num + 3, c.before);
            }
            if (MStatus st = shape_->setOutputPoint(vertex, point); !st) return st;
            std::copy(t[vertex].num, t[vertex].num + 3, c.after);
            tweakChanges_.push_back(c);
        }
        return MStatus::kSuccess;
    }

    MStatus applyToOwnPoints() {
        mode_ = Mode::OwnPoints;
        for (const auto& [vertex, point] : targets_) {
            const Vec3 before = shape_->base()->point(vertex);
            if (MStatus st = shape_->setOutputPoint(vertex, point); !st) return st;
            pointChanges_.push_back({vertex, before, point});
        }
        return MStatus::kSuccess;
    }

    //! Own geometry with tweaks: the first move bakes them, so the whole
    //! state is kept (a rare case; the copies it costs do not matter).
    MStatus applyWithSnapshot() {
        mode_ = Mode::Snapshot;
        ownBefore_ = shape_->cell({meshAttributes().cachedInMesh.get(), -1}, true)->data;
        tweaksBefore_ = tweaks(*shape_);
        for (const auto& [vertex, point] : targets_)
            if (MStatus st = shape_->setOutputPoint(vertex, point); !st) return st;
        ownAfter_ = shape_->cell({meshAttributes().cachedInMesh.get(), -1}, true)->data;
        return MStatus::kSuccess;
    }

    void setOwn(const DataPtr& own, const std::map<int, Cell>& t) {
        shape_->cell({meshAttributes().cachedInMesh.get(), -1}, true)->data = own;
        tweaks(*shape_) = t;
        propagateDirty(*shape_, {meshAttributes().cachedInMesh.get(), -1});
        propagateDirty(*shape_, {meshAttributes().pnts.get(), -1});
    }

    std::shared_ptr<MeshShape> shape_;
    std::vector<std::pair<int, Vec3>> targets_;  // object-space positions
    Mode mode_ = Mode::Tweaks;
    std::vector<TweakChange> tweakChanges_;
    std::vector<PointChange> pointChanges_;
    DataPtr ownBefore_, ownAfter_;
    std::map<int, Cell> tweaksBefore_;
};

//! Where each named vertex of a mesh goes, in object space.
std::vector<std::pair<int, Vec3>> vertexTargets(const MeshPick& pick, const Motion& motion) {
    // The input geometry is let go before anything moves: holding it would
    // make the first edit of the shape's own geometry copy it.
    const std::vector<int> vertices = pick.components.vertexIds(*pick.shape->base());
    const SpaceFrame frame = frameOf(*pick.shape, motion.world);
    const Vec3 target = frame.pointIn(motion.value), offset = frame.vectorIn(motion.value);
    std::vector<std::pair<int, Vec3>> out;
    out.reserve(vertices.size());
    for (int v : vertices)
        out.push_back({v, motion.absolute ? target : shownPoint(*pick.shape, v) + offset});
    return out;
}

// ---------------------------------------------------------------- transform moves

struct TransformMove {
    NodePtr node;
    double before[3], after[3];

    void set(const double* values) const {
        writeNumeric(*node, {transformAttributes().translate.get(), -1}, values, 3);
    }
};

//! The transform a named object moves: itself, or a shape's parent.
DagNode* movedTransform(Node& node) {
    auto* dag = dynamic_cast<DagNode*>(&node);
    if (dag && dag->cls->role != NodeRole::Transform && dag->parent && !dag->parent->isWorld())
        dag = dag->parent;
    return dag && dag->cls->role == NodeRole::Transform ? dag : nullptr;
}

bool translateConnected(const Node& node) {
    const auto& t = transformAttributes().translate;
    for (const auto& [addr, src] : node.inputs)
        if (addr.attr == t.get() || addr.attr->parent == t.get()) return true;
    return false;
}

TransformMove transformMove(DagNode& node, const Motion& motion) {
    TransformMove m{node.self(), {}, {}};
    const Cell& t = evaluate(node, {transformAttributes().translate.get(), -1});
    std::copy(t.num, t.num + 3, m.before);
    const Vec3 now{m.before[0], m.before[1], m.before[2]};
    // An object's position is its translation in its parent's space.
    const SpaceFrame parent =
        node.parent && !node.parent->isWorld() ? frameOf(*node.parent, motion.world) : SpaceFrame();
    const Vec3 next =
        motion.absolute ? parent.pointIn(motion.value) : now + parent.vectorIn(motion.value);
    m.after[0] = next.x;
    m.after[1] = next.y;
    m.after[2] = next.z;
    return m;
}

// ---------------------------------------------------------------- move

MSyntax moveSyntax() {
    MSyntax s;
    s.addFlag("-a", "-absolute");
    s.addFlag("-r", "-relative");
    s.addFlag("-ws", "-worldSpace");
    s.addFlag("-os", "-objectSpace");
    s.addFlag("-ls", "-localSpace");
    s.addArg(MSyntax::kDouble);
    s.addArg(MSyntax::kDouble);
    s.addArg(MSyntax::kDouble);
    s.setObjectType(MSyntax::kStringObjects, 0);
    s.useSelectionAsDefault(true);
    return s;
}

class MoveCommand : public BuiltinCommand {
public:
    bool isUndoable() const override { return true; }
    MStatus run(const MArgDatabase& db) override {
        Motion motion;
        std::string why;
        if (!readMotion(db, motion, why)) return error(why);
        std::vector<Pick> picks;
        MStatus st = objectsOrSelection(db, picks);
        if (!st) return st;
        if (!plan(picks, motion, why)) return error(why);
        for (auto& m : meshMoves_)
            if (st = m.apply(); !st) {
                undoIt();
                return error(st.errorString().str());
            }
        for (const auto& t : transformMoves_) t.set(t.after);
        return MStatus::kSuccess;
    }
    MStatus undoIt() override {
        for (auto it = transformMoves_.rbegin(); it != transformMoves_.rend(); ++it)
            it->set(it->before);
        for (auto it = meshMoves_.rbegin(); it != meshMoves_.rend(); ++it) it->undo();
        return MStatus::kSuccess;
    }
    MStatus redoIt() override {
        for (auto& m : meshMoves_) m.redo();
        for (const auto& t : transformMoves_) t.set(t.after);
        return MStatus::kSuccess;
    }

private:
    static bool readMotion(const MArgDatabase& db, Motion& motion, std::string& why) {
        if (db.isFlagSet("-a") && db.isFlagSet("-r")) {
            why = "-absolute and -relative cannot be used together";
            return false;
        }
        if (db.isFlagSet("-ws") && (db.isFlagSet("-os") || db.isFlagSet("-ls"))) {
            why = "-worldSpace cannot be used with -objectSpace or -localSpace";
            return false;
        }
        double v[3];
        for (unsigned k = 0; k < 3; ++k)
            if (!db.getCommandArgument(k, v[k])) {
                why = "needs x, y and z values";
                return false;
            }
        motion.value = {v[0], v[1], v[2]};
        motion.absolute = db.isFlagSet("-a");
        motion.world = !db.isFlagSet("-os") && !db.isFlagSet("-ls");
        return true;
    }

    //! Works out every move before anything moves, so that a refusal changes nothing.
    bool plan(const std::vector<Pick>& picks, const Motion& motion, std::string& why) {
        std::vector<Pick> componentPicks;
        std::vector<DagNode*> transforms;
        for (const Pick& p : picks) {
            if (p.hasComponents) {
                componentPicks.push_back(p);
                continue;
            }
            DagNode* t = movedTransform(*p.node);
            if (!t) {
                why = p.node->name +
                      " cannot be moved: it is not a transform, a shape or a mesh component";
                return false;
            }
            if (translateConnected(*t)) {
                why = "the translation of " + t->name + " is connected and cannot be modified";
                return false;
            }
            if (std::find(transforms.begin(), transforms.end(), t) == transforms.end())
                transforms.push_back(t);
        }
        std::vector<MeshPick> meshes;
        if (!meshPicks(componentPicks, meshes, why)) return false;
        for (const MeshPick& m : meshes) meshMoves_.emplace_back(m.shape, vertexTargets(m, motion));
        for (DagNode* t : transforms) transformMoves_.push_back(transformMove(*t, motion));
        return true;
    }

    std::vector<ShapeMoves> meshMoves_;
    std::vector<TransformMove> transformMoves_;
};

// ---------------------------------------------------------------- pointPosition

MSyntax pointPositionSyntax() {
    MSyntax s;
    s.addFlag("-w", "-world");
    s.addFlag("-l", "-local");
    s.setObjectType(MSyntax::kStringObjects, 1, 1);
    return s;
}

class PointPositionCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        if (db.isFlagSet("-w") && db.isFlagSet("-l"))
            return error("-world and -local cannot be used together");
        const bool world = !db.isFlagSet("-l");
        std::vector<Pick> picks;
        std::string why;
        if (!resolvePicks(objectNames(db), picks, why)) return error(why);
        if (picks.size() != 1)
            return error("names " + std::to_string(picks.size()) + " objects: give one point");
        Vec3 p;
        if (!position(picks[0], world, p, why)) return error(why);
        MDoubleArray out;
        out.append(p.x);
        out.append(p.y);
        out.append(p.z);
        setResult(out);
        return MStatus::kSuccess;
    }

private:
    static bool position(const Pick& pick, bool world, Vec3& out, std::string& why) {
        if (pick.hasComponents) {
            if (pick.type != ComponentType::Vertex || pick.ids.size() != 1) {
                why = pick.node->name + ": name exactly one vertex";
                return false;
            }
            auto& shape = static_cast<MeshShape&>(*pick.node);
            out = frameOf(shape, world).pointOut(shownPoint(shape, pick.ids[0]));
            return true;
        }
        auto* t = dynamic_cast<DagNode*>(pick.node.get());
        if (!t || t->cls->role != NodeRole::Transform) {
            why = pick.node->name + " is not a point: name a vertex or a transform";
            return false;
        }
        const Cell& c = evaluate(*t, {transformAttributes().translate.get(), -1});
        out = {c.num[0], c.num[1], c.num[2]};
        if (world && t->parent && !t->parent->isWorld())
            out = SpaceFrame(t->parent->worldMatrix()).pointOut(out);
        return true;
    }
};

void add(Commands& c) {
    addBuiltin<MoveCommand>(c, "move", moveSyntax);
    addBuiltin<PointPositionCommand>(c, "pointPosition", pointPositionSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
