// file: new scene, open, rename, save, import of source meshes, export of the
// selected meshes, and the scene name query.

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "host/src/builtins/Builtin.h"
#include "host/src/dag/DagOps.h"
#include "host/src/dag/Selection.h"
#include "host/src/dg/Scene.h"
#include "host/src/io/FileActions.h"
#include "host/src/io/MeshFiles.h"
#include "host/src/io/SceneFile.h"

namespace ehost {

namespace {

MSyntax fileSyntax() {
    MSyntax s;
    s.addFlag("-new", "-newFile");
    s.addFlag("-o", "-open");
    s.addFlag("-rn", "-rename", MSyntax::kString);
    s.addFlag("-s", "-save");
    s.addFlag("-i", "-import");
    s.addFlag("-es", "-exportSelected");
    s.addFlag("-typ", "-type", MSyntax::kString);
    s.addFlag("-op", "-options", MSyntax::kString);
    s.addFlag("-f", "-force");
    s.addFlag("-sn", "-sceneName");
    s.addFlag("-shn", "-shortName");
    s.addFlag("-l", "-list");
    s.enableQuery(true);
    s.setObjectType(MSyntax::kStringObjects, 0, 1);
    return s;
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

constexpr const char* kActions =
    "-new, -open, -rename, -save, -import, -exportSelected or -query -sceneName";

class FileCommand : public BuiltinCommand {
public:
    // Only an import is undone; a new or opened scene starts a fresh undo queue.
    bool isUndoable() const override { return imported_ != nullptr; }

    MStatus run(const MArgDatabase& db) override {
        const MStringArray objects = objectNames(db);
        if (objects.length()) path_ = objects[0].str();
        if (db.isQuery()) return query(db);

        std::vector<const char*> actions;
        for (const char* flag : {"-new", "-o", "-rn", "-s", "-i", "-es"})
            if (db.isFlagSet(flag)) actions.push_back(flag);
        if (actions.size() != 1) return error("use one of " + std::string(kActions));
        std::string action = actions.front();
        if (db.isFlagSet("-typ") && action != "-i" && action != "-es")
            return error("-type applies to -import and -exportSelected only");
        if (db.isFlagSet("-op") && action != "-i" && action != "-es")
            return error("-options applies to -import and -exportSelected only");
        if (action == "-new") return newScene();
        if (action == "-o") return open();
        if (action == "-rn") return rename(db);
        if (action == "-s") return save();
        if (action == "-i") return import(db);
        return exportSelected(db);
    }

    MStatus undoIt() override {
        removal_ = removeNodes({imported_.get()});
        return MStatus::kSuccess;
    }

    MStatus redoIt() override {
        restore(removal_);
        removal_ = Removal();
        return MStatus::kSuccess;
    }

private:
    MStatus query(const MArgDatabase& db) {
        if (db.isFlagSet("-l")) {
            // The files the scene is made of: its own once it has one.
            MStringArray files;
            if (!sceneFileName().empty()) files.append(MString(sceneFileName()));
            setResult(files);
            return MStatus::kSuccess;
        }
        if (!db.isFlagSet("-sn")) return error("-query needs -sceneName or -list");
        std::string name = sceneFileName();
        if (db.isFlagSet("-shn")) name = std::filesystem::path(name).filename().string();
        setResult(MString(name));
        return MStatus::kSuccess;
    }

    MStatus needsPath(const char* action) {
        if (path_.empty()) return error(std::string(action) + " needs a file name");
        return MStatus::kSuccess;
    }

    MStatus noPath(const char* action) {
        if (!path_.empty())
            return error(std::string(action) + " takes no file name (unexpected \"" + path_ +
                         "\")");
        return MStatus::kSuccess;
    }

    // The embedded host keeps no record of unsaved changes, so -new and -open
    // always replace the scene; -force is accepted as scripts for the real
    // host pass it.
    MStatus newScene() {
        MStatus st = noPath("-new");
        if (!st) return st;
        std::string why;
        st = fileNew(&why);
        if (!st) return error(why, st.statusCode());
        return MStatus::kSuccess;
    }

    MStatus open() {
        MStatus st = needsPath("-open");
        if (!st) return st;
        std::string why;
        st = fileOpen(path_, &why);
        if (!st) return error(why, st.statusCode());
        setResult(MString(path_));
        return MStatus::kSuccess;
    }

    MStatus rename(const MArgDatabase& db) {
        MStatus st = noPath("-rename");
        if (!st) return st;
        MString name;
        db.getFlagArgument("-rn", 0, name);
        if (name.length() == 0) return error("-rename needs a file name");
        setSceneFileName(name.str());
        setResult(name);
        return MStatus::kSuccess;
    }

    MStatus save() {
        MStatus st = noPath("-save");
        if (!st) return st;
        std::string why;
        st = fileSave(&why);
        if (!st) return error(why, st.statusCode());
        setResult(MString(sceneFileName()));
        return MStatus::kSuccess;
    }

    MStatus import(const MArgDatabase& db) {
        MStatus st = needsPath("-import");
        if (!st) return st;
        std::string ext = lower(std::filesystem::path(path_).extension().string());
        if (db.isFlagSet("-typ")) {
            MString type;
            db.getFlagArgument("-typ", 0, type);
            std::string t = lower(type.str());
            if (t != "obj" && t != "off")
                return error("cannot import files of type \"" + type.str() + "\" (OBJ, OFF)");
            if (ext != "." + t)
                return error(path_ + " is not named as a file of type " + type.str());
        }
        std::string why;
        NodePtr top = fileImport(path_, &why);
        if (!top) return error(why, MStatus::kFailure);
        imported_ = top;
        setResult(MString(top->name));
        return MStatus::kSuccess;
    }

    MStatus exportSelected(const MArgDatabase& db) {
        MStatus st = needsPath("-exportSelected");
        if (!st) return st;
        if (!db.isFlagSet("-typ")) return error("-exportSelected needs -type \"OBJexport\"");
        MString type;
        db.getFlagArgument("-typ", 0, type);
        if (lower(type.str()) != "objexport")
            return error("cannot export files of type \"" + type.str() + "\" (OBJexport)");
        // Selected components and plugs stand for their whole node, as in the
        // host's export; -options is accepted but the OBJ writer has one format.
        std::vector<Node*> nodes;
        for (const SelItem& item : theSelection().items)
            if (std::find(nodes.begin(), nodes.end(), item.node.get()) == nodes.end())
                nodes.push_back(item.node.get());
        if (nodes.empty()) return error("nothing is selected to export");
        std::string why;
        st = fileExportMeshes(nodes, path_, &why);
        if (!st) return error(why, st.statusCode());
        setResult(MString(path_));
        return MStatus::kSuccess;
    }

    std::string path_;
    NodePtr imported_;
    Removal removal_;
};

void add(Commands& c) {
    addBuiltin<FileCommand>(c, "file", fileSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
