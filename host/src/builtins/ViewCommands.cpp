// viewPlace, hostView, refresh, modelEditor: cameras and panels.

#include <cmath>
#include <numbers>

#include "host/src/builtins/Builtin.h"
#include "host/src/core/MessageLog.h"
#include "host/src/core/StatusText.h"
#include "host/src/nodes/Camera.h"
#include "host/src/view/Snapshot.h"
#include "host/src/view/Views.h"

namespace ehost {

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

//! The camera a name names; null with the reason when it names none.
DagNode* cameraNamed(const std::string& name, std::string& why) {
    DagNode* camera = findCamera(name);
    if (!camera) why = "\"" + name + "\" is not a camera";
    return camera;
}

//! The camera a flag names.
DagNode* cameraFlag(const MArgDatabase& db, const char* flag, std::string& why) {
    MString name;
    db.getFlagArgument(flag, 0, name);
    return cameraNamed(name.str(), why);
}

//! The camera named, or the active panel's when no name is given.
DagNode* cameraFor(const MStringArray& objects, std::string& why) {
    if (objects.length() == 0) {
        Panel& panel = theViews().activePanel();
        if (!panel.hasCamera()) {
            why = "panel " + panel.name + " has no camera";
            return nullptr;
        }
        return panel.camera.get();
    }
    return cameraNamed(objects[0].str(), why);
}

//! The panel named, or the active one.
Panel* panelFor(const MStringArray& objects, std::string& why) {
    if (objects.length() == 0) return &theViews().activePanel();
    Panel* panel = theViews().findPanel(objects[0].str());
    if (!panel) why = "no panel named \"" + objects[0].str() + "\"";
    return panel;
}

Vec3 flagPoint(const MArgDatabase& db, const char* flag) {
    double v[3] = {0, 0, 0};
    for (unsigned k = 0; k < 3; ++k) db.getFlagArgument(flag, k, v[k]);
    return {v[0], v[1], v[2]};
}

// ---------------------------------------------------------------- viewPlace

MSyntax viewPlaceSyntax() {
    MSyntax s;
    s.addFlag("-eye", "-eyePoint", MSyntax::kDouble, MSyntax::kDouble, MSyntax::kDouble);
    s.addFlag("-la", "-lookAt", MSyntax::kDouble, MSyntax::kDouble, MSyntax::kDouble);
    s.addFlag("-up", "-upDirection", MSyntax::kDouble, MSyntax::kDouble, MSyntax::kDouble);
    s.addFlag("-fov", "-fieldOfView", MSyntax::kDouble);
    s.setObjectType(MSyntax::kStringObjects, 0, 1);
    return s;
}

//! Places a camera: where it looks from and to, its up direction and its
//! vertical field of view in degrees. What is not given stays.
class ViewPlaceCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        std::string why;
        DagNode* camera = cameraFor(objectNames(db), why);
        if (!camera) return error(why);
        CameraPose pose = cameraPose(*camera);
        Vec3 eye = db.isFlagSet("-eye") ? flagPoint(db, "-eye") : pose.eye;
        Vec3 target = db.isFlagSet("-la") ? flagPoint(db, "-la") : pose.centerOfInterest;
        Vec3 up = db.isFlagSet("-up") ? flagPoint(db, "-up") : pose.up;
        if (lengthSquared(target - eye) == 0)
            return error("the eye and the look-at point are the same point");
        if (lengthSquared(up) == 0) return error("the up direction is zero");
        if (lengthSquared(cross(target - eye, up)) <
            1e-18 * lengthSquared(target - eye) * lengthSquared(up))
            return error("the up direction is parallel to the view direction");
        double fov = pose.verticalFov * kDegrees;
        if (db.isFlagSet("-fov")) db.getFlagArgument("-fov", 0, fov);
        if (!(fov > 0 && fov < 180))
            return error("the field of view must lie between 0 and 180 degrees");
        placeCamera(*camera, eye, target, up);
        setVerticalFov(*camera, fov / kDegrees);
        return MStatus::kSuccess;
    }
};

// ---------------------------------------------------------------- hostView

MSyntax hostViewSyntax() {
    MSyntax s;
    s.addFlag("-s", "-size", MSyntax::kLong, MSyntax::kLong);
    s.addFlag("-ap", "-addPanel", MSyntax::kString);
    s.addFlag("-c", "-camera", MSyntax::kString);
    s.addFlag("-sa", "-setActive", MSyntax::kString);
    s.addFlag("-sn", "-snapshot", MSyntax::kString);
    s.addFlag("-lp", "-listPanels");
    s.addFlag("-act", "-activePanel");
    s.setObjectType(MSyntax::kStringObjects, 0, 1);
    return s;
}

