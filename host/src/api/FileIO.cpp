// MSceneMessage and MFileIO, on the file actions the file command uses too.

#include <maya/MFileIO.h>
#include <maya/MSceneMessage.h>
#include <maya/MStringArray.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "host/src/core/Events.h"
#include "host/src/dag/Selection.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/Scene.h"
#include "host/src/io/FileActions.h"
#include "host/src/io/SceneFile.h"

using ehost::api::fail;
using ehost::api::setStatus;

// ---------------------------------------------------------------- MSceneMessage

namespace {

bool validMessage(MSceneMessage::Message msg) {
    return msg >= MSceneMessage::kSceneUpdate && msg < MSceneMessage::kLast;
}

}  // namespace

MCallbackId MSceneMessage::addCallback(Message msg, MMessage::MBasicFunction func, void* clientData,
                                       MStatus* status) {
    if (!func || !validMessage(msg)) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               "addCallback needs a function and a scene message"));
        return 0;
    }
    if (ehost::isSceneCheckMessage(msg)) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               "a check message takes a check callback (addCheckCallback)"));
        return 0;
    }
    setStatus(status, MStatus::kSuccess);
    return ehost::theEvents().add(ehost::sceneMessageEvent(msg),
                                  [func, clientData] { func(clientData); });
}

MCallbackId MSceneMessage::addCheckCallback(Message msg, MMessage::MCheckFunction func,
                                            void* clientData, MStatus* status) {
    if (!func || !validMessage(msg)) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               "addCheckCallback needs a function and a scene message"));
        return 0;
    }
    if (!ehost::isSceneCheckMessage(msg)) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               "only the check messages (kBeforeNewCheck ...) take a check "
                               "callback"));
        return 0;
    }
    setStatus(status, MStatus::kSuccess);
    return ehost::theEvents().add(ehost::sceneMessageEvent(msg), [func, clientData] {
        bool go = true;
        func(&go, clientData);
        if (!go) ehost::theEvents().veto();
    });
}

// ---------------------------------------------------------------- MFileIO

namespace {

constexpr const char* kSceneType = "tessarkScene";

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

//! The status with the reason the engine gave, when it gave one.
MStatus failed(const MStatus& st, const std::string& why) {
    return MStatus(st.statusCode(), why.empty() ? st.errorString().str() : why);
}

MStatus sceneTypeOnly(const char* type) {
    if (!type || !*type || std::string(type) == kSceneType) return MStatus::kSuccess;
    return fail(MStatus::kInvalidParameter, std::string("scene files are of type \"") + kSceneType +
                                                "\", not \"" + type + "\"");
}

}  // namespace

MString MFileIO::currentFile() {
    return MString(ehost::sceneFileName());
}

MStatus MFileIO::setCurrentFile(const MString& fileName) {
    if (fileName.length() == 0) return fail(MStatus::kInvalidParameter, "the file name is empty");
    ehost::setSceneFileName(fileName.str());
    return MStatus::kSuccess;
}

MString MFileIO::fileType() {
    return kSceneType;
}

MStatus MFileIO::getFiles(MStringArray& files, bool, bool) {
    files.clear();
    if (!ehost::sceneFileName().empty()) files.append(MString(ehost::sceneFileName()));
    return MStatus::kSuccess;
}

MStatus MFileIO::newFile(bool) {
    std::string why;
    MStatus st = ehost::fileNew(&why);
    return st ? st : failed(st, why);
}

MStatus MFileIO::open(const MString& fileName, const char* type, bool, ReferenceMode, bool) {
    if (MStatus st = sceneTypeOnly(type); !st) return st;
    std::string why;
    MStatus st = ehost::fileOpen(fileName.str(), &why);
    return st ? st : failed(st, why);
}

MStatus MFileIO::save(bool) {
    std::string why;
    MStatus st = ehost::fileSave(&why);
    return st ? st : failed(st, why);
}

MStatus MFileIO::saveAs(const MString& fileName, const char* type, bool) {
    if (MStatus st = sceneTypeOnly(type); !st) return st;
    std::string why;
    MStatus st = ehost::fileSaveAs(fileName.str(), &why);
    return st ? st : failed(st, why);
}

MStatus MFileIO::importFile(const MString& fileName, const char* type, bool, const char*, bool) {
    if (type && *type) {
        std::string t = lower(type);
        std::string ext = lower(std::filesystem::path(fileName.str()).extension().string());
        if (t != "obj" && t != "off")
            return fail(MStatus::kInvalidParameter,
                        std::string("cannot import files of type \"") + type + "\" (OBJ, OFF)");
        if (ext != "." + t)
            return fail(MStatus::kInvalidParameter,
                        fileName.str() + " is not named as a file of type " + type);
    }
    std::string why;
    return ehost::fileImport(fileName.str(), &why) ? MStatus(MStatus::kSuccess)
                                                   : fail(MStatus::kFailure, why);
}

MStatus MFileIO::exportSelected(const MString& fileName, const char* type, bool) {
    if (!type || lower(type) != "objexport")
        return fail(MStatus::kInvalidParameter, "the selection is exported as \"OBJexport\" only");
    std::vector<ehost::Node*> nodes;
    for (const auto& item : ehost::theSelection().items)
        if (item.node->alive &&
            std::find(nodes.begin(), nodes.end(), item.node.get()) == nodes.end())
            nodes.push_back(item.node.get());
    if (nodes.empty()) return fail(MStatus::kInvalidParameter, "nothing is selected to export");
    std::string why;
    MStatus st = ehost::fileExportMeshes(nodes, fileName.str(), &why);
    return st ? st : failed(st, why);
}

MStatus MFileIO::exportAll(const MString& fileName, const char* type, bool) {
    std::string why;
    MStatus st;
    if (type && lower(type) == "objexport") {
        std::vector<ehost::Node*> meshes;
        for (const auto& n : ehost::theScene().nodes())
            if (n->cls->isA("mesh")) meshes.push_back(n.get());
        st = ehost::fileExportMeshes(meshes, fileName.str(), &why);
    } else {
        if (st = sceneTypeOnly(type); !st) return st;
        st = ehost::fileExportAll(fileName.str(), &why);
    }
    return st ? st : failed(st, why);
}

bool MFileIO::isNewingFile() {
    return ehost::fileActivity().newing;
}
bool MFileIO::isOpeningFile() {
    return ehost::fileActivity().opening;
}
bool MFileIO::isSavingReference() {
    return false;
}
bool MFileIO::isReadingFile() {
    return ehost::fileActivity().reading;
}
bool MFileIO::isWritingFile() {
    return ehost::fileActivity().writing;
}
bool MFileIO::isImportingFile() {
    return ehost::fileActivity().importing;
}
bool MFileIO::isReferencingFile() {
    return false;
}

MString MFileIO::beforeOpenFilename(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return MString(ehost::fileActivity().beforeOpen);
}
MString MFileIO::beforeSaveFilename(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return MString(ehost::fileActivity().beforeSave);
}
MString MFileIO::beforeImportFilename(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return MString(ehost::fileActivity().beforeImport);
}
MString MFileIO::beforeExportFilename(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return MString(ehost::fileActivity().beforeExport);
}
