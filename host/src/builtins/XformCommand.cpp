// xform: queries and edits of transforms in object or world space.

#include <maya/MDoubleArray.h>
#include <maya/MEulerRotation.h>
#include <maya/MStringArray.h>
#include <maya/MTransformationMatrix.h>

#include <array>
#include <cmath>

#include "host/src/builtins/Builtin.h"
#include "host/src/builtins/MeshTargets.h"
#include "host/src/builtins/TransformEdit.h"
#include "host/src/dag/Dag.h"

namespace ehost {

namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;

const char* const kOrderNames[6] = {"xyz", "yzx", "zxy", "xzy", "yxz", "zyx"};

int orderNamed(const std::string& name) {
    for (int i = 0; i < 6; ++i)
        if (name == kOrderNames[i]) return i;
    return -1;
}

MSyntax xformSyntax() {
    MSyntax s;
    s.addFlag("-ws", "-worldSpace");
    s.addFlag("-os", "-objectSpace");
    s.addFlag("-r", "-relative");
    s.addFlag("-a", "-absolute");
    s.addFlag("-t", "-translation", MSyntax::kDouble, MSyntax::kDouble, MSyntax::kDouble);
    s.addFlag("-ro", "-rotation", MSyntax::kDouble, MSyntax::kDouble, MSyntax::kDouble);
    s.addFlag("-s", "-scale", MSyntax::kDouble, MSyntax::kDouble, MSyntax::kDouble);
    s.addFlag("-sh", "-shear", MSyntax::kDouble, MSyntax::kDouble, MSyntax::kDouble);
    s.addFlag("-m", "-matrix", MSyntax::kDouble, MSyntax::kDouble, MSyntax::kDouble,
              MSyntax::kDouble, MSyntax::kDouble, MSyntax::kDouble);
    s.addFlag("-roo", "-rotateOrder", MSyntax::kString);
    s.addFlag("-p", "-preserve", MSyntax::kBoolean);
    s.addFlag("-rp", "-rotatePivot", MSyntax::kDouble, MSyntax::kDouble, MSyntax::kDouble);
    s.addFlag("-sp", "-scalePivot", MSyntax::kDouble, MSyntax::kDouble, MSyntax::kDouble);
    s.addFlag("-piv", "-pivots", MSyntax::kDouble, MSyntax::kDouble, MSyntax::kDouble);
    s.addFlag("-bb", "-boundingBox");
    s.addFlag("-bbi", "-boundingBoxInvisible");
    s.enableQuery(true);
    s.setObjectType(MSyntax::kStringObjects, 0);
    s.useSelectionAsDefault(true);
    return s;
}

//! The 16 numbers of -matrix come as 6 flag arguments followed by 10 more
//! words; they are read from the flag's argument list and the objects.
bool matrixArgument(const MArgDatabase& db, MStringArray& objects, MMatrix& out, std::string& why) {
    MArgList l;
    db.getFlagArgumentList("-m", 0, l);
    std::vector<double> v;
    for (unsigned i = 0; i < l.length(); ++i) v.push_back(l.asDouble(i));
    MStringArray rest;
    for (unsigned i = 0; i < objects.length(); ++i) {
        char* end = nullptr;
        const std::string text = objects[i].str();
        double d = std::strtod(text.c_str(), &end);
        if (v.size() < 16 && !text.empty() && end && *end == 0)
            v.push_back(d);
        else
            rest.append(objects[i]);
    }
    if (v.size() != 16) {
        why = "-matrix needs 16 numbers, got " + std::to_string(v.size());
        return false;
    }
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out[r][c] = v[r * 4 + c];
    objects = rest;
    return true;
}

MMatrix rotationMatrix(const double degrees[3], int order) {
    return MEulerRotation(degrees[0] / kDegrees, degrees[1] / kDegrees, degrees[2] / kDegrees,
                          static_cast<MEulerRotation::RotationOrder>(order))
        .asMatrix();
}

//! The rotation part of a matrix (scale and shear taken out).
MMatrix rotationOf(const MMatrix& m) {
    return MTransformationMatrix(m).asRotateMatrix();
}

class XformCommand : public BuiltinCommand {
public:
    // Queries change nothing and stay out of the undo queue.
    bool isUndoable() const override { return !edits_.empty(); }

    MStatus run(const MArgDatabase& db) override {
        MStringArray names = objectNames(db);
        MMatrix matrix;
        const bool hasMatrix = db.isFlagSet("-m") && !db.isQuery();
        if (hasMatrix) {
            std::string why;
            if (!matrixArgument(db, names, matrix, why)) return error(why);
        }
        std::vector<Pick> picks;
        std::string why;
        if (!picksOrSelection(names, picks, why)) return error(why);
        if (picks.empty()) return notEnoughObjects();
        world_ = db.isFlagSet("-ws");
        if (db.isQuery()) return query(db, picks);
        return edit(db, picks, hasMatrix ? &matrix : nullptr);
    }

