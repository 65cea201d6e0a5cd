// viewFit and hostReport: framing the active camera on what a session works
// on, and a running account of a session's actions for a person watching a
// script run (one line per action, a summary of the mesh built at the end).

#include <maya/MMatrix.h>
#include <maya/MPoint.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "host/src/builtins/Builtin.h"
#include "host/src/core/MessageLog.h"
#include "host/src/dag/Dag.h"
#include "host/src/nodes/Camera.h"
#include "host/src/nodes/MeshShape.h"
#include "host/src/view/Views.h"

namespace ehost {

namespace {

Vec3 transformed(const Vec3& p, const MMatrix& m) {
    MPoint q = MPoint(p.x, p.y, p.z) * m;
    return {q.x, q.y, q.z};
}

struct Box {
    Vec3 lo{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
            std::numeric_limits<double>::infinity()};
    Vec3 hi = -lo;
    bool empty() const { return !(lo.x <= hi.x); }
    void add(const Vec3& p) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
};

//! The world-space points of every visible mesh shape at or under a DAG node.
void addMeshes(DagNode& top, Box& box) {
    std::vector<DagNode*> todo{&top};
    while (!todo.empty()) {
        DagNode* node = todo.back();
        todo.pop_back();
        if (auto* mesh = dynamic_cast<MeshShape*>(node)) {
            const MMatrix world = mesh->worldMatrix();
            for (const Vec3& p : mesh->output()->points()) box.add(transformed(p, world));
        }
        for (const NodePtr& child : node->children)
            if (auto* dag = dynamic_cast<DagNode*>(child.get())) todo.push_back(dag);
    }
}

// ---------------------------------------------------------------- viewFit

MSyntax viewFitSyntax() {
    MSyntax s;
    s.addFlag("-f", "-fitFactor", MSyntax::kDouble);
    s.addFlag("-all", "-allObjects");
    s.setObjectType(MSyntax::kStringObjects, 0);
    return s;
}

//! Moves the active panel's camera along its view direction until the named
//! objects (the selection, or everything with -allObjects or when nothing is
//! selected) fill the view; fitFactor below 1 leaves a margin.
class ViewFitCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        Panel& panel = theViews().activePanel();
        if (!panel.hasCamera()) return error("panel " + panel.name + " has no camera");
        double factor = 1;
        if (db.isFlagSet("-f")) db.getFlagArgument("-f", 0, factor);
        if (!(factor > 0 && std::isfinite(factor)))
            return error("the fit factor must be a positive number");
        std::vector<SelItem> items;
        if (!db.isFlagSet("-all") &&
            (objectNames(db).length() > 0 || !theSelection().items.empty())) {
            MStatus st = objectsOrSelection(db, items);
            if (!st) return st;
        }
        Box box;
        if (items.empty()) {
            addMeshes(theWorld(), box);
        } else {
            for (const SelItem& item : items)
                if (auto* dag = dynamic_cast<DagNode*>(item.node.get())) addMeshes(*dag, box);
        }
        if (box.empty()) return error("there is no mesh to fit the view to");
        DagNode& camera = *panel.camera;
        CameraPose pose = cameraPose(camera);
        Vec3 direction = pose.centerOfInterest - pose.eye;
        direction = direction / std::sqrt(lengthSquared(direction));
        const Vec3 center = (box.lo + box.hi) * 0.5;
        const double radius = std::max(std::sqrt(lengthSquared(box.hi - box.lo)) * 0.5, 1e-9);
        const double aspect = static_cast<double>(panel.width) / panel.height;
        const double vertical = pose.verticalFov;
        const double horizontal = 2 * std::atan(std::tan(vertical / 2) * aspect);
        const double distance = radius / std::sin(std::min(vertical, horizontal) / 2) / factor;
        placeCamera(camera, center - direction * distance, center, pose.up);
        return MStatus::kSuccess;
    }
};

// ---------------------------------------------------------------- hostReport

MSyntax reportSyntax() {
    MSyntax s;
    s.addFlag("-b", "-begin");
    s.addFlag("-s", "-summary");
    s.addFlag("-m", "-mark");
    s.addFlag("-sf", "-surface", MSyntax::kString);
    s.addFlag("-tol", "-tolerance", MSyntax::kDouble);
    s.setObjectType(MSyntax::kStringObjects, 0, 1);
    return s;
}

using Clock = std::chrono::steady_clock;

//! The account of the script being run. Process-wide on purpose: a report
//! spans whatever the script does to the scene, new scenes included.
struct Account {
    Clock::time_point since = Clock::now();
    int faces = 0, vertices = 0;
    struct Action {
        std::string label;
        double ms;
    };
    std::vector<Action> actions;
};

Account& account() {
    static Account a;
    return a;
}

//! The retopology mesh, as the tool takes it: the first selected mesh.
MeshShape* selectedMesh() {
    for (const SelItem& item : theSelection().items) {
        auto* dag = dynamic_cast<DagNode*>(item.node.get());
        if (!dag) continue;
        if (auto* mesh = dynamic_cast<MeshShape*>(dag)) return mesh;
        for (const NodePtr& child : dag->children)
            if (auto* mesh = dynamic_cast<MeshShape*>(child.get())) return mesh;
        return nullptr;
    }
    return nullptr;
}

std::string fixed(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    return text;
}

//! "+144 faces, +169 vertices" and friends.
std::string signedCount(int n, const char* what) {
    return (n >= 0 ? "+" : "") + std::to_string(n) + " " + what;
}

class HostReportCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        if (db.isFlagSet("-b")) return begin();
        if (db.isFlagSet("-s")) return summary(db);
        if (db.isFlagSet("-m")) {
            // What ran since the last report (pictures, say) is nobody's action.
            account().since = Clock::now();
            return MStatus::kSuccess;
        }
        MStringArray names = objectNames(db);
        if (names.length() != 1)
            return error("give the action's name, or -begin, -mark or -summary");
        return action(names[0].str());
    }

private:
    MStatus begin() {
        Account& a = account();
        a = Account();
        if (MeshShape* mesh = selectedMesh()) {
            a.faces = mesh->output()->numFaces();
            a.vertices = mesh->output()->numVertices();
        }
        return MStatus::kSuccess;
    }

    MStatus action(const std::string& label) {
        Account& a = account();
        const auto now = Clock::now();
        const double ms = std::chrono::duration<double, std::milli>(now - a.since).count();
        int faces = 0, vertices = 0;
        if (MeshShape* mesh = selectedMesh()) {
            faces = mesh->output()->numFaces();
            vertices = mesh->output()->numVertices();
        }
        a.actions.push_back({label, ms});
        std::string line = "[" + std::to_string(a.actions.size()) + "] " + label + ": " +
                           signedCount(faces - a.faces, "faces") + ", " +
                           signedCount(vertices - a.vertices, "vertices") + " (" +
                           std::to_string(faces) + " faces, " + std::to_string(vertices) +
                           " vertices), " + fixed(ms, 1) + " ms";
        theMessages().info(line);
        a.faces = faces;
        a.vertices = vertices;
        setResult(MString(line));
        // Whatever runs between two reports (pictures, say) is not an action's.
        a.since = Clock::now();
        return MStatus::kSuccess;
    }

    MStatus summary(const MArgDatabase& db) {
        MeshShape* mesh = selectedMesh();
        if (!mesh) return error("select the retopology mesh for its summary");
        auto g = mesh->output();
        int quads = 0;
        for (int f = 0; f < g->numFaces(); ++f) quads += g->faceVertices(f).size() == 4 ? 1 : 0;
        int nonManifold = 0, border = 0;
        for (int e = 0; e < g->numEdges(); ++e) {
            const auto users = g->edgeFaces(e).size();
            nonManifold += users > 2 ? 1 : 0;
            border += users == 1 ? 1 : 0;
        }
        std::ostringstream out;
        out << "retopology mesh " << mesh->fullPath() << ": " << quads << " quads, "
            << g->numFaces() - quads << " other polygons, " << g->numVertices() << " vertices, "
            << border << " border edges, " << nonManifold << " non-manifold edges";
        if (db.isFlagSet("-sf")) {
            MString name;
            db.getFlagArgument("-sf", 0, name);
            double tolerance = 0.001;
            if (db.isFlagSet("-tol")) db.getFlagArgument("-tol", 0, tolerance);
            MStatus st = surfaceDistances(*mesh, name.str(), tolerance, out);
            if (!st) return st;
        }
        const Account& a = account();
        if (!a.actions.empty()) {
            double total = 0;
            const Account::Action* slowest = &a.actions.front();
            for (const auto& act : a.actions) {
                total += act.ms;
                if (act.ms > slowest->ms) slowest = &act;
            }
            out << "; " << a.actions.size() << " actions in " << fixed(total, 1) << " ms, "
                << fixed(total / a.actions.size(), 1) << " ms each on average, the slowest "
                << slowest->label << " (" << fixed(slowest->ms, 1) << " ms)";
        }
        theMessages().info(out.str());
        setResult(MString(out.str()));
        return MStatus::kSuccess;
    }

    //! How many vertices lie on the surface (within tolerance) and how far the
    //! farthest is from it, measured in world space.
    MStatus surfaceDistances(MeshShape& mesh, const std::string& sourceName, double tolerance,
                             std::ostringstream& out) {
        MStringArray names;
        names.append(MString(sourceName));
        std::vector<SelItem> items;
        MStatus st = resolveObjects(names, items);
        if (!st) return st;
        MeshShape* source = nullptr;
        if (auto* dag = dynamic_cast<DagNode*>(items.front().node.get())) {
            source = dynamic_cast<MeshShape*>(dag);
            for (const NodePtr& child : dag->children)
                if (!source) source = dynamic_cast<MeshShape*>(child.get());
        }
        if (!source) return error("\"" + sourceName + "\" is not a mesh");
        const MMatrix toSource = source->worldMatrix().inverse();
        const MMatrix sourceToWorld = source->worldMatrix();
        const MMatrix world = mesh.worldMatrix();
        auto s = source->output();
        int onSurface = 0;
        double farthest = 0;
        for (const Vec3& p : mesh.output()->points()) {
            const Vec3 w = transformed(p, world);
            ClosestPointResult near = s->closestPoint(transformed(w, toSource));
            if (!near.found) continue;
            const double d = std::sqrt(lengthSquared(transformed(near.point, sourceToWorld) - w));
            farthest = std::max(farthest, d);
            onSurface += d <= tolerance ? 1 : 0;
        }
        out << "; " << onSurface << " of its vertices lie on " << source->fullPath() << " (within "
            << tolerance << "), the farthest " << fixed(farthest, 6) << " away";
        return MStatus::kSuccess;
    }
};

void add(Commands& c) {
    addBuiltin<ViewFitCommand>(c, "viewFit", viewFitSyntax);
    addBuiltin<HostReportCommand>(c, "hostReport", reportSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
