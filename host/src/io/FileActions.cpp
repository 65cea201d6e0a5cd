#include "host/src/io/FileActions.h"

#include <maya/MSceneMessage.h>

#include "host/src/core/Events.h"
#include "host/src/dg/Scene.h"
#include "host/src/io/MeshFiles.h"
#include "host/src/io/SceneFile.h"

namespace ehost {

namespace {

FileActivity& activity() {
    static FileActivity a;
    return a;
}

void tell(MSceneMessage::Message message) {
    theEvents().fire(sceneMessageEvent(message));
}

//! Fails with the reason when a check callback answers no.
MStatus checked(MSceneMessage::Message check, const std::string& action, std::string* why) {
    if (theEvents().check(sceneMessageEvent(check))) return MStatus::kSuccess;
    const std::string text = "a callback refused the " + action;
    if (why) *why = text;
    return MStatus(MStatus::kFailure, text);
}

//! Raises flags of the activity for the time of one step.
class During {
public:
    During(std::initializer_list<bool FileActivity::*> flags) : flags_(flags) {
        for (auto f : flags_) activity().*f = true;
    }
    ~During() {
        for (auto f : flags_) activity().*f = false;
    }
    During(const During&) = delete;
    During& operator=(const During&) = delete;

private:
    std::vector<bool FileActivity::*> flags_;
};

MStatus refused(std::string* why, const char* text) {
    if (why) *why = text;
    return MStatus(MStatus::kFailure, text);
}

}  // namespace

std::string sceneMessageEvent(int message) {
    return "sceneMessage:" + std::to_string(message);
}

bool isSceneCheckMessage(int message) {
    switch (message) {
        case MSceneMessage::kBeforeNewCheck:
        case MSceneMessage::kBeforeOpenCheck:
        case MSceneMessage::kBeforeSaveCheck:
        case MSceneMessage::kBeforeImportCheck:
        case MSceneMessage::kBeforeExportCheck:
        case MSceneMessage::kBeforeLoadReferenceCheck:
        case MSceneMessage::kBeforeReferenceCheck:
            return true;
        default:
            return false;
    }
}

const FileActivity& fileActivity() {
    return activity();
}

MStatus fileNew(std::string* why) {
    if (MStatus st = checked(MSceneMessage::kBeforeNewCheck, "new scene", why); !st) return st;
    tell(MSceneMessage::kBeforeNew);
    {
        During d{&FileActivity::newing};
        startNewScene();
        setSceneFileName("");
    }
    tell(MSceneMessage::kAfterNew);
    theEvents().fire("NewSceneOpened");
    tell(MSceneMessage::kSceneUpdate);
    return MStatus::kSuccess;
}

MStatus fileOpen(const std::string& path, std::string* why) {
    if (MStatus st = checked(MSceneMessage::kBeforeOpenCheck, "opening of " + path, why); !st)
        return st;
    activity().beforeOpen = path;
    tell(MSceneMessage::kBeforeOpen);
    MStatus st;
    {
        During d{&FileActivity::opening, &FileActivity::reading};
        tell(MSceneMessage::kBeforeFileRead);
        st = openScene(path, why);
    }
    if (!st) return st;
    tell(MSceneMessage::kAfterFileRead);
    tell(MSceneMessage::kAfterOpen);
    theEvents().fire("SceneOpened");
    tell(MSceneMessage::kSceneUpdate);
    return MStatus::kSuccess;
}

MStatus fileSave(std::string* why) {
    if (sceneFileName().empty()) return saveCurrentScene(why);  // the refusal of an untitled scene
    if (MStatus st = checked(MSceneMessage::kBeforeSaveCheck, "save", why); !st) return st;
    activity().beforeSave = sceneFileName();
    tell(MSceneMessage::kBeforeSave);
    MStatus st;
    {
        During d{&FileActivity::saving, &FileActivity::writing};
        st = saveCurrentScene(why);
    }
    if (!st) return st;
    tell(MSceneMessage::kAfterSave);
    theEvents().fire("SceneSaved");
    return MStatus::kSuccess;
}

MStatus fileSaveAs(const std::string& path, std::string* why) {
    if (path.empty()) return refused(why, "saving needs a file name");
    const std::string before = sceneFileName();
    setSceneFileName(path);
    MStatus st = fileSave(why);
    // A save that did not happen leaves the scene named as it was.
    if (!st) setSceneFileName(before);
    return st;
}

MStatus fileExportAll(const std::string& path, std::string* why) {
    if (path.empty()) return refused(why, "exporting needs a file name");
    if (MStatus st = checked(MSceneMessage::kBeforeExportCheck, "export", why); !st) return st;
    activity().beforeExport = path;
    tell(MSceneMessage::kBeforeExport);
    MStatus st;
    {
        During d{&FileActivity::exporting, &FileActivity::writing};
        tell(MSceneMessage::kExportStarted);
        st = saveScene(path, why);
    }
    if (st) tell(MSceneMessage::kAfterExport);
    return st;
}

NodePtr fileImport(const std::string& path, std::string* why) {
    if (!checked(MSceneMessage::kBeforeImportCheck, "import", why)) return nullptr;
    activity().beforeImport = path;
    tell(MSceneMessage::kBeforeImport);
    NodePtr top;
    {
        During d{&FileActivity::importing, &FileActivity::reading};
        top = importMesh(path, why);
    }
    if (!top) return nullptr;
    tell(MSceneMessage::kAfterImport);
    tell(MSceneMessage::kSceneUpdate);
    return top;
}

MStatus fileExportMeshes(const std::vector<Node*>& nodes, const std::string& path,
                         std::string* why) {
    if (MStatus st = checked(MSceneMessage::kBeforeExportCheck, "export", why); !st) return st;
    activity().beforeExport = path;
    tell(MSceneMessage::kBeforeExport);
    MStatus st;
    {
        During d{&FileActivity::exporting, &FileActivity::writing};
        tell(MSceneMessage::kExportStarted);
        st = exportMeshObj(nodes, path, why);
    }
    if (st) tell(MSceneMessage::kAfterExport);
    return st;
}

}  // namespace ehost