    MStatus undoIt() override {
        edits_.undo();
        return MStatus::kSuccess;
    }
    MStatus redoIt() override {
        edits_.redo();
        return MStatus::kSuccess;
    }

private:
    // ---------------------------------------------------------------- query

    MStatus query(const MArgDatabase& db, const std::vector<Pick>& picks) {
        MDoubleArray out;
        auto append = [&](std::initializer_list<double> values) {
            for (double v : values) out.append(v == 0 ? 0.0 : v);
        };
        if (db.isFlagSet("-roo")) {
            MStringArray orders;
            for (const auto& p : picks) {
                auto* t = transformOf(p);
                if (!t) return notATransform(p);
                orders.append(MString(kOrderNames[readChannels(*t).order]));
            }
            setResult(orders);
            return MStatus::kSuccess;
        }
        if (db.isFlagSet("-bb") || db.isFlagSet("-bbi")) {
            const bool hidden = db.isFlagSet("-bbi");
            for (const auto& p : picks) {
                auto* d = dynamic_cast<DagNode*>(p.node.get());
                if (!d) return notDag(p);
                MBoundingBox b = world_ ? worldBounds(*d, hidden) : boundsInOwnSpace(*d, hidden);
                append({b.min().x, b.min().y, b.min().z, b.max().x, b.max().y, b.max().z});
            }
            setResult(out);
            return MStatus::kSuccess;
        }
        for (const auto& p : picks) {
            if (p.hasComponents) {
                if (!db.isFlagSet("-t"))
                    return error("components have only a translation to query: " + p.node->name);
                auto* shape = dynamic_cast<MeshShape*>(p.node.get());
                if (!shape) return error(p.node->name + " has no vertices");
                ComponentList list;
                list.add(p.type, p.ids);
                auto mesh = shape->output();
                const MMatrix w = shape->worldMatrix();
                for (int v : list.vertexIds(*mesh)) {
                    Vec3 q = mesh->point(v);
                    MPoint pt(q.x, q.y, q.z);
                    if (world_) pt = pt * w;
                    append({pt.x, pt.y, pt.z});
                }
                continue;
            }
            auto* t = transformOf(p);
            if (!t) return notATransform(p);
            Channels c = readChannels(*t);
            MMatrix w = t->worldMatrix();
            if (db.isFlagSet("-t")) {
                if (world_)
                    append({w[3][0], w[3][1], w[3][2]});
                else
                    append({c.t[0], c.t[1], c.t[2]});
            } else if (db.isFlagSet("-ro")) {
                if (world_) c = channelsOf(w, c.order);
                append({c.r[0] * kDegrees, c.r[1] * kDegrees, c.r[2] * kDegrees});
            } else if (db.isFlagSet("-s")) {
                if (world_) c = channelsOf(w, c.order);
                append({c.s[0], c.s[1], c.s[2]});
            } else if (db.isFlagSet("-sh")) {
                append({0, 0, 0});
            } else if (db.isFlagSet("-m")) {
                MMatrix m = world_ ? w : t->localMatrix();
                for (int r = 0; r < 4; ++r)
                    for (int k = 0; k < 4; ++k) out.append(m[r][k] == 0 ? 0.0 : m[r][k]);
            } else if (db.isFlagSet("-rp") || db.isFlagSet("-sp") || db.isFlagSet("-piv")) {
                // Pivots sit at the transform's origin.
                MPoint at = world_ ? MPoint() * w : MPoint();
                append({at.x, at.y, at.z});
                if (db.isFlagSet("-piv")) append({at.x, at.y, at.z});
            } else {
                return error(
                    "nothing to query: use -translation, -rotation, -scale, -matrix, "
                    "-rotateOrder, -pivots or -boundingBox");
            }
        }
        setResult(out);
        return MStatus::kSuccess;
    }

    // ---------------------------------------------------------------- edit