//! The host's own view control: port sizes, panels, the active panel and
//! snapshots of what a panel shows.
class HostViewCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        if (db.isFlagSet("-ap")) return addPanel(db);
        if (db.isFlagSet("-sa")) return setActive(db);
        if (db.isFlagSet("-lp")) return listPanels();
        if (db.isFlagSet("-act")) {
            setResult(MString(theViews().activePanel().name));
            return MStatus::kSuccess;
        }
        std::string why;
        Panel* panel = panelFor(objectNames(db), why);
        if (!panel) return error(why);
        if (db.isFlagSet("-s")) {
            int w = 0, h = 0;
            db.getFlagArgument("-s", 0, w);
            db.getFlagArgument("-s", 1, h);
            MStatus st = theViews().setPanelSize(*panel, w, h);
            if (!st) return error(statusText(st));
        }
        if (db.isFlagSet("-sn")) return snapshot(db, *panel);
        if (!db.isFlagSet("-s"))
            return error(
                "nothing to do: give -size, -addPanel, -setActive, -snapshot or -listPanels");
        return MStatus::kSuccess;
    }

private:
    MStatus addPanel(const MArgDatabase& db) {
        MString name;
        db.getFlagArgument("-ap", 0, name);
        if (!db.isFlagSet("-c")) return error("-addPanel needs -camera");
        std::string why;
        DagNode* camera = cameraFlag(db, "-c", why);
        if (!camera) return error(why);
        MStatus st = theViews().addPanel(name.str(), *camera);
        if (!st) return error(statusText(st));
        setResult(name);
        return MStatus::kSuccess;
    }

    MStatus setActive(const MArgDatabase& db) {
        MString name;
        db.getFlagArgument("-sa", 0, name);
        MStatus st = theViews().setActivePanel(name.str());
        if (!st) return error(statusText(st));
        return MStatus::kSuccess;
    }

    MStatus listPanels() {
        MStringArray names;
        for (const auto& p : theViews().panels()) names.append(MString(p->name));
        setResult(names);
        return MStatus::kSuccess;
    }

    MStatus snapshot(const MArgDatabase& db, Panel& panel) {
        MString file;
        db.getFlagArgument("-sn", 0, file);
        // The picture shows the panel as it is now: draw it first.
        MStatus st = theViews().refresh(panel);
        if (st) st = writeSnapshot(panel, file.str());
        if (!st) return error(statusText(st));
        setResult(file);
        return MStatus::kSuccess;
    }
};

// ---------------------------------------------------------------- refresh

MSyntax refreshSyntax() {
    MSyntax s;
    s.addFlag("-f", "-force");
    s.addFlag("-cv", "-currentView");
    return s;
}

//! Redraws every panel, or only the active one with -currentView.
class RefreshCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        MStatus st = db.isFlagSet("-cv") ? theViews().refresh(theViews().activePanel())
                                         : theViews().refreshAll();
        // A panel without a camera draws nothing; that is no reason to stop a script.
        if (!st) theMessages().warning("refresh: " + statusText(st));
        return MStatus::kSuccess;
    }
};

// ---------------------------------------------------------------- modelEditor

MSyntax modelEditorSyntax() {
    MSyntax s;
    s.addFlag("-rom", "-rendererOverrideName", MSyntax::kString);
    s.addFlag("-cam", "-camera", MSyntax::kString);
    s.addFlag("-ex", "-exists");
    s.setObjectType(MSyntax::kStringObjects, 1, 1);
    s.enableEdit(true);
    s.enableQuery(true);
    return s;
}

//! Edits or queries a model panel's renderer override and camera.
class ModelEditorCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        const MStringArray objects = objectNames(db);
        Panel* panel = theViews().findPanel(objects[0].str());
        if (db.isFlagSet("-ex")) {
            setResult(panel != nullptr);
            return MStatus::kSuccess;
        }
        if (!panel) return error("no panel named \"" + objects[0].str() + "\"");
        if (db.isQuery()) return query(db, *panel);
        if (!db.isEdit())
            return error("this host's panels are edited (-edit) or queried (-query), not created");
        if (db.isFlagSet("-cam")) {
            std::string why;
            DagNode* camera = cameraFlag(db, "-cam", why);
            if (!camera) return error(why);
            MStatus st = theViews().setPanelCamera(*panel, *camera);
            if (!st) return error(statusText(st));
        }
        if (db.isFlagSet("-rom")) {
            MString name;
            db.getFlagArgument("-rom", 0, name);
            MStatus st = theViews().setPanelRenderer(*panel, name.str());
            if (!st) return error(statusText(st));
        }
        return MStatus::kSuccess;
    }

private:
    MStatus query(const MArgDatabase& db, Panel& panel) {
        if (db.isFlagSet("-rom")) {
            setResult(MString(panel.renderer));
        } else if (db.isFlagSet("-cam")) {
            if (!panel.hasCamera()) return error("panel " + panel.name + " has no camera");
            DagNode* cam = panel.camera.get();
            bool underTransform = cam->parent && !cam->parent->isWorld();
            setResult(MString(underTransform ? cam->parent->name : cam->name));
        } else {
            return error("-query needs -rendererOverrideName or -camera");
        }
        return MStatus::kSuccess;
    }
};

void add(Commands& c) {
    addBuiltin<ViewPlaceCommand>(c, "viewPlace", viewPlaceSyntax);
    addBuiltin<HostViewCommand>(c, "hostView", hostViewSyntax);
    addBuiltin<RefreshCommand>(c, "refresh", refreshSyntax);
    addBuiltin<ModelEditorCommand>(c, "modelEditor", modelEditorSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