    MStatus edit(const MArgDatabase& db, const std::vector<Pick>& picks, const MMatrix* matrix) {
        const bool relative = db.isFlagSet("-r");
        if (relative && db.isFlagSet("-a"))
            return error("-relative and -absolute cannot be used together");
        if (relative && matrix)
            return error("-matrix sets the whole matrix: it cannot be relative");
        for (const char* f : {"-rp", "-sp", "-piv", "-bb", "-bbi"})
            if (db.isFlagSet(f))
                return error(std::string("pivots and boxes are only queried: ") + f);
        if (db.isFlagSet("-sh")) {
            double v[3];
            readTriple(db, "-sh", v);
            if (v[0] != 0 || v[1] != 0 || v[2] != 0) return error("transforms here have no shear");
        }
        int newOrder = -1;
        if (db.isFlagSet("-roo")) {
            MString name;
            db.getFlagArgument("-roo", 0, name);
            newOrder = orderNamed(name.str());
            if (newOrder < 0) return error("Invalid rotate order: " + name.str());
        }
        bool preserve = false;
        if (db.isFlagSet("-p")) db.getFlagArgument("-p", 0, preserve);

        std::vector<TransformNode*> targets;
        for (const auto& p : picks) {
            if (p.hasComponents)
                return error("components are moved with the move command, not xform: " +
                             p.node->name);
            auto* t = transformOf(p);
            if (!t) return notATransform(p);
            targets.push_back(t);
        }
        for (TransformNode* t : targets) {
            edits_.record(*t);
            Channels c = readChannels(*t);
            if (matrix) c = channelsOf(world_ ? localFor(*t, *matrix) : *matrix, c.order);
            if (newOrder >= 0) {
                c = preserve ? channelsOf(t->localMatrix(), newOrder) : c;
                c.order = newOrder;
            }
            if (db.isFlagSet("-ro")) rotate(db, *t, c, relative);
            if (db.isFlagSet("-s")) scale(db, *t, c, relative);
            if (db.isFlagSet("-t")) translate(db, *t, c, relative);
            edits_.set(*t, c);
        }
        return MStatus::kSuccess;
    }

    static void readTriple(const MArgDatabase& db, const char* flag, double v[3]) {
        for (unsigned i = 0; i < 3; ++i) db.getFlagArgument(flag, i, v[i]);
    }

    void translate(const MArgDatabase& db, TransformNode& t, Channels& c, bool relative) const {
        double v[3];
        readTriple(db, "-t", v);
        if (!world_) {
            for (int k = 0; k < 3; ++k) c.t[k] = relative ? c.t[k] + v[k] : v[k];
            return;
        }
        // World space: a position (or, relative, an offset) carried into the
        // parent's space.
        const MMatrix toParent = t.parent ? t.parent->worldMatrix().inverse() : MMatrix();
        if (relative) {
            MVector d = MVector(v[0], v[1], v[2]) * toParent;
            c.t[0] += d.x;
            c.t[1] += d.y;
            c.t[2] += d.z;
        } else {
            MPoint p = MPoint(v[0], v[1], v[2]) * toParent;
            c.t[0] = p.x;
            c.t[1] = p.y;
            c.t[2] = p.z;
        }
    }

    void rotate(const MArgDatabase& db, TransformNode& t, Channels& c, bool relative) const {
        double v[3];
        readTriple(db, "-ro", v);
        if (!world_) {
            for (int k = 0; k < 3; ++k) c.r[k] = (relative ? c.r[k] : 0) + v[k] / kDegrees;
            return;
        }
        const MMatrix parentRotation = t.parent ? rotationOf(t.parent->worldMatrix()) : MMatrix();
        const MMatrix current = rotationMatrix(
            std::array<double, 3>{c.r[0] * kDegrees, c.r[1] * kDegrees, c.r[2] * kDegrees}.data(),
            c.order);
        const MMatrix given = rotationMatrix(v, c.order);
        // Relative turns follow the current world rotation, about world axes.
        MMatrix wanted = relative ? current * parentRotation * given : given;
        Channels r = channelsOf(wanted * parentRotation.inverse(), c.order);
        for (int k = 0; k < 3; ++k) c.r[k] = r.r[k];
    }

    void scale(const MArgDatabase& db, TransformNode& t, Channels& c, bool relative) const {
        double v[3];
        readTriple(db, "-s", v);
        if (relative) {
            for (int k = 0; k < 3; ++k) c.s[k] *= v[k];
            return;
        }
        if (!world_) {
            for (int k = 0; k < 3; ++k) c.s[k] = v[k];
            return;
        }
        double parentScale[3] = {1, 1, 1};
        if (t.parent)
            MTransformationMatrix(t.parent->worldMatrix())
                .getScale(parentScale, MSpace::kTransform);
        for (int k = 0; k < 3; ++k) c.s[k] = parentScale[k] != 0 ? v[k] / parentScale[k] : v[k];
    }

    static TransformNode* transformOf(const Pick& p) {
        if (p.node->cls->role != NodeRole::Transform) return nullptr;
        return static_cast<TransformNode*>(p.node.get());
    }

    MStatus notATransform(const Pick& p) { return error(p.node->name + " is not a transform"); }
    MStatus notDag(const Pick& p) { return error(p.node->name + " is not a DAG node"); }

    bool world_ = false;
    ChannelEdits edits_;
};

void add(Commands& c) {
    addBuiltin<XformCommand>(c, "xform", xformSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
